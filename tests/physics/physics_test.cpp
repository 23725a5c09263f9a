// The world the loaded objects fall in: each object's body and collision
// mesh, the drop, bounces and rest on the ground, hinges that hold, and
// whole model files that give the world little to hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "physics/bodies.h"
#include "physics/collision_mesh.h"
#include "physics/physics_world.h"
#include "tests/model/model_files.h"

namespace {

// A cube centred on its origin, `half` model units from centre to side, as
// twelve triangles.
ObjectRecord cubeObject(float half) {
    std::vector<VertexRecord> corners;
    for (int c = 0; c < 8; ++c) corners.push_back({c & 1 ? half : -half, c & 2 ? half : -half, c & 4 ? half : -half});
    std::vector<FaceRecord> faces;
    for (auto [a, b, c, d] :
         {std::array{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}})
        faces.insert(faces.end(), {makeFace({a, b, d}), makeFace({b, c, d})});
    return makeObject(corners, faces);
}

class Physics : public ::testing::Test {
protected:
    void TearDown() override { release(); }

    // The world, the collision arrays, the document and the tables, all gone.
    static void release() {
        destroyPhysics();
        releaseCollisionArrays();
        resetLoadedModel();
    }
    static void simulate(const std::vector<ObjectRecord>& objects) {
        release();
        installModel(objects);
        initPhysics();
        completePhysics();
    }
    static void steps(int count) {
        for (int step = 0; step < count; ++step) stepPhysics();
    }
    static double height(int32_t i) { return dBodyGetPosition(bodyTable[i].body)[2]; }
};

// Vertices are model coordinates times a tenth in single precision. A corner
// naming no vertex would make ODE read outside the vertex array; one beyond
// 10000 model units, or not a number, pushes the body until ODE aborts the
// process.
TEST_F(Physics, everyFaceGivesItsFirstThreeCornersUnlessOneIsOutsideOrOutOfReach) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    simulate({makeObject({{0, 0, 0},
                          {1, 0, 0},
                          {0, 1, 0},
                          {1, 1, 0},
                          {0, 0, 1},
                          {1, 0, 1},
                          {10000, -10000, 10000},
                          {10001, 0, 0},
                          {0, 0, nan},
                          {0, -inf, 0},
                          {10, 20, 13},
                          {-5, 0, 0.5f}},
                         {makeFace({0, 1, 2}), makeFace({3, 2, 1, 0}), makeFace({4, 5}), makeFace({}),
                          makeFace({6, 1, 2}), makeFace({2, 1, 0, 99}), makeFace({0, 1, 12}), makeFace({-1, 1, 2}),
                          makeFace({0, 7, 2}), makeFace({0, 8, 2}), makeFace({0, 9, 2})})});
    EXPECT_EQ(std::vector<int32_t>(meshIndices[0], meshIndices[0] + 3 * meshFaceCounts[0]),
              (std::vector<int32_t>{0, 1, 2, 3, 2, 1, 4, 5, 0, 0, 0, 0, 6, 1, 2, 2, 1, 0}));
    EXPECT_EQ(std::vector<float>(meshVertices[0] + 30, meshVertices[0] + 36),
              // 13 times 0.1 as floats, which is not 1.3 rounded to a float.
              (std::vector<float>{1.0f, 2.0f, 1.30000007f, -0.5f, 0.0f, 0.05f}));
}

// An object that cannot collide still falls as a body like any other.
TEST_F(Physics, everyObjectGetsABodyAtTheDropPointStoodUprightAndOnlyTrianglesGetGeometry) {
    simulate({ObjectRecord{}, makeObject({{1, 2, 3}}, {}), makeObject({{0, 0, 0}}, {makeFace({0, 1, 2})}),
              cubeObject(10), cubeObject(500)});
    for (int32_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const dReal* position = dBodyGetPosition(bodyTable[i].body);
        EXPECT_EQ(std::vector<dReal>(position, position + 3), (std::vector<dReal>{0, 0, 150}));
        // The model's up axis, y, points up the world's z.
        dVector3 up;
        dBodyVectorToWorld(bodyTable[i].body, 0, 1, 0, up);
        EXPECT_LT(std::hypot(up[0], up[1], up[2] - 1), 1e-12);
        EXPECT_EQ(std::tuple(meshData[i] != nullptr, bodyTable[i].geom != nullptr), std::tuple(i >= 3, i >= 3));
        EXPECT_EQ(bodyTable[i].geom ? dGeomGetBody(bodyTable[i].geom) : bodyTable[i].body, bodyTable[i].body);
    }
}

