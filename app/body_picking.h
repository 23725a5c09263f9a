// Model mode's Ctrl + left drag: the body under the pointer, found along the
// ray from the pointer through the scene as the last frame drew it, is held
// by the point found and dragged with the pointer in the plane facing the
// camera through that point; let go, it is thrown at the pointer's speed.
// The camera stops following the model while a body is held, so that the
// body stays under the pointer. Nothing here draws.
#pragma once

#include <cstdint>
#include <optional>

#include "math/vector3d.h"
#include "physics/body_hold.h"

// The frame calls this where it draws the bodies: it keeps the matrices the
// scene is drawn with before any body's own place and turn, and the objects'
// drawing scale.
void rememberBodyFrame();
// The body drawn under window pixel (x, y), counted from the top left as
// the window's events count, and the point of it there, in the world.
std::optional<BodyHit> bodyUnder(int x, int y);
// A left button press (`down`) or release at (x, y): a press with Ctrl held
// in model mode picks the body there, if any, and takes the button until it
// is released, which throws the body held. Returns whether the picking has
// taken the button; if so the press or release turns nothing.
bool pickingTakesLeftButton(bool down, bool ctrl, int x, int y);
// The pointer dragged to (x, y): drags the held body while the picking has
// the left button. Returns whether it has.
bool pickingTakesDrag(int x, int y);
// The body "u" pushes: the last one picked, or the first.
int32_t bodyToPush();
// The bodies are gone: none is picked any more.
void forgetPickedBody();
// Where the camera follows the model to, given how far it has drifted: as
// far, except that the drift while a body is held is not followed, then or
// after.
Vector3d followedDrift(const Vector3d& drift);
