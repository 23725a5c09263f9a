// Model mode's bodies: the whole model as one rigid body, or each visible
// object as its own, laid out by modelLayout. A body touches the ground at
// its own vertices, the mirrored ones included: against a plane, the lowest
// corners of a mesh are where it collides.
#pragma once

#include <cstdint>

#include <ode/ode.h>

#include "model/object_mesh.h"

// Adds the vertices of object `object`'s triangles to the body it belongs to.
void collectBodyPoints(int32_t object, const ObjectMesh& mesh);
// Makes the bodies in physicsWorld's world, each at the drop height over its
// place in the model, with its hull for meeting the others. Needs the points
// collected first.
void createModelBodies();
// Joins each body that reaches below the ground to it, at a few of its
// deepest corners spread as far apart as they lie.
void addGroundContacts();
// How a body bounces and grips where it touches the ground or another body.
dSurfaceParameters bodySurface();
// Forgets the bodies' points; the bodies go with the world.
void releaseModelBodies();
