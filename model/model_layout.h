// Where model mode puts the model: how big it is in the physics world, which
// body each visible object belongs to, and where the model comes to rest.
// Models come in any units, from a 1-unit trinket to a 100,000-unit scene;
// in the world every model gets the size of the bundled demo, so that every
// drop looks and feels alike.
#pragma once

#include <cstdint>

#include "math/vector3d.h"
#include "model/loaded_model.h"
#include "model/object_mesh.h"

struct ModelLayout {
    // Every visible object as modelled, mirrored copies included, in model
    // units. The model comes to rest where it was modelled, standing on the
    // ground at the bottom of this box.
    Bounds bounds;
    // World units per model unit.
    double worldScale = 1.0;
    // The model point over the world's origin on the ground: the box's
    // centre across, its bottom in height.
    Point3 anchor;
    int32_t bodyCount = 0;
    // The body of each loaded object; -1 for a hidden or empty object.
    int32_t bodyOfObject[MAX_OBJECTS] = {};
    // Each body's objects as modelled, and the centre of their box, which is
    // the body's origin, in model units.
    Bounds bodyBounds[MAX_OBJECTS] = {};
    Point3 bodyCentre[MAX_OBJECTS] = {};
};

extern ModelLayout modelLayout;

// Lays out the loaded model: one body for the whole model, or one per
// visible object when modelSettings asks for separate parts.
void layOutModel();
// Half the diagonal of the model's box; 1 for an empty model.
double modelRadius();
// The model is drawn y-up in model units, the world is z-up in world units:
// an offset (x, y, z) in the drawing is the world offset (x, -z, y) times
// the world scale.
Vector3d worldOffsetOf(const Vector3d& drawnOffset);
// Points, with the anchor drawn over the world's origin.
Vector3d worldPointOf(const Vector3d& drawn);
Vector3d drawnPointOf(const Vector3d& world);
