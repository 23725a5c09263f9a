#include "app/view_state.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>

namespace {
enum OffsetAxis { Lateral = 0, Vertical = 1, Depth = 2 };
}

ViewState viewState;

namespace {

// The size of the classic scene's models (half their box's diagonal),
// against which model mode scales the lights and arrows.
constexpr double CLASSIC_MODEL_RADIUS = 90.0;
constexpr double HALF_FIELD_OF_VIEW = 15.0 * 3.14159265358979323846 / 180.0;

void resetTurnAndMoves(ViewState& view);
double squaredDistance(const Vector3d& a, const Vector3d& b);
void addStep(float& value, double step);
void applyTurn(ViewState& view, const Quaternion& turn);
Vector3d cross(const Vector3d& a, const Vector3d& b);
double extentAlong(const Vector3d& axis, const Vector3d& low, const Vector3d& high);

}  // namespace

Wireframe nextWireframe(Wireframe wireframe) {
    switch (wireframe) {
    case Wireframe::Off: return Wireframe::OverModel;
    case Wireframe::OverModel: return Wireframe::Alone;
    case Wireframe::Alone: break;
    }
    return Wireframe::Off;
}

void resetViewRotation(ViewState& view) {
    view.viewRotation.set(1.0, 0.0, 0.0, 0.0);
    view.viewRotation.toMatrix({}, view.viewMatrix);
}

void frameView(ViewState& view, const Vector3d& low, const Vector3d& high, const ViewDirection& direction) {
    keepFramedBox(view, low, high, direction);
    frameViewFrom(view, direction);
    // The planes stay as set here for every direction the model is framed
    // from, so the projection never has to change with a view key: a
    // direction frames the model at most a few times nearer or farther.
    const double distance = std::sqrt(squaredDistance(view.framedEye, view.framedCenter));
    view.nearPlane = distance / 50;
    view.farPlane = distance * 20;
}

void keepFramedBox(ViewState& view, const Vector3d& low, const Vector3d& high, const ViewDirection& direction) {
    view.framedLow = low;
    view.framedHigh = high;
    view.savedDirection = direction;
}

