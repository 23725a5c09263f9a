// The camera and pointer state that input changes and every frame reads, and
// the arithmetic of each input event on it. Nothing here touches GL or the
// window, so every step can be checked on its own.
#pragma once

#include "math/quaternion.h"

// Where the camera looks from, as the modeller saves it: the heading turns
// about the vertical axis, the pitch tilts the camera above the model, both
// in radians. (0, 0) looks at the model's front from straight ahead.
struct ViewDirection {
    double heading = 0.0;
    double pitch = 0.0;
};

// The modeller's own starting view: from the front, a little above and to
// the right.
constexpr ViewDirection DEFAULT_VIEW_DIRECTION{-0.5236, 0.5236};

// Model mode's wireframe, in the order "w" steps through.
enum class Wireframe { Off, OverModel, Alone };

struct ViewState {
    // The camera never moves: the mouse turns the scene under it instead.
    Vector3d eye{50.0, 400.0, 300.0};
    Vector3d center{0.0, 0.0, 0.0};
    Vector3d up{0.0, 1.0, 0.0};
    Quaternion viewRotation;
    Matrix4d viewMatrix;
    // Lateral, vertical and depth offset of the whole view, in the camera's
    // frame: x to the right of the screen, y up, z towards the viewer.
    float viewOffset[3] = {0.0f, 0.0f, 0.0f};
    float modelScale = 1.0f;
    // Reciprocals of the window size; 0 until the first reshape.
    double invWidth = 0.0;
    double invHeight = 0.0;
    // Shared by all three buttons: a second press restarts the drag there.
    int lastX = 0;
    int lastY = 0;
    int leftDown = 0;
    int middleDown = 0;
    int rightDown = 0;
    // The depth the camera sees, and how far an offset key moves the view.
    double nearPlane = 10.0;
    double farPlane = 1000.0;
    double offsetStep = 1.0;
    // Model mode: the size of the lights' orbit and the axis arrows against
    // the classic scene's, and whether "r" brings back the framed view.
    double markerScale = 1.0;
    bool framed = false;
    // Model mode: where the camera stands and looks for the model at rest
    // where it was modelled; eye and center follow the model from there.
    Vector3d framedEye;
    Vector3d framedCenter;
    // Model mode: the box framed, the direction it is seen from, and the
    // direction the model's file saved, which "r" and "0" go back to.
    Vector3d framedLow;
    Vector3d framedHigh;
    ViewDirection direction;
    ViewDirection savedDirection;
    // Model mode: the ground grid with the model's shadow, and the two
    // orbiting lights with their markers.
    bool groundShown = true;
    bool orbitingLightsShown = false;
    // Model mode: what else the window shows.
    Wireframe wireframe = Wireframe::Off;
    bool texturesShown = true;
    bool helpShown = false;
    bool informationShown = false;
    // Model mode: a picture of the model alone over a clear background: no
    // gradient, ground, shadows or corner axes.
    bool clearBackground = false;
    // Width over height of what the model is framed in; the window's, once
    // it has a size.
    double aspect = 800.0 / 600.0;
    // Model mode: the most of the window's height and of its width the
    // framed model takes, leaving room for the drop and the scenery around.
    double framedHeightShare = 0.5;
    double framedWidthShare = 0.75;
};

// What a key asks of the rest of the viewer once the view state has taken it.
enum class KeyEffect {
    Redraw,
    PushBody,
    ResetView,
    // Model mode: the front, right or top view.
    ShowFront,
    ShowRight,
    ShowTop,
    // Model mode: shows or hides the ground, shows or hides the orbiting
    // lights, pauses or resumes the simulation.
    ToggleGround,
    ToggleOrbitingLights,
    TogglePause,
    // Model mode: the next wireframe, textures off or on, the help and the
    // information line shown or hidden, a screenshot saved.
    NextWireframe,
    ToggleTextures,
    ToggleHelp,
    ToggleInformation,
    SaveScreenshot,
    Quit,
};

extern ViewState viewState;

// The wireframe after `wireframe`: over the model, alone, off again.
Wireframe nextWireframe(Wireframe wireframe);
// Back to the start rotation, with the view matrix rebuilt from it.
void resetViewRotation(ViewState& view);
// Model mode: aims the camera at the middle of `low` .. `high` (the model
// at rest) from `direction`, which becomes the saved one, standing back so
// that the model fills about half the window's height, with near and far
// planes, key steps, lights and arrows in proportion to its size.
void frameView(ViewState& view, const Vector3d& low, const Vector3d& high, const ViewDirection& direction);
// Model mode: `low` .. `high` and `direction` are what "r", "0" and the view
// keys frame from now on, the camera staying where it is.
void keepFramedBox(ViewState& view, const Vector3d& low, const Vector3d& high, const ViewDirection& direction);
// Model mode: the same box framed again from another direction, unturned,
// unmoved and unscaled.
void frameViewFrom(ViewState& view, const ViewDirection& direction);
// Model mode's "r" and "0": the framed view from the saved direction again,
// unturned, unmoved and unscaled.
void resetFramedView(ViewState& view);
// Where the camera stands seen from the point it looks at, a unit vector,
// and which way is up on the screen, for `direction`.
Vector3d viewBack(const ViewDirection& direction);
Vector3d viewUp(const ViewDirection& direction);
// Model mode: the camera moves with the model by `shift` from where it was
// framed, so a model that bounces or rolls away stays in view.
void followModel(ViewState& view, const Vector3d& shift);
// Takes a new window size; a zero or negative side counts as one pixel so
// the reciprocals and the aspect ratio stay finite. Returns the size used.
// The model is framed for this size from then on.
void resizeView(ViewState& view, int& width, int& height);
void pressOrReleaseButton(ViewState& view, int button, int state, int x, int y);
// Turns the view by the pointer's travel since the last event. Returns false
// when the pointer did not move, so no redraw is needed.
bool turnByDrag(ViewState& view, int x, int y);
KeyEffect applyKey(ViewState& view, unsigned char key);
void applySpecialKey(ViewState& view, int key);