TEST_F(Physics, firstObjectIsHingedToTheNextTwoOnlyWhenThereAreThree) {
    for (int objects : {1, 2}) {
        simulate(std::vector<ObjectRecord>(objects, cubeObject(10)));
        EXPECT_EQ(std::tuple(physicsWorld.hinge1, dBodyGetNumJoints(bodyTable[0].body)), std::tuple(nullptr, 0));
    }
    simulate(std::vector<ObjectRecord>(4, cubeObject(10)));
    ASSERT_NE(physicsWorld.hinge1, nullptr);
    ASSERT_NE(physicsWorld.hinge2, nullptr);
    EXPECT_EQ(dJointGetType(physicsWorld.hinge1), dJointTypeHinge);
    EXPECT_EQ((std::vector{dJointGetBody(physicsWorld.hinge1, 0), dJointGetBody(physicsWorld.hinge1, 1),
                           dJointGetBody(physicsWorld.hinge2, 0), dJointGetBody(physicsWorld.hinge2, 1)}),
              (std::vector{bodyTable[0].body, bodyTable[1].body, bodyTable[0].body, bodyTable[2].body}));
    EXPECT_EQ(dBodyGetNumJoints(bodyTable[3].body), 0);
}

// A cube 10 units wide dropped from 150: free fall until its lower side
// reaches the ground, a rebound at about 0.8 of the impact speed, then
// bounces that die out and leave it resting on that side.
TEST_F(Physics, droppedCubeFallsBouncesAndSettles) {
    simulate({cubeObject(50)});
    std::vector<double> heights{height(0)}, speeds{0};
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
TEST_F(Physics, hingedBodiesStayJoinedAndKeepNoContactBetweenSteps) {
    simulate({cubeObject(50), cubeObject(30), cubeObject(80)});
    auto distanceFromFirst = [](int32_t i) {
        const dReal* p = dBodyGetPosition(bodyTable[0].body);
        const dReal* q = dBodyGetPosition(bodyTable[i].body);
        return std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
    };
    for (int step = 0; step < 1000; ++step) {
        steps(1);
        ASSERT_LT(std::max(distanceFromFirst(1), distanceFromFirst(2)), 1e-3) << "step " << step;
        ASSERT_EQ(dBodyGetNumJoints(bodyTable[2].body), 1) << "step " << step;  // its hinge
    }
    EXPECT_NEAR(height(0), 8.0, 0.05);  // on the largest cube
}

TEST_F(Physics, overlappingObjectsMakeNoContact) {
    simulate({cubeObject(50), cubeObject(50)});
    dContactGeom touching[4];
    ASSERT_GT(dCollide(bodyTable[0].geom, bodyTable[1].geom, 4, touching, sizeof touching[0]), 0);
    dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    EXPECT_EQ(dBodyGetNumJoints(bodyTable[0].body), 0);
}

// Model files the ground cannot hold, too big for the tables, refused by the
// reader, or missing: each loads, simulates 1000 steps and is released.
TEST_F(Physics, awkwardModelFilesSimulateAThousandSteps) {
    const std::string cut = modelText(0, 4);
    // A file name, its text (none written when empty) and what loading it prints.
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"faceless.mqo",
         HEADER + "Object \"empty\" {\r\n}\r\nObject \"points\" {\r\nvertex 2 {\r\n0 0 0\r\n1 1 1\r\n}\r\n}\r\n", ""},
        {"stray.mqo",
         HEADER + "Object \"stray\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
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
