// The pointer against the frame the viewer really draws: what the ray from
// a pixel finds must be what the rasteriser put there, the body of that
// pixel's colour at that pixel's depth, however the bodies are placed,
// turned and scaled; a held body's point follows the pointer in the plane
// facing the camera, and the camera holds still meanwhile.
#include <GL/glut.h>
#include <gtest/gtest.h>
#include <ode/ode.h>

#include <array>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "app/body_picking.h"
#include "app/frame.h"
#include "app/input.h"
#include "app/startup.h"
#include "app/view_state.h"
#include "model/model_layout.h"
#include "physics/bodies.h"
#include "physics/physics_world.h"
#include "tests/model/model_files.h"

namespace {

constexpr int SIDE = 256;

// A green crate and a red one side by side, each its own body, lit by
// emission alone.
std::string crates() {
    const auto box = [](float x) {
        std::string text = "vertex 8 {\r\n";
        for (int c = 0; c < 8; ++c)
            text += std::to_string(x + (c & 1 ? 10 : -10)) + " " + std::to_string(c & 2 ? 20 : 0) + " " +
                    std::to_string(c & 4 ? 10 : -10) + "\r\n";
        return text + "}\r\nface 6 {\r\n";
    };
    const auto sides = [](int material) {
        std::string text;
        for (const char* corners : {"0 1 3 2", "4 6 7 5", "0 4 5 1", "2 3 7 6", "0 2 6 4", "1 5 7 3"})
            text += std::string("4 V(") + corners + ") M(" + std::to_string(material) + ")\r\n";
        return text + "}\r\n}\r\n";
    };
    return "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nMaterial 2 {\r\n"
           "\"green\" col(0 1 0 1) dif(0) amb(0) emi(1)\r\n\"red\" col(1 0 0 1) dif(0) amb(0) emi(1)\r\n}\r\n"
           "Object \"green\" {\r\n" +
           box(-25) + sides(0) + "Object \"red\" {\r\n" + box(25) + sides(1) + "Eof\r\n";
}

struct Frame {
    std::vector<unsigned char> colour;
    std::vector<float> depth;
    double modelview[16], projection[16];
    int viewport[4];

    // The body of the pixel's colour, -1 for the black background, -2 for
    // anything else (the axis arrows, the lights); (x, y) from the top left,
    // as the window's events count.
    int bodyAt(int x, int y) const {
        const unsigned char* p = &colour[3 * ((SIDE - 1 - y) * SIDE + x)];
        if (p[1] > 200 && p[0] < 50 && p[2] < 50) return 0;
        if (p[0] > 200 && p[1] < 50 && p[2] < 50) return 1;
        return p[0] + p[1] + p[2] == 0 ? -1 : -2;
    }
    float depthAt(int x, int y) const { return depth[(SIDE - 1 - y) * SIDE + x]; }
    // Where a world point is drawn: window x and y from the top left, and depth.
    std::array<double, 3> window(const Vector3d& world) const {
        const Vector3d drawn = drawnPointOf(world);
        double w[3];
        gluProject(drawn.x, drawn.y, drawn.z, modelview, projection, viewport, &w[0], &w[1], &w[2]);
        return {w[0], SIDE - w[1], w[2]};
    }
};

class BodyPicking : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static ScratchFolder folder;
        static const std::string path = folder.write("crates.mqo", crates());
        CommandLine commandLine;
        commandLine.modelPath = path.c_str();
        commandLine.separateParts = true;
        testing::internal::CaptureStdout();
        startModelMode(commandLine);
        initScene();
        testing::internal::GetCapturedStdout();
        reshapeWindow(SIDE, SIDE);
    }
    static void TearDownTestSuite() { shutdown(); }

    static Frame draw() {
        drawFrame();
        glFinish();
        Frame frame;
        frame.colour.resize(3 * SIDE * SIDE);
        frame.depth.resize(SIDE * SIDE);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, SIDE, SIDE, GL_RGB, GL_UNSIGNED_BYTE, frame.colour.data());
        glReadPixels(0, 0, SIDE, SIDE, GL_DEPTH_COMPONENT, GL_FLOAT, frame.depth.data());
        // The scene's matrices, as the frame leaves them once its bodies are drawn.
        glGetDoublev(GL_MODELVIEW_MATRIX, frame.modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, frame.projection);
        glGetIntegerv(GL_VIEWPORT, frame.viewport);
        return frame;
    }
    // Every fourth pixel: the body the ray finds there is the one drawn
    // there, met where the depth buffer says, on the ray through the
    // pixel's centre. Counts how many pixels showed each body.
    static void expectRaysFindWhatIsDrawn(const Frame& frame, std::array<int, 2>& shown) {
        shown = {};
        for (int y = 0; y < SIDE; y += 4) {
            for (int x = 0; x < SIDE; x += 4) {
                const int drawn = frame.bodyAt(x, y);
                if (drawn == -2) continue;
                const std::optional<BodyHit> hit = bodyUnder(x, y);
                ASSERT_EQ(hit ? hit->body : -1, drawn) << x << ", " << y;
                if (!hit) continue;
                ++shown[drawn];
                const auto at = frame.window(hit->point);
                ASSERT_NEAR(at[0], x + 0.5, 1e-3) << x << ", " << y;
                ASSERT_NEAR(at[1], y + 0.5, 1e-3) << x << ", " << y;
                ASSERT_NEAR(at[2], frame.depthAt(x, y), 2e-5) << x << ", " << y;
            }
        }
    }
    static Vector3d position(int32_t body) {
        const dReal* p = dBodyGetPosition(bodyTable[body].body);
        return {p[0], p[1], p[2]};
    }
};

