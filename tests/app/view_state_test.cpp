// The view as mouse drags, keys and the window's size change it, and the
// orbit of the two lights that circle the scene.
#include <gtest/gtest.h>

#include <GL/glut.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include "app/light_orbit.h"
#include "app/view_state.h"

namespace {

// A view as it stands after start-up and the first reshape of the window.
ViewState startedView() {
    ViewState view;
    resetViewRotation(view);
    int width = 800, height = 600;
    resizeView(view, width, height);
    return view;
}

Quaternion turn(double angle, double ax, double ay, double az) {
    Quaternion q;
    q.setAxisAngle(angle, ax, ay, az);
    return q;
}

TEST(ViewDrag, eachButtonTurnsAboutItsAxisTenRadiansPerWindowSide) {
    const double c = std::cos(0.25), s = std::sin(0.25);
    // The buttons held, where the pointer is dragged from (0, 0), the turn.
    const std::tuple<std::vector<int>, int, int, Quaternion> cases[] = {
        {{GLUT_LEFT_BUTTON}, 0, 60, turn(1.0, 1, 0, 0)},
        {{GLUT_LEFT_BUTTON}, 1, 0, turn(-0.0125, 1, 0, 0)},
        {{GLUT_MIDDLE_BUTTON}, 0, 600, turn(10.0, 0, 0, 1)},
        {{GLUT_RIGHT_BUTTON}, 0, 60, turn(-1.0, 0, 1, 0)},
        {{GLUT_RIGHT_BUTTON}, 80, 0, turn(1.0, 0, 1, 0)},
        // Every turn depends on v - u: down and right alike turns nothing.
        {{GLUT_LEFT_BUTTON}, 80, 60, Quaternion{}},
        // Both held: the y turn of the right button after the x turn of the left.
        {{GLUT_LEFT_BUTTON, GLUT_RIGHT_BUTTON}, 0, 30, {c * c, c * s, -c * s, s * s}},
    };
    for (const auto& [buttons, toX, toY, turned] : cases) {
        SCOPED_TRACE(testing::Message() << "to " << toX << ", " << toY);
        ViewState view = startedView();
        for (int button : buttons) pressOrReleaseButton(view, button, GLUT_DOWN, 0, 0);
        EXPECT_TRUE(turnByDrag(view, toX, toY));
        Matrix4d expected;
        turned.toMatrix({}, expected);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(view.viewMatrix.m[i], expected.m[i], 1e-12) << "element " << i;
    }
}

TEST(ViewPointer, noTravelTurnsNothingAndOnlyTheThreeButtonsMoveTheDragStart) {
    ViewState view = startedView();
    pressOrReleaseButton(view, GLUT_MIDDLE_BUTTON, GLUT_DOWN, 7, 9);
    EXPECT_FALSE(turnByDrag(view, 7, 9));
    pressOrReleaseButton(view, GLUT_MIDDLE_BUTTON, GLUT_UP, 70, 90);
    // Wheel steps arrive as buttons 3 and 4.
    pressOrReleaseButton(view, 3, GLUT_DOWN, 1, 2);
    pressOrReleaseButton(view, 4, GLUT_DOWN, 1, 2);
    EXPECT_EQ(std::tuple(view.lastX, view.lastY, view.leftDown, view.middleDown, view.rightDown),
              std::tuple(7, 9, 0, 0, 0));

    // Before the first reshape the reciprocals are 0: the pointer is still
    // followed, so a later drag starts from here.
    ViewState unsized;
    unsized.leftDown = 1;
    EXPECT_FALSE(turnByDrag(unsized, 300, 200));
    EXPECT_EQ(std::tuple(unsized.viewRotation.w, unsized.lastX, unsized.lastY), std::tuple(1.0, 300, 200));
}

TEST(ViewResize, zeroOrNegativeSideCountsAsOnePixel) {
    ViewState view;
    int width = 0, height = -5;
    resizeView(view, width, height);
    EXPECT_EQ(std::tuple(width, height, view.invWidth, view.invHeight), std::tuple(1, 1, 1.0, 1.0));
}

TEST(ViewKeys, scaleStepsRoundInSinglePrecision) {
    ViewState shrinking;
    for (int press = 0; press < 100; ++press) applyKey(shrinking, press % 2 ? 'z' : 'Z');
    EXPECT_NEAR(shrinking.modelScale, 6.6e-7, 1e-7);  // not 0: each step rounds
    applyKey(shrinking, 'z');
    EXPECT_LT(shrinking.modelScale, 0.0f);

    ViewState growing;
    for (int press = 0; press < 100; ++press) applyKey(growing, press % 2 ? 'a' : 'A');
    EXPECT_NEAR(growing.modelScale, 1.999999, 5e-7);  // not 2
}

TEST(ViewKeys, offsetKeysAndArrowsMoveOneUnitAlongTheirAxisAndOthersNothing) {
    // A key, the arrow key that does the same (0 for none), the offset.
    const std::tuple<unsigned char, int, std::array<float, 3>> cases[] = {
        {'s', GLUT_KEY_LEFT, {-1, 0, 0}},
        {'f', GLUT_KEY_RIGHT, {1, 0, 0}},
        {'e', GLUT_KEY_UP, {0, 1, 0}},
        {'d', GLUT_KEY_DOWN, {0, -1, 0}},
        {'x', 0, {0, 0, -1}},
        {'c', 0, {0, 0, 1}},
        // Only a, z and q act in both cases.
        {'S', GLUT_KEY_F1, {0, 0, 0}},
        {'U', 0, {0, 0, 0}},
        {'C', 0, {0, 0, 0}},
        {'1', 0, {0, 0, 0}},
    };
    for (const auto& [key, arrow, offset] : cases) {
        SCOPED_TRACE(key);
        ViewState byKey, byArrow;
        EXPECT_EQ(applyKey(byKey, key), KeyEffect::Redraw);
        applySpecialKey(byArrow, arrow);
        EXPECT_EQ(byKey.modelScale, 1.0f);
        EXPECT_EQ(std::to_array(byKey.viewOffset), offset);
        EXPECT_EQ(arrow != 0 ? std::to_array(byArrow.viewOffset) : offset, offset);
    }
}

TEST(LightOrbit, eachFrameTurnsBothLightsOneDegreeAnd360FramesCloseTheOrbit) {
    Quaternion orbit;
    resetLightOrbit(orbit);
    advanceLightOrbit(orbit);
    float lights[2][4];
    placeOrbitingLights(orbit, lights[0], lights[1]);
    const float expected[2][4] = {{24.9975f, 0.6329f, -0.2506f, 1}, {-24.9975f, 0.6329f, 0.2506f, 1}};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(lights[i / 4][i % 4], expected[i / 4][i % 4], 1e-4) << "light " << i / 4;

    for (int frame = 1; frame < 360; ++frame) advanceLightOrbit(orbit);
    EXPECT_NEAR(orbit.w, 0.0, 1e-9);
    EXPECT_LT(std::hypot(orbit.x - 25.0, orbit.y, orbit.z), 1e-6);
}

}  // namespace