void frameViewFrom(ViewState& view, const ViewDirection& direction) {
    const Vector3d& low = view.framedLow;
    const Vector3d& high = view.framedHigh;
    const Vector3d centre{(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
    const Vector3d back = viewBack(direction);
    const Vector3d upward = viewUp(direction);
    const Vector3d right = cross(upward, back);
    view.direction = direction;
    view.up = upward;
    const double height = extentAlong(upward, low, high);
    const double width = extentAlong(right, low, high);
    const double depth = extentAlong(back, low, high);
    // Half the window's height, unless that would take more than three
    // quarters of its width (or the shares a thumbnail asks for).
    const double across = std::max(height / view.framedHeightShare, width / (view.framedWidthShare * view.aspect));
    double distance = across / (2 * std::tan(HALF_FIELD_OF_VIEW)) + depth / 2;
    const double dx = high.x - low.x, dy = high.y - low.y, dz = high.z - low.z;
    const double radius = std::sqrt(dx * dx + dy * dy + dz * dz) / 2;
    if (!(distance > 0) || !std::isfinite(distance)) distance = 1.0;
    view.framedCenter = view.center = centre;
    view.framedEye =
        view.eye = {centre.x + back.x * distance, centre.y + back.y * distance, centre.z + back.z * distance};
    view.markerScale = radius > 0 && std::isfinite(radius) ? radius / CLASSIC_MODEL_RADIUS : distance / 500;
    view.offsetStep = view.markerScale;
    view.framed = true;
    resetTurnAndMoves(view);
}

void resetFramedView(ViewState& view) {
    frameViewFrom(view, view.savedDirection);
}

Vector3d viewBack(const ViewDirection& direction) {
    const double ch = std::cos(direction.heading), sh = std::sin(direction.heading);
    const double cp = std::cos(direction.pitch), sp = std::sin(direction.pitch);
    return {-sh * cp, sp, ch * cp};
}

Vector3d viewUp(const ViewDirection& direction) {
    const double ch = std::cos(direction.heading), sh = std::sin(direction.heading);
    const double cp = std::cos(direction.pitch), sp = std::sin(direction.pitch);
    return {sh * sp, cp, -ch * sp};
}

void followModel(ViewState& view, const Vector3d& shift) {
    view.center = {view.framedCenter.x + shift.x, view.framedCenter.y + shift.y, view.framedCenter.z + shift.z};
    view.eye = {view.framedEye.x + shift.x, view.framedEye.y + shift.y, view.framedEye.z + shift.z};
}

void resizeView(ViewState& view, int& width, int& height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    view.invWidth = 1.0 / width;
    view.invHeight = 1.0 / height;
    view.aspect = static_cast<double>(width) / height;
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
    case 's': addStep(view.viewOffset[Lateral], -view.offsetStep); break;
    case 'f': addStep(view.viewOffset[Lateral], view.offsetStep); break;
    case 'e': addStep(view.viewOffset[Vertical], view.offsetStep); break;
    case 'd': addStep(view.viewOffset[Vertical], -view.offsetStep); break;
    case 'x': addStep(view.viewOffset[Depth], -view.offsetStep); break;
    case 'c': addStep(view.viewOffset[Depth], view.offsetStep); break;
    case 'u': return KeyEffect::PushBody;
    case 'r':
    case '0':
        if (view.framed) return KeyEffect::ResetView;
        break;
    case '1':
        if (view.framed) return KeyEffect::ShowFront;
        break;
    case '3':
        if (view.framed) return KeyEffect::ShowRight;
        break;
    case '7':
        if (view.framed) return KeyEffect::ShowTop;
        break;
    case 'g': return KeyEffect::ToggleGround;
    case 'l': return KeyEffect::ToggleOrbitingLights;
    case 'p': return KeyEffect::TogglePause;
    case 'w': return KeyEffect::NextWireframe;
    case 't': return KeyEffect::ToggleTextures;
    case 'h': return KeyEffect::ToggleHelp;
    case 'i': return KeyEffect::ToggleInformation;
    case 'o': return KeyEffect::SaveScreenshot;
    default: break;
    }
    return KeyEffect::Redraw;
}

void applySpecialKey(ViewState& view, int key) {
    switch (key) {
    case GLUT_KEY_LEFT: addStep(view.viewOffset[Lateral], -view.offsetStep); break;
    case GLUT_KEY_UP: addStep(view.viewOffset[Vertical], view.offsetStep); break;
    case GLUT_KEY_RIGHT: addStep(view.viewOffset[Lateral], view.offsetStep); break;
    case GLUT_KEY_DOWN: addStep(view.viewOffset[Vertical], -view.offsetStep); break;
    default: break;
    }
}

namespace {

void resetTurnAndMoves(ViewState& view) {
    resetViewRotation(view);
    for (float& offset : view.viewOffset) offset = 0.0f;
    view.modelScale = 1.0f;
}

double squaredDistance(const Vector3d& a, const Vector3d& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

// Scale and offset steps are added in double and stored back as float, so
// a hundred steps of 0.01 do not land exactly on a round value.
void addStep(float& value, double step) {
    value = static_cast<float>(static_cast<double>(value) + step);
}

void applyTurn(ViewState& view, const Quaternion& turn) {
    view.viewRotation.preMultiply(turn);
    view.viewRotation.toMatrix({}, view.viewMatrix);
}

Vector3d cross(const Vector3d& a, const Vector3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// How far the box low .. high reaches along `axis`, a unit vector.
double extentAlong(const Vector3d& axis, const Vector3d& low, const Vector3d& high) {
    double least = INFINITY, most = -INFINITY;
    for (int corner = 0; corner < 8; ++corner) {
        const double along = axis.x * (corner & 1 ? high.x : low.x) + axis.y * (corner & 2 ? high.y : low.y) +
                             axis.z * (corner & 4 ? high.z : low.z);
        least = std::min(least, along);
        most = std::max(most, along);
    }
    return most - least;
}

}  // namespace
