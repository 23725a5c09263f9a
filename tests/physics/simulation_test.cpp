// Bodies falling, bouncing and resting on the ground: contacts with the
// ground only, each lasting one step, hinges that hold, and whole model
// files that give the world little to hold.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

using Simulation = PhysicsTest;

// A cube 10 units wide dropped from 150: free fall until its lower side
// reaches the ground, a rebound at about 0.8 of the impact speed, then
// bounces that die out and leave it resting on that side.
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
    for (; heights[firstContact - 1] > 5.0; ++firstContact)
        ASSERT_NEAR(heights[firstContact], 150.0 - 0.049 * firstContact * (firstContact + 1), 1e-9);
    EXPECT_EQ(firstContact, 55);  // 5.5 simulated seconds after the drop
    EXPECT_NEAR(speeds[firstContact] / -speeds[firstContact - 1], 0.8, 0.05);

    const double rebound = *std::max_element(heights.begin() + firstContact, heights.end());
    EXPECT_LT(rebound, 150.0);
    EXPECT_GT(rebound, 75.0);
    EXPECT_NEAR(heights[1000], 5.0, 0.05);
    EXPECT_NEAR(speeds[1000], 0.0, 1e-6);
}

// Resting on the ground takes new contacts every step; none may outlive it.
TEST_F(Simulation, hingedBodiesStayJoinedAndKeepNoContactBetweenSteps) {
    simulate({cubeObject(50), cubeObject(30), cubeObject(80)});
    auto distanceFromFirst = [](int32_t i) {
        const dReal* p = dBodyGetPosition(bodyTable[0].body);
        const dReal* q = dBodyGetPosition(bodyTable[i].body);
        return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
    };
    for (int step = 0; step < 1000; ++step) {
        steps(1);
        ASSERT_LT(distanceFromFirst(1), 1e-3) << "step " << step;
        ASSERT_LT(distanceFromFirst(2), 1e-3) << "step " << step;
        ASSERT_EQ(dBodyGetNumJoints(bodyTable[2].body), 1) << "step " << step;  // its hinge
    }
    EXPECT_NEAR(height(0), 8.0, 0.05);  // on the largest cube
}

TEST_F(Simulation, overlappingObjectsMakeNoContact) {
    simulate({cubeObject(50), cubeObject(50)});
    dContactGeom touching[4];
    ASSERT_GT(dCollide(bodyTable[0].geom, bodyTable[1].geom, 4, touching, sizeof touching[0]), 0);
    dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    EXPECT_EQ(dBodyGetNumJoints(bodyTable[0].body), 0);
}

// Model files the ground cannot hold, too big for the tables, refused by the
// reader, or missing: each loads, simulates 1000 steps and is released.
TEST_F(Simulation, awkwardModelFilesSimulateAThousandSteps) {
    const std::string header(MODEL_HEADER);
    const std::string cut = modelText(0, 4);
    const struct {
        const char* file;
        std::string text;  // the file is not written when empty
        const char* message;
    } cases[] = {
        {"faceless.mqo",
         header + "Object \"empty\" {\r\n}\r\nObject \"points\" {\r\nvertex 2 {\r\n0 0 0\r\n1 1 1\r\n}\r\n}\r\n", ""},
        {"stray.mqo",
         header + "Object \"stray\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
                  "face 2 {\r\n3 V(0 1 3)\r\n3 V(-1 0 1)\r\n}\r\n}\r\n"
                  "Object \"far\" {\r\nvertex 3 {\r\n1e30 0 0\r\n0 -1e38 0\r\n0 0 1e5\r\n}\r\n"
                  "face 1 {\r\n3 V(0 1 2)\r\n}\r\n}\r\n",
         ""},
        {"crowded.mqo", modelText(MAX_MATERIALS + 1, MAX_OBJECTS + 1),
         "This program can't load over MAX_OBJECTS objects\n"},
        // The objects read before the cut stay in the document, not in the tables.
        {"cut.mqo", cut.substr(0, cut.rfind("face")), "EOF\n"},
        {"missing.mqo", "", "Can't open mqo file. [enter]\n"},
    };
    ASSERT_NE(freopen("/dev/null", "r", stdin), nullptr);
    ScratchFolder folder;
    for (const auto& [file, text, message] : cases) {
        SCOPED_TRACE(file);
        release();
        const std::string path = text.empty() ? (folder.path() / file).string() : folder.write(file, text);
        testing::internal::CaptureStdout();
        loadModel(path.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), message);
        initPhysics();
        steps(1000);
        for (int32_t i = 0; i < loadedObjectCount(); ++i) EXPECT_TRUE(std::isfinite(height(i))) << "object " << i;
    }
}

}  // namespace
