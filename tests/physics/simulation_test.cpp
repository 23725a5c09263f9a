#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

using Simulation = PhysicsTest;

double distanceBetween(int32_t a, int32_t b) {
    const dReal* p = dBodyGetPosition(bodyTable[a].body);
    const dReal* q = dBodyGetPosition(bodyTable[b].body);
    return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
}

// Runs a collision pass alone and returns the contact joints it gave each
// body as (body, other body) pairs; the contacts are thrown away again.
std::vector<std::pair<dBodyID, dBodyID>> contactsNow(int32_t bodies) {
    dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    std::vector<std::pair<dBodyID, dBodyID>> contacts;
    for (int32_t i = 0; i < bodies; ++i) {
        for (int j = 0; j < dBodyGetNumJoints(bodyTable[i].body); ++j) {
            dJointID joint = dBodyGetJoint(bodyTable[i].body, j);
            if (dJointGetType(joint) == dJointTypeContact) {
                contacts.emplace_back(dJointGetBody(joint, 0), dJointGetBody(joint, 1));
            }
        }
    }
    dJointGroupEmpty(physicsWorld.contactGroup);
    return contacts;
}

// A cube 10 units wide dropped from 150: free fall until its lower side
// reaches the ground, a rebound at about 0.8 of the impact speed, lower and
// lower bounces, then rest on that side.
TEST_F(Simulation, droppedCubeFallsBouncesAndSettles) {
    simulate({cubeObject(50)});
    std::vector<double> heights{height(0)};
    std::vector<double> speeds{0};
    for (int step = 1; step <= 1000; ++step) {
        steps(1);
        heights.push_back(height(0));
        speeds.push_back(dBodyGetLinearVel(bodyTable[0].body)[2]);
    }
    // Each step adds 0.98 to the fall speed, then moves by a tenth of it.
    int firstContact = 1;
    for (; heights[firstContact - 1] > 5.0; ++firstContact) {
        ASSERT_NEAR(heights[firstContact], 150.0 - 0.049 * firstContact * (firstContact + 1), 1e-9);
    }
    EXPECT_EQ(firstContact, 55);  // 5.5 simulated seconds after the drop
    EXPECT_NEAR(speeds[firstContact] / -speeds[firstContact - 1], 0.8, 0.05);

    std::vector<double> apexes;
    for (int step = firstContact; step < 1000; ++step) {
        if (speeds[step] > 0 && speeds[step + 1] <= 0) {
            apexes.push_back(heights[step]);
        }
    }
    ASSERT_GE(apexes.size(), 3u);
    EXPECT_LT(apexes[0], 150.0);
    EXPECT_GT(apexes[0], 75.0);
    EXPECT_LT(apexes[1], apexes[0]);
    EXPECT_LT(apexes[2], apexes[1]);
    EXPECT_NEAR(heights[1000], 5.0, 0.05);
    EXPECT_NEAR(speeds[1000], 0.0, 1e-6);
    EXPECT_NEAR(dBodyGetPosition(bodyTable[0].body)[0], 0.0, 1e-6);
}

TEST_F(Simulation, hingedObjectsStayJoinedThroughFallAndRest) {
    simulate({cubeObject(50), cubeObject(30), cubeObject(80)});
    for (int step = 0; step < 1000; ++step) {
        steps(1);
        ASSERT_LT(distanceBetween(0, 1), 1e-3) << "step " << step;
        ASSERT_LT(distanceBetween(0, 2), 1e-3) << "step " << step;
    }
    EXPECT_NEAR(height(0), 8.0, 0.05);  // on the largest cube
}

TEST_F(Simulation, overlappingObjectsTouchOnlyTheGround) {
    simulate({cubeObject(50), cubeObject(50)});
    dContactGeom touching[4];
    ASSERT_GT(dCollide(bodyTable[0].geom, bodyTable[1].geom, 4, touching, sizeof(dContactGeom)), 0);
    EXPECT_TRUE(contactsNow(2).empty());

    for (int step = 0; step < 100 && contactsNow(2).empty(); ++step) {
        steps(1);
    }
    auto contacts = contactsNow(2);
    ASSERT_FALSE(contacts.empty());
    for (const auto& [body, other] : contacts) {
        EXPECT_EQ(other, nullptr);
    }
}

TEST_F(Simulation, contactsLastOneStep) {
    simulate({cubeObject(50), cubeObject(50), cubeObject(50)});
    int stepsOnTheGround = 0;
    for (int step = 0; step < 1000; ++step) {
        stepsOnTheGround += !contactsNow(1).empty();
        steps(1);
        ASSERT_EQ(dBodyGetNumJoints(bodyTable[0].body), 2) << "step " << step;  // the hinges
    }
    EXPECT_GT(stepsOnTheGround, 100);
}

}  // namespace
