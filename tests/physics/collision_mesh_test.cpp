#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "physics/bodies.h"
#include "physics/collision_mesh.h"
#include "physics_fixture.h"

namespace {

using CollisionMesh = PhysicsTest;

const int32_t* triangle(int32_t object, int32_t index) {
    return meshIndices[object] + 3 * index;
}

TEST_F(CollisionMesh, verticesAreModelCoordinatesTimesATenthInSinglePrecision) {
    simulate({pointsObject({{10, 20, 13, 0}, {-5, 0, 0.5f, 0}})});
    ASSERT_EQ(meshVertexCounts[0], 2);
    EXPECT_EQ(meshVertices[0][0], 1.0f);
    EXPECT_EQ(meshVertices[0][1], 2.0f);
    // The product of two floats, which differs from 1.3 rounded to a float.
    EXPECT_EQ(meshVertices[0][2], 1.30000007f);
    EXPECT_EQ(meshVertices[0][3], -0.5f);
    EXPECT_EQ(meshVertices[0][5], 0.05f);
}

TEST_F(CollisionMesh, everyFaceGivesTheTriangleOfItsFirstThreeCorners) {
    ObjectRecord object = pointsObject({{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0},
                                        {1, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 1, 0}});
    object.appendFace(faceOf({0, 1, 2}));
    object.appendFace(faceOf({3, 2, 1, 0}));
    object.appendFace(faceOf({4, 5}));
    simulate({object});
    ASSERT_EQ(meshFaceCounts[0], 3);
    EXPECT_EQ(std::vector<int32_t>(triangle(0, 0), triangle(0, 3)),
              (std::vector<int32_t>{0, 1, 2, 3, 2, 1, 4, 5, 0}));
    EXPECT_NE(meshData[0], nullptr);
}

TEST_F(CollisionMesh, faceWithCornerOutsideItsObjectIsLeftOut) {
    ObjectRecord object = pointsObject({{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}});
    object.appendFace(faceOf({0, 1, 3}));
    object.appendFace(faceOf({-1, 1, 2}));
    object.appendFace(faceOf({2, 1, 0}));
    object.appendFace(faceOf({0, 1, 2, 7}));  // the fourth corner is not collided
    simulate({object});
    ASSERT_EQ(meshFaceCounts[0], 2);
    EXPECT_EQ(std::vector<int32_t>(triangle(0, 0), triangle(0, 2)),
              (std::vector<int32_t>{2, 1, 0, 0, 1, 2}));
}

TEST_F(CollisionMesh, faceWithCornerFarAwayOrNotANumberIsLeftOut) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ObjectRecord object = pointsObject({{0, 0, 0, 0}, {10000, -10000, 10000, 0}, {0, 10, 0, 0},
                                        {10001, 0, 0, 0}, {0, 0, nan, 0}, {0, -inf, 0, 0}});
    for (int32_t odd : {3, 4, 5}) {
        object.appendFace(faceOf({0, odd, 2}));
    }
    object.appendFace(faceOf({0, 1, 2}));
    simulate({object});
    ASSERT_EQ(meshFaceCounts[0], 1);
    EXPECT_EQ(triangle(0, 0)[1], 1);
}

TEST_F(CollisionMesh, objectWithoutTrianglesGetsABodyButNoGeometry) {
    ObjectRecord outside = pointsObject({{0, 0, 0, 0}});
    outside.appendFace(faceOf({0, 1, 2}));
    simulate({ObjectRecord{}, pointsObject({{1, 2, 3, 0}}), outside, cubeObject(10)});
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(meshFaceCounts[i], 0);
        EXPECT_EQ(meshData[i], nullptr);
        EXPECT_EQ(bodyTable[i].geom, nullptr);
        ASSERT_NE(bodyTable[i].body, nullptr);
        dMass mass;
        dBodyGetMass(bodyTable[i].body, &mass);
        EXPECT_DOUBLE_EQ(mass.mass, 10.0);
    }
    EXPECT_EQ(meshVertexCounts[1], 1);
    EXPECT_EQ(meshFaceCounts[3], 12);
    EXPECT_EQ(dGeomGetBody(bodyTable[3].geom), bodyTable[3].body);
}

TEST_F(CollisionMesh, countsFollowTheObjectsInOrder) {
    simulate({cubeObject(1), pointsObject({{0, 0, 0, 0}, {1, 1, 1, 0}}), cubeObject(2)});
    EXPECT_EQ(meshVertexCounts[0], 8);
    EXPECT_EQ(meshVertexCounts[1], 2);
    EXPECT_EQ(meshVertexCounts[2], 8);
    EXPECT_EQ(meshFaceCounts[0], 12);
    EXPECT_EQ(meshFaceCounts[1], 0);
    EXPECT_EQ(meshVertices[2][0], -0.2f);
}

}  // namespace