TEST_F(BodyPicking, raysFindTheBodyDrawnUnderThePointerWhereItIsDrawn) {
    for (int step = 0; step < 150; ++step) stepPhysics();
    std::array<int, 2> shown;
    expectRaysFindWhatIsDrawn(draw(), shown);
    EXPECT_GT(shown[0], 100);
    EXPECT_GT(shown[1], 100);

    // Turned about a slant axis, drawn 1.3 times its size, and moved half
    // way towards the camera in front of the red one.
    const Vector3d eye = worldPointOf(viewState.eye), red = position(1);
    dBodySetPosition(bodyTable[0].body, red.x + 0.4 * (eye.x - red.x), red.y + 0.4 * (eye.y - red.y),
                     red.z + 0.4 * (eye.z - red.z));
    dMatrix3 turn;
    dRFromAxisAndAngle(turn, 1, 2, 3, 0.7);
    dBodySetRotation(bodyTable[0].body, turn);
    viewState.modelScale = 1.3f;
    expectRaysFindWhatIsDrawn(draw(), shown);
    EXPECT_GT(shown[0], 100);
    EXPECT_GT(shown[1], 20);
    viewState.modelScale = 1.0f;
}

// Picked, carried 30 pixels right and 20 up, the point picked is drawn
// under the pointer at the depth it was picked at; let go, the body flies
// the way the pointer went. Meanwhile the camera stands still, and it
// follows the bodies again from there.
TEST_F(BodyPicking, aPickedPointFollowsThePointerInThePlaneFacingTheCamera) {
    Frame frame = draw();
    // The middle of the green crate's pixels.
    int x = 0, y = 0, count = 0;
    for (int k = 0; k < SIDE * SIDE; ++k) {
        if (frame.bodyAt(k % SIDE, k / SIDE) != 0) continue;
        x += k % SIDE, y += k / SIDE, ++count;
    }
    ASSERT_GT(count, 0);
    x /= count, y /= count;
    ASSERT_EQ(frame.bodyAt(x, y), 0);
    const std::optional<BodyHit> hit = bodyUnder(x, y);
    ASSERT_TRUE(hit);
    const double depth = frame.window(hit->point)[2];
    dVector3 own;
    dBodyGetPosRelPoint(bodyTable[0].body, hit->point.x, hit->point.y, hit->point.z, own);

    const Vector3d eye = viewState.eye;
    EXPECT_FALSE(pickingTakesLeftButton(true, false, x, y));
    EXPECT_FALSE(pickingTakesLeftButton(false, false, x, y));
    EXPECT_TRUE(pickingTakesLeftButton(true, true, x, y));
    EXPECT_EQ(bodyToPush(), 0);
    for (int step = 1; step <= 10; ++step) {
        EXPECT_TRUE(pickingTakesDrag(x + 3 * step, y - 2 * step));
        stepPhysics();
    }
    const int lastCarried = glutGet(GLUT_ELAPSED_TIME);
    for (int step = 0; step < 40; ++step) stepPhysics();
    frame = draw();
    EXPECT_EQ(std::tuple(viewState.eye.x, viewState.eye.z), std::tuple(eye.x, eye.z));
    dVector3 held;
    dBodyGetRelPointPos(bodyTable[0].body, own[0], own[1], own[2], held);
    const auto at = frame.window({held[0], held[1], held[2]});
    EXPECT_NEAR(at[0], x + 30.5, 0.5);
    EXPECT_NEAR(at[1], y - 19.5, 0.5);
    EXPECT_NEAR(at[2], depth, 1e-4);
    EXPECT_EQ(frame.bodyAt(x + 30, y - 20), 0);

    // The last drag and the release come at once after a slow frame: the
    // throw is as fast as the pointer went from the drag before, a tenth of
    // the carry, over all that time, not over the last moment alone.
    const Vector3d carried{held[0] - hit->point.x, held[1] - hit->point.y, held[2] - hit->point.z};
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double slowFrame = (glutGet(GLUT_ELAPSED_TIME) - lastCarried) * STEP_SIZE / TICK_MS;
    EXPECT_TRUE(pickingTakesDrag(x + 33, y - 22));
    EXPECT_TRUE(pickingTakesLeftButton(false, false, x + 33, y - 22));
    const dReal* velocity = dBodyGetLinearVel(bodyTable[0].body);
    const double speed = std::hypot(velocity[0], velocity[1], velocity[2]);
    const double carry = std::hypot(carried.x, carried.y, carried.z);
    EXPECT_GT(speed, 0);
    EXPECT_LT(speed, 1.05 * carry / 10 / slowFrame);
    EXPECT_GT((velocity[0] * carried.x + velocity[1] * carried.y + velocity[2] * carried.z) / speed / carry, 0.99);
    EXPECT_FALSE(pickingTakesDrag(x, y));
    // The camera follows again from where it stood.
    draw();
    EXPECT_EQ(std::tuple(viewState.eye.x, viewState.eye.z), std::tuple(eye.x, eye.z));
    for (int step = 0; step < 5; ++step) stepPhysics();
    draw();
    EXPECT_NE(viewState.eye.x, eye.x);
}

}  // namespace
