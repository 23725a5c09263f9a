// Each object's body: its collision mesh in world units with one triangle a
// face (none that ODE cannot be given), where it starts, and its hinges.
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

using CollisionMesh = PhysicsTest;
using Bodies = PhysicsTest;

TEST_F(CollisionMesh, verticesAreModelCoordinatesTimesATenthInSinglePrecision) {
    simulate({objectOf({{10, 20, 13, 0}, {-5, 0, 0.5f, 0}}, {})});
    EXPECT_EQ(std::vector<float>(meshVertices[0], meshVertices[0] + 6),
              // 13 times 0.1 as floats, which is not 1.3 rounded to a float.
              (std::vector<float>{1.0f, 2.0f, 1.30000007f, -0.5f, 0.0f, 0.05f}));
}

// A corner naming no vertex would make ODE read outside the vertex array; one
// beyond 10000 model units, or not a number, pushes the body until ODE aborts
// the process.
TEST_F(CollisionMesh, everyFaceGivesItsFirstThreeCornersUnlessOneIsOutsideOrOutOfReach) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    simulate({objectOf({{0, 0, 0, 0},
                        {1, 0, 0, 0},
                        {0, 1, 0, 0},
                        {1, 1, 0, 0},
                        {0, 0, 1, 0},
                        {1, 0, 1, 0},
                        {10000, -10000, 10000, 0},
                        {10001, 0, 0, 0},
                        {0, 0, nan, 0},
                        {0, -inf, 0, 0}},
                       {{0, 1, 2},
                        {3, 2, 1, 0},
                        {4, 5},
                        {},
                        {6, 1, 2},
                        {2, 1, 0, 99},
                        {0, 1, 10},
                        {-1, 1, 2},
                        {0, 7, 2},
                        {0, 8, 2},
                        {0, 9, 2}})});
    EXPECT_EQ(std::vector<int32_t>(meshIndices[0], meshIndices[0] + 3 * meshFaceCounts[0]),
              (std::vector<int32_t>{0, 1, 2, 3, 2, 1, 4, 5, 0, 0, 0, 0, 6, 1, 2, 2, 1, 0}));
}

// An object that cannot collide still falls as a body like any other.
TEST_F(Bodies, everyObjectGetsABodyAtTheDropPointStoodUprightAndOnlyTrianglesGetGeometry) {
    simulate({ObjectRecord{}, objectOf({{1, 2, 3, 0}}, {}), objectOf({{0, 0, 0, 0}}, {{0, 1, 2}}), cubeObject(10),
              cubeObject(500)});
    for (int32_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const dReal* position = dBodyGetPosition(bodyTable[i].body);
        EXPECT_EQ(position[0], 0.0);
        EXPECT_EQ(position[1], 0.0);
        EXPECT_EQ(position[2], 150.0);
        // The model's up axis, y, points up the world's z.
        dVector3 up;
        dBodyVectorToWorld(bodyTable[i].body, 0, 1, 0, up);
        EXPECT_NEAR(up[0], 0.0, 1e-12);
        EXPECT_NEAR(up[1], 0.0, 1e-12);
        EXPECT_NEAR(up[2], 1.0, 1e-12);
        EXPECT_EQ(meshData[i] != nullptr, i >= 3);
        if (i >= 3)
            EXPECT_EQ(dGeomGetBody(bodyTable[i].geom), bodyTable[i].body);
        else
            EXPECT_EQ(bodyTable[i].geom, nullptr);
    }
}

TEST_F(Bodies, firstObjectIsHingedToTheNextTwoOnlyWhenThereAreThree) {
    for (int objects : {1, 2}) {
        simulate(std::vector<ObjectRecord>(objects, cubeObject(10)));
        EXPECT_EQ(physicsWorld.hinge1, nullptr);
        EXPECT_EQ(dBodyGetNumJoints(bodyTable[0].body), 0);
    }
    simulate(std::vector<ObjectRecord>(4, cubeObject(10)));
    ASSERT_NE(physicsWorld.hinge1, nullptr);
    ASSERT_NE(physicsWorld.hinge2, nullptr);
    EXPECT_EQ(dJointGetType(physicsWorld.hinge1), dJointTypeHinge);
    EXPECT_EQ(dJointGetBody(physicsWorld.hinge1, 0), bodyTable[0].body);
    EXPECT_EQ(dJointGetBody(physicsWorld.hinge1, 1), bodyTable[1].body);
    EXPECT_EQ(dJointGetBody(physicsWorld.hinge2, 0), bodyTable[0].body);
    EXPECT_EQ(dJointGetBody(physicsWorld.hinge2, 1), bodyTable[2].body);
    EXPECT_EQ(dBodyGetNumJoints(bodyTable[3].body), 0);
}

}  // namespace
