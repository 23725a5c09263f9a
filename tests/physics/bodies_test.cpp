#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

using Bodies = PhysicsTest;

TEST_F(Bodies, everyBodyStartsAtTheDropPointStoodUprightAsATenUnitBox) {
    simulate({cubeObject(10), cubeObject(500), ObjectRecord{}});
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const dReal* position = dBodyGetPosition(bodyTable[i].body);
        EXPECT_EQ(position[0], 0.0);
        EXPECT_EQ(position[1], 0.0);
        EXPECT_EQ(position[2], 150.0);
        dVector3 up;
        dBodyVectorToWorld(bodyTable[i].body, 0, 1, 0, up);
        EXPECT_NEAR(up[0], 0.0, 1e-12);
        EXPECT_NEAR(up[1], 0.0, 1e-12);
        EXPECT_NEAR(up[2], 1.0, 1e-12);
        dMass mass;
        dBodyGetMass(bodyTable[i].body, &mass);
        EXPECT_DOUBLE_EQ(mass.mass, 10.0);
        // A uniform box of side 10: mass times (10² + 10²) / 12 about each axis.
        EXPECT_NEAR(mass.I[0], 10.0 * 200.0 / 12.0, 1e-9);
        EXPECT_NEAR(mass.I[10], 10.0 * 200.0 / 12.0, 1e-9);
    }
}

TEST_F(Bodies, firstObjectIsHingedToTheNextTwoOnlyWhenThereAreThree) {
    for (int objects : {1, 2}) {
        simulate(std::vector<ObjectRecord>(objects, cubeObject(10)));
        EXPECT_EQ(physicsWorld.hinge1, nullptr);
        EXPECT_EQ(dBodyGetNumJoints(bodyTable[0].body), 0);
        releasePhysicsAndModel();
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
