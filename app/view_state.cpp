#include "app/view_state.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>

namespace {
enum OffsetAxis { Lateral = 0, Vertical = 1, Depth = 2 };
}

ViewState viewState;

namespace {

void addStep(float& value, double step);
void applyTurn(ViewState& view, const Quaternion& turn);

}  // namespace

void resetViewRotation(ViewState& view) {
    view.viewRotation.set(1.0, 0.0, 0.0, 0.0);
    view.viewRotation.toMatrix({}, view.viewMatrix);
}

void resizeView(ViewState& view, int& width, int& height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    view.invWidth = 1.0 / width;
    view.invHeight = 1.0 / height;
}

void pressOrReleaseButton(ViewState& view, int button, int state, int x, int y) {
    int* flag = nullptr;
    switch (button) {
    case GLUT_LEFT_BUTTON: flag = &view.leftDown; break;
    case GLUT_MIDDLE_BUTTON: flag = &view.middleDown; break;
    case GLUT_RIGHT_BUTTON: flag = &view.rightDown; break;
    default: return;
    }
    if (state == GLUT_DOWN) {
        view.lastX = x;
        view.lastY = y;
        *flag = 1;
    } else {
        *flag = 0;
    }
}

bool turnByDrag(ViewState& view, int x, int y) {
    // In double, so no pointer position can overflow the difference.
    const double dx = static_cast<double>(x) - view.lastX;
    const double dy = static_cast<double>(y) - view.lastY;
    view.lastX = x;
    view.lastY = y;

    // Window coordinates grow rightwards and downwards; every turn depends on
    // v - u alone, so a drag along the diagonal u == v turns nothing.
    const double u = dx * view.invWidth;
    const double v = dy * view.invHeight;
    const double distance = std::sqrt(u * u + v * v);
    if (!(distance > 0.0)) return false;
    const double c = std::cos(5.0 * distance);
    const double s = std::sin(5.0 * distance) / distance;

    // Each held button adds its turn on top of the one before, in this order.
    if (view.leftDown) applyTurn(view, {c, s * (v - u), 0.0, 0.0});
    if (view.middleDown) applyTurn(view, {c, 0.0, 0.0, s * (v - u)});
    if (view.rightDown) applyTurn(view, {c, 0.0, s * (u - v), 0.0});
    return true;
}

KeyEffect applyKey(ViewState& view, unsigned char key) {
    switch (key) {
    case 27:
    case 'q':
    case 'Q': return KeyEffect::Quit;
    case 'a':
    case 'A': addStep(view.modelScale, 0.01); break;
    case 'z':
    case 'Z': addStep(view.modelScale, -0.01); break;
    case 's': addStep(view.viewOffset[Lateral], -1.0); break;
    case 'f': addStep(view.viewOffset[Lateral], 1.0); break;
    case 'e': addStep(view.viewOffset[Vertical], 1.0); break;
    case 'd': addStep(view.viewOffset[Vertical], -1.0); break;
    case 'x': addStep(view.viewOffset[Depth], -1.0); break;
    case 'c': addStep(view.viewOffset[Depth], 1.0); break;
    case 'u': return KeyEffect::PushFirstBody;
    default: break;
    }
    return KeyEffect::Redraw;
}

void applySpecialKey(ViewState& view, int key) {
    switch (key) {
    case GLUT_KEY_LEFT: addStep(view.viewOffset[Lateral], -1.0); break;
    case GLUT_KEY_UP: addStep(view.viewOffset[Vertical], 1.0); break;
    case GLUT_KEY_RIGHT: addStep(view.viewOffset[Lateral], 1.0); break;
    case GLUT_KEY_DOWN: addStep(view.viewOffset[Vertical], -1.0); break;
    default: break;
    }
}

namespace {

// Scale and offset steps are added in double and stored back as float, so
// a hundred steps of 0.01 do not land exactly on a round value.
void addStep(float& value, double step) {
    value = static_cast<float>(static_cast<double>(value) + step);
}

void applyTurn(ViewState& view, const Quaternion& turn) {
    view.viewRotation.preMultiply(turn);
    view.viewRotation.toMatrix({}, view.viewMatrix);
}

}  // namespace
