// Model mode's bodies against each other: each body meets the others with
// its convex hull, a geometry in a space of the bodies' own, where the
// ground plane is not: the ground keeps meeting a body at its points.
#pragma once

#include <cstdint>

#include "physics/body_hulls.h"
#include "physics/point_blocks.h"

// Gives body `body` its hull of `points`, from its origin, as its geometry;
// a body whose points span no volume gets the box it turns like instead.
// The first call makes the bodies' space.
void addBodyShape(int32_t body, const BlockedPoints& points);
// Joins every two bodies whose hulls overlap, for one step, bouncing and
// gripping as on the ground: at each corner of either hull that lies inside
// the other, pushed out through the side it is nearest, or, where only
// edges cross, where ODE's convex collider finds them.
void addBodyContacts();
// The hull body `body` meets the others with; null before it has one.
const BodyHull* bodyHull(int32_t body);
// Destroys the bodies' space with their geometries, then the hulls they read.
void destroyBodyShapes();
