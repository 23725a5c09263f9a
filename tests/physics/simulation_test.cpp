#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "physics/bodies.h"
#include "physics_fixture.h"

namespace {

using Simulation = PhysicsTest;

double height(int32_t i) {
    return dBodyGetPosition(bodyTable[i].body)[2];
}

double upwardSpeed(int32_t i) {
    return dBodyGetLinearVel(bodyTable[i].body)[2];
}

double distanceBetween(int32_t a, int32_t b) {
    const dReal* p = dBodyGetPosition(bodyTable[a].body);
    const dReal* q = dBodyGetPosition(bodyTable[b].body);
    return std::sqrt((p[0] - q[0]) * (p[0] - q[0]) + (p[1] - q[1]) * (p[1] - q[1]) +
                     (p[2] - q[2]) * (p[2] - q[2]));
}

// Bodies in contact with the ground now, as the collision pass finds them;
// the contacts are thrown away again.
int contactJointsOf(int32_t i) {
    dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    int contacts = 0;
    for (int j = 0; j < dBodyGetNumJoints(bodyTable[i].body); ++j) {
        contacts += dJointGetType(dBodyGetJoint(bodyTable[i].body, j)) == dJointTypeContact;
    }
    dJointGroupEmpty(physicsWorld.contactGroup);
    return contacts;
}

// A cube 10 units wide (100 in the model) dropped from 150: free fall until
// its lower face reaches the ground, a rebound at about 0.8 of the impact
// speed, lower and lower bounces, then rest on the face.
TEST_F(Simulation, droppedCubeFallsBouncesAndSettles) {
    simulate({cubeObject(50)});
    std::vector<double> heights{height(0)};
    std::vector<double> speeds{0};
    for (int step = 1; step <= 1000; ++step) {
        stepPhysics();
        heights.push_back(height(0));
        speeds.push_back(upwardSpeed(0));
    }

    // Each step adds 0.98 to the fall speed, then moves by a tenth of it.
    int firstContact = 0;
    for (int step = 1; heights[step - 1] > 5.0; ++step) {
        SCOPED_TRACE(step);
        ASSERT_NEAR(heights[step], 150.0 - 0.049 * step * (step + 1), 1e-9);
        firstContact = step + 1;
    }
    EXPECT_EQ(firstContact, 55);  // 5.5 simulated seconds after the drop
    double impact = -speeds[firstContact - 1];
    EXPECT_NEAR(speeds[firstContact] / impact, 0.8, 0.05);

    std::vector<double> apexes;
    for (int step = firstContact; step < 1000; ++step) {
        if (speeds[step] > 0 && speeds[step + 1] <= 0) {
            apexes.push_back(heights[step]);
        }
    }
    ASSERT_GE(apexes.size(), 3u);
    EXPECT_LT(apexes[0], 150.0);
    EXPECT_GT(apexes[0], 5.0 + 0.5 * 145.0);
    EXPECT_LT(apexes[1], apexes[0]);
    EXPECT_LT(apexes[2], apexes[1]);

    EXPECT_NEAR(heights[1000], 5.0, 0.05);
    EXPECT_NEAR(speeds[1000], 0.0, 1e-6);
    const dReal* rest = dBodyGetPosition(bodyTable[0].body);
    EXPECT_NEAR(rest[0], 0.0, 1e-6);
    EXPECT_NEAR(rest[1], 0.0, 1e-6);
}

TEST_F(Simulation, hingedObjectsStayJoinedThroughFallAndRest) {
    simulate({cubeObject(50), cubeObject(30), cubeObject(80)});
    double lowest = 150.0;
    for (int step = 0; step < 1000; ++step) {
        stepPhysics();
        lowest = std::min(lowest, height(0));
        ASSERT_LT(distanceBetween(0, 1), 1e-3) << "step " << step;
        ASSERT_LT(distanceBetween(0, 2), 1e-3) << "step " << step;
    }
    EXPECT_LT(lowest, 10.0);
    // At rest on the largest cube, 8 units from centre to face.
    EXPECT_NEAR(height(0), 8.0, 0.05);
    EXPECT_NEAR(upwardSpeed(0), 0.0, 1e-3);
}

TEST_F(Simulation, overlappingObjectsMakeContactsOnlyWithTheGround) {
    simulate({cubeObject(50), cubeObject(50)});
    dContactGeom touching[4];
    ASSERT_GT(dCollide(bodyTable[0].geom, bodyTable[1].geom, 4, touching, sizeof(dContactGeom)), 0);
    EXPECT_EQ(contactJointsOf(0), 0);

    for (int step = 0; step < 100 && contactJointsOf(0) == 0; ++step) {
        stepPhysics();
    }
    dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    ASSERT_GT(dBodyGetNumJoints(bodyTable[0].body), 0);
    for (int32_t i = 0; i < 2; ++i) {
        for (int j = 0; j < dBodyGetNumJoints(bodyTable[i].body); ++j) {
            dJointID joint = dBodyGetJoint(bodyTable[i].body, j);
            EXPECT_EQ(dJointGetBody(joint, 0), bodyTable[i].body);
            EXPECT_EQ(dJointGetBody(joint, 1), nullptr);
        }
    }
    dJointGroupEmpty(physicsWorld.contactGroup);
}

TEST_F(Simulation, contactsLastOneStep) {
    simulate({cubeObject(50), cubeObject(50), cubeObject(50)});
    int stepsOnTheGround = 0;
    for (int step = 0; step < 1000; ++step) {
        stepsOnTheGround += contactJointsOf(0) > 0;
        stepPhysics();
        ASSERT_EQ(dBodyGetNumJoints(bodyTable[0].body), 2) << "step " << step;
        ASSERT_EQ(dBodyGetNumJoints(bodyTable[1].body), 1) << "step " << step;
    }
    EXPECT_GT(stepsOnTheGround, 100);
}

// Objects the reader keeps but the ground cannot hold: none may stop the
// others from falling and settling.
TEST_F(Simulation, objectsWithoutUsableTrianglesSimulateBesideSoundOnes) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ObjectRecord outside = cubeObject(20);
    for (FaceRecord& face : outside.faces) {
        face.vertexIndex[1] += 8;
    }
    ObjectRecord faraway = cubeObject(3e37f);
    ObjectRecord notANumber = pointsObject({{nan, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}});
    notANumber.appendFace(faceOf({0, 1, 2}));
    ObjectRecord sparse = cubeObject(40);
    sparse.appendVertex({nan, nan, nan, 0});  // no face uses it
    simulate({cubeObject(50), ObjectRecord{}, outside, pointsObject({{0, 0, 0, 0}}),
              faraway, notANumber, sparse});
    for (int step = 0; step < 1000; ++step) {
        stepPhysics();
    }
    EXPECT_NEAR(height(0), 5.0, 0.5);
    EXPECT_NEAR(height(6), 4.0, 0.05);
    EXPECT_LT(height(3), -1000.0);  // nothing holds it up
}

}  // namespace
