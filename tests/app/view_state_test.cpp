#include <gtest/gtest.h>

#include <GL/glut.h>

#include <cmath>

#include "app/view_state.h"

namespace {

// A view as it stands after start-up and the first reshape of the window.
ViewState startedView()
{
    ViewState view;
    resetViewRotation(view);
    int width = 800;
    int height = 600;
    resizeView(view, width, height);
    return view;
}

Matrix4d turnMatrix(double angle, double ax, double ay, double az)
{
    Quaternion q;
    q.setAxisAngle(angle, ax, ay, az);
    Matrix4d matrix;
    q.toMatrix({}, matrix);
    return matrix;
}

Matrix4d product(const Matrix4d& a, const Matrix4d& b)
{
    Matrix4d result;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[4 * k + row] * b.m[4 * column + k];
            result.m[4 * column + row] = sum;
        }
    return result;
}

void expectMatrixNear(const Matrix4d& actual, const Matrix4d& expected)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], 1e-12) << "element " << i;
}

TEST(ViewDrag, onePixelRightWithLeftButtonGivesTheExpectedQuaternion)
{
    ViewState view = startedView();
    pressOrReleaseButton(view, GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
    EXPECT_TRUE(turnByDrag(view, 101, 100));
    EXPECT_DOUBLE_EQ(view.viewRotation.w, std::cos(0.00625));
    EXPECT_DOUBLE_EQ(view.viewRotation.x, -std::sin(0.00625));
    EXPECT_EQ(view.viewRotation.y, 0.0);
    EXPECT_EQ(view.viewRotation.z, 0.0);
}

TEST(ViewDrag, eachButtonTurnsAboutItsAxisTenRadiansPerWindowSide)
{
    struct Case {
        int button;
        int toX, toY;
        Matrix4d expected;
    };
    const Case cases[] = {
        {GLUT_LEFT_BUTTON, 0, 60, turnMatrix(1.0, 1, 0, 0)},
        {GLUT_MIDDLE_BUTTON, 0, 600, turnMatrix(10.0, 0, 0, 1)},
        {GLUT_RIGHT_BUTTON, 0, 60, turnMatrix(-1.0, 0, 1, 0)},
        {GLUT_RIGHT_BUTTON, 80, 0, turnMatrix(1.0, 0, 1, 0)},
        // Every turn depends on v - u: down and right alike turns nothing.
        {GLUT_LEFT_BUTTON, 80, 60, Matrix4d{}},
    };
    for (const Case& c : cases) {
        ViewState view = startedView();
        pressOrReleaseButton(view, c.button, GLUT_DOWN, 0, 0);
        EXPECT_TRUE(turnByDrag(view, c.toX, c.toY));
        SCOPED_TRACE(::testing::Message() << "button " << c.button << " to " << c.toX << ", " << c.toY);
        expectMatrixNear(view.viewMatrix, c.expected);
    }
}

TEST(ViewDrag, leftAndRightTogetherTurnAboutXFirstThenY)
{
    ViewState view = startedView();
    pressOrReleaseButton(view, GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    pressOrReleaseButton(view, GLUT_RIGHT_BUTTON, GLUT_DOWN, 0, 0);
    turnByDrag(view, 0, 30);
    expectMatrixNear(view.viewMatrix, product(turnMatrix(-0.5, 0, 1, 0), turnMatrix(0.5, 1, 0, 0)));
}

TEST(ViewDrag, noTravelOrNoWindowSizeAsksForNothing)
{
    ViewState view = startedView();
    pressOrReleaseButton(view, GLUT_LEFT_BUTTON, GLUT_DOWN, 40, 50);
    EXPECT_FALSE(turnByDrag(view, 40, 50));

    // Before the first reshape the reciprocals are 0: the pointer is still
    // followed, so a later drag starts from here.
    ViewState unsized;
    unsized.leftDown = 1;
    EXPECT_FALSE(turnByDrag(unsized, 300, 200));
    EXPECT_EQ(unsized.viewRotation.w, 1.0);
    EXPECT_EQ(unsized.lastX, 300);
    EXPECT_EQ(unsized.lastY, 200);
}

TEST(ViewButtons, releaseKeepsTheLastPointAndOtherButtonsChangeNothing)
{
    ViewState view = startedView();
    pressOrReleaseButton(view, GLUT_MIDDLE_BUTTON, GLUT_DOWN, 7, 9);
    EXPECT_EQ(view.middleDown, 1);
    pressOrReleaseButton(view, GLUT_MIDDLE_BUTTON, GLUT_UP, 70, 90);
    EXPECT_EQ(view.middleDown, 0);
    EXPECT_EQ(view.lastX, 7);
    EXPECT_EQ(view.lastY, 9);

    // Wheel steps arrive as buttons 3 and 4.
    pressOrReleaseButton(view, 3, GLUT_DOWN, 1, 2);
    pressOrReleaseButton(view, 4, GLUT_DOWN, 1, 2);
    EXPECT_EQ(view.lastX, 7);
    EXPECT_EQ(view.leftDown + view.middleDown + view.rightDown, 0);
}

TEST(ViewResize, zeroSideCountsAsOnePixel)
{
    ViewState view;
    int width = 0;
    int height = -5;
    resizeView(view, width, height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(view.invWidth, 1.0);
    EXPECT_EQ(view.invHeight, 1.0);
}

TEST(ViewKeys, scaleStepsRoundInSinglePrecision)
{
    ViewState shrinking;
    for (int press = 0; press < 100; ++press)
        applyKey(shrinking, press % 2 ? 'z' : 'Z');
    EXPECT_GT(shrinking.modelScale, 0.0f);
    EXPECT_NEAR(shrinking.modelScale, 6.6e-7, 1e-7);
    applyKey(shrinking, 'z');
    EXPECT_LT(shrinking.modelScale, 0.0f);

    ViewState growing;
    for (int press = 0; press < 100; ++press)
        applyKey(growing, press % 2 ? 'a' : 'A');
    EXPECT_NEAR(growing.modelScale, 1.999999, 5e-7);
    EXPECT_NE(growing.modelScale, 2.0f);
}

TEST(ViewKeys, offsetKeysAndArrowsMoveOneUnitAlongTheirAxis)
{
    struct Case {
        unsigned char key;
        int special;
        float lateral, vertical, depth;
    };
    const Case cases[] = {
        {'s', GLUT_KEY_LEFT, -1, 0, 0}, {'f', GLUT_KEY_RIGHT, 1, 0, 0},
        {'e', GLUT_KEY_UP, 0, 1, 0},    {'d', GLUT_KEY_DOWN, 0, -1, 0},
        {'x', 0, 0, 0, -1},             {'c', 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const auto expectOffset = [&c](const ViewState& view) {
            EXPECT_EQ(view.viewOffset[0], c.lateral) << c.key;
            EXPECT_EQ(view.viewOffset[1], c.vertical) << c.key;
            EXPECT_EQ(view.viewOffset[2], c.depth) << c.key;
        };
        ViewState byKey;
        EXPECT_EQ(applyKey(byKey, c.key), KeyEffect::Redraw);
        expectOffset(byKey);
        if (c.special != 0) {
            ViewState byArrow;
            applySpecialKey(byArrow, c.special);
            expectOffset(byArrow);
        }
    }
}

TEST(ViewKeys, quitPushAndUnknownKeys)
{
    ViewState view;
    EXPECT_EQ(applyKey(view, 27), KeyEffect::Quit);
    EXPECT_EQ(applyKey(view, 'q'), KeyEffect::Quit);
    EXPECT_EQ(applyKey(view, 'Q'), KeyEffect::Quit);
    EXPECT_EQ(applyKey(view, 'u'), KeyEffect::PushFirstBody);

    // Only a, z and q act in both cases.
    for (unsigned char key : {'U', 'S', 'F', 'E', 'D', 'X', 'C', '1', ' '})
        EXPECT_EQ(applyKey(view, key), KeyEffect::Redraw) << key;
    applySpecialKey(view, GLUT_KEY_F1);
    EXPECT_EQ(view.modelScale, 1.0f);
    for (float offset : view.viewOffset)
        EXPECT_EQ(offset, 0.0f);
}

} // namespace
