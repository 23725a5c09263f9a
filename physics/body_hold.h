// Model mode: a body found under the pointer, held there by the point that
// was found and dragged about by a joint from that point to the pointer,
// then thrown or let go. Positions are in the world, z-up in world units.
// The viewer may draw each body `scale` times its size about its origin;
// what is found and held is the body as drawn.
#pragma once

#include <cstdint>
#include <optional>

#include "math/vector3d.h"

struct BodyHit {
    int32_t body = -1;
    // Where the ray meets the body as drawn, and how far along the ray.
    Vector3d point;
    double distance = 0;
};

// The nearest body the ray from `origin` along the unit vector `direction`
// meets, where its shape faces the ray.
std::optional<BodyHit> firstBodyHit(const Vector3d& origin, const Vector3d& direction, double scale);
// Holds the body that `hit` found by the point found; a body already held
// is let go first.
void holdBody(const BodyHit& hit);
// The body held, or -1.
int32_t heldBody();
// The held point is pulled towards `target` from the next step on.
void dragHeldBody(const Vector3d& target);
// Lets go of the held body, which moves on at `velocity`, in world units
// per simulated second.
void throwHeldBody(const Vector3d& velocity);
// Lets go of the held body as it moves; nothing when none is held.
void dropHeldBody();
