// Model files the reader accepts with objects the ground cannot hold, and
// no model file at all: each loads, simulates 1000 steps and is released.
#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "physics_fixture.h"

namespace {

class ModelFileSimulation : public PhysicsTest {
protected:
    std::string loadAndRun(const std::string& path) {
        testing::internal::CaptureStdout();
        loadModel(path.c_str());
        std::string messages = testing::internal::GetCapturedStdout();
        initPhysics();
        steps(1000);
        for (int32_t i = 0; i < loadedObjectCount(); ++i) {
            EXPECT_TRUE(std::isfinite(height(i))) << "object " << i;
        }
        return messages;
    }

    ScratchFolder folder;
};

TEST_F(ModelFileSimulation, objectsTheGroundCannotHold) {
    std::string text = std::string(MODEL_HEADER) +
        "Object \"empty\" {\r\n}\r\n"
        "Object \"points\" {\r\nvertex 2 {\r\n0 0 0\r\n1 1 1\r\n}\r\n}\r\n"
        "Object \"stray\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
        "face 2 {\r\n3 V(0 1 3)\r\n3 V(-1 0 1)\r\n}\r\n}\r\n"
        "Object \"far\" {\r\nvertex 3 {\r\n1e30 0 0\r\n0 -1e38 0\r\n0 0 1e5\r\n}\r\n"
        "face 1 {\r\n3 V(0 1 2)\r\n}\r\n}\r\n"
        "Object \"sound\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
        "face 1 {\r\n3 V(0 1 2)\r\n}\r\n}\r\n";
    EXPECT_EQ(loadAndRun(folder.write("unholdable.mqo", text)), "");
    ASSERT_EQ(loadedObjectCount(), 5);
    EXPECT_LT(height(3), -1000.0);  // nothing holds it up
    EXPECT_NEAR(height(4), 0.0, 0.1);  // standing on its edge
}

TEST_F(ModelFileSimulation, moreObjectsThanTheTablesHold) {
    EXPECT_EQ(loadAndRun(folder.write("crowded.mqo", modelText(MAX_MATERIALS + 1, MAX_OBJECTS + 1))),
              "This program can't load over MAX_OBJECTS objects\n");
    EXPECT_NEAR(height(MAX_OBJECTS - 1), 0.0, 0.1);
}

TEST_F(ModelFileSimulation, rejectedOrMissingModelFile) {
    std::string cut = modelText(0, 4);
    EXPECT_EQ(loadAndRun(folder.write("cut.mqo", cut.substr(0, cut.rfind("face")))), "EOF\n");
    // The objects read before the cut stay in the document, not in the tables.
    ASSERT_EQ(loadedObjectCount(), 3);
    EXPECT_EQ(bodyTable[0].geom, nullptr);
    releasePhysicsAndModel();

    ASSERT_NE(freopen("/dev/null", "r", stdin), nullptr);
    EXPECT_EQ(loadAndRun(folder.write("x", "") + ".missing"), "Can't open mqo file. [enter]\n");
    EXPECT_EQ(dSpaceGetNumGeoms(physicsWorld.space), 1);  // the ground alone
    releasePhysicsAndModel();
    EXPECT_EQ(physicsWorld.world, nullptr);
    EXPECT_EQ(meshVertices, nullptr);
}

}  // namespace
