#include <gtest/gtest.h>

#include "physics/bodies.h"
#include "physics/collision_mesh.h"
#include "physics_fixture.h"

namespace {

using Bodies = PhysicsTest;

TEST_F(Bodies, everyBodyStartsAtTheDropPointStoodUpright) {
    simulate({cubeObject(10), cubeObject(20), ObjectRecord{}});
    for (int32_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const BodyEntry& entry = bodyTable[i];
        const dReal* position = dBodyGetPosition(entry.body);
        EXPECT_EQ(position[0], 0.0);
        EXPECT_EQ(position[1], 0.0);
        EXPECT_EQ(position[2], 150.0);
        dVector3 up;
        dBodyVectorToWorld(entry.body, 0, 1, 0, up);
        EXPECT_NEAR(up[0], 0.0, 1e-12);
        EXPECT_NEAR(up[1], 0.0, 1e-12);
        EXPECT_NEAR(up[2], 1.0, 1e-12);
        const dReal* velocity = dBodyGetLinearVel(entry.body);
        EXPECT_EQ(velocity[2], 0.0);
    }
}

TEST_F(Bodies, everyBodyWeighsLikeTheSameTenUnitBox) {
    simulate({cubeObject(1), cubeObject(500)});
    for (int32_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(bodyTable[i].mass, 10.0);
        EXPECT_EQ(bodyTable[i].sizeX, 10.0);
        EXPECT_EQ(bodyTable[i].sizeY, 10.0);
        EXPECT_EQ(bodyTable[i].sizeZ, 10.0);
        dMass mass;
        dBodyGetMass(bodyTable[i].body, &mass);
        EXPECT_DOUBLE_EQ(mass.mass, 10.0);
        // A uniform box: mass times (side² + side²) / 12 about each axis.
        EXPECT_NEAR(mass.I[0], 10.0 * 200.0 / 12.0, 1e-9);
        EXPECT_NEAR(mass.I[5], 10.0 * 200.0 / 12.0, 1e-9);
        EXPECT_EQ(mass.c[0], 0.0);
    }
}

TEST_F(Bodies, firstObjectIsHingedToTheNextTwoOnlyWhenThereAreThree) {
    for (int objects : {1, 2}) {
        SCOPED_TRACE(objects);
        simulate(std::vector<ObjectRecord>(objects, cubeObject(10)));
        EXPECT_EQ(physicsWorld.hinge1, nullptr);
        EXPECT_EQ(physicsWorld.hinge2, nullptr);
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

TEST_F(Bodies, onlyTheFirstTablesFullOfObjectsGetBodies) {
    simulate(std::vector<ObjectRecord>(MAX_OBJECTS + 1, cubeObject(10)));
    ASSERT_NE(bodyTable[MAX_OBJECTS - 1].body, nullptr);
    EXPECT_EQ(meshFaceCounts[MAX_OBJECTS - 1], 12);
    // The ground and one mesh per body.
    EXPECT_EQ(dSpaceGetNumGeoms(physicsWorld.space), MAX_OBJECTS + 1);
}

TEST_F(Bodies, releaseLeavesAnEmptyModelAndCanBuildAgain) {
    simulate({cubeObject(10), cubeObject(10), cubeObject(10)});
    releasePhysicsAndModel();
    EXPECT_EQ(physicsWorld.world, nullptr);
    EXPECT_EQ(bodyTable[0].body, nullptr);
    EXPECT_EQ(meshVertices, nullptr);
    EXPECT_EQ(meshIndices, nullptr);
    EXPECT_EQ(currentDocument, nullptr);
    EXPECT_EQ(loadedObjectCount(), 0);

    // With no model at all there is still a world with its ground.
    initPhysics();
    EXPECT_NE(physicsWorld.groundPlane, nullptr);
    EXPECT_EQ(dSpaceGetNumGeoms(physicsWorld.space), 1);
    stepPhysics();
}

}  // namespace
