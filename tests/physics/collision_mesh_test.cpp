#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

using CollisionMesh = PhysicsTest;

std::vector<int32_t> triangles(int32_t object) {
    return {meshIndices[object], meshIndices[object] + 3 * meshFaceCounts[object]};
}

TEST_F(CollisionMesh, verticesAreModelCoordinatesTimesATenthInSinglePrecision) {
    simulate({cubeObject(1), objectOf({{10, 20, 13, 0}, {-5, 0, 0.5f, 0}}, {})});
    ASSERT_EQ(meshVertexCounts[1], 2);
    EXPECT_EQ(meshVertexCounts[0], 8);
    EXPECT_EQ(std::vector<float>(meshVertices[1], meshVertices[1] + 6),
              // 13 times 0.1 as floats, which is not 1.3 rounded to a float.
              (std::vector<float>{1.0f, 2.0f, 1.30000007f, -0.5f, 0.0f, 0.05f}));
}

TEST_F(CollisionMesh, everyFaceGivesTheTriangleOfItsFirstThreeCorners) {
    simulate({objectOf({{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 1, 0}},
                       {{0, 1, 2}, {3, 2, 1, 0}, {4, 5}, {}})});
    EXPECT_EQ(triangles(0), (std::vector<int32_t>{0, 1, 2, 3, 2, 1, 4, 5, 0, 0, 0, 0}));
    EXPECT_NE(meshData[0], nullptr);
}

// Such a corner would make ODE read outside the vertex array, or push a
// body so far that ODE aborts the process.
TEST_F(CollisionMesh, faceWithCornerOutsideItsObjectFarAwayOrNotANumberIsLeftOut) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    simulate({objectOf({{0, 0, 0, 0}, {10000, -10000, 10000, 0}, {0, 10, 0, 0},
                        {10001, 0, 0, 0}, {0, 0, nan, 0}, {0, -inf, 0, 0}},
                       {{0, 1, 6}, {-1, 1, 2}, {0, 3, 2}, {0, 4, 2}, {0, 5, 2}, {2, 1, 0, 9}})});
    EXPECT_EQ(triangles(0), (std::vector<int32_t>{2, 1, 0}));
}

TEST_F(CollisionMesh, objectWithoutTrianglesGetsABodyButNoGeometry) {
    simulate({ObjectRecord{}, objectOf({{1, 2, 3, 0}}, {}), objectOf({{0, 0, 0, 0}}, {{0, 1, 2}}),
              cubeObject(10)});
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(meshFaceCounts[i], 0);
        EXPECT_EQ(meshData[i], nullptr);
        EXPECT_EQ(bodyTable[i].geom, nullptr);
        EXPECT_NE(bodyTable[i].body, nullptr);
    }
    EXPECT_EQ(dGeomGetBody(bodyTable[3].geom), bodyTable[3].body);
}

}  // namespace
