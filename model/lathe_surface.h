// A lathed object as model mode shows it: its profile lines, the faces of
// two corners, turned about an axis of the model through the origin, make a
// surface of quads between neighbouring steps, and of triangles where a
// profile point lies on the axis. Its other faces stay as they are.
#pragma once

#include <cstdint>

#include "model/shape_faces.h"
#include "mqo/records.h"

constexpr int32_t MIN_LATHE_STEPS = 3;
// One step a degree looks as round as any more.
constexpr int32_t MAX_LATHE_STEPS = 360;

// The steps the object's lathe_seg asks for, within the limits; 0 for an
// object that is not lathed.
int32_t latheSteps(const ObjectRecord& object);

// The model axis the object turns about, 0 x, 1 y, 2 z: lathe_axis 1 and 2
// name y and z, any other value x, as when the key is absent.
int latheAxisOf(const ObjectRecord& object);

// What the lathed object's faces are, without making them: its other faces,
// and what each step of the surface adds.
struct LatheTally {
    FaceTally others;
    FaceTally perStep;

    FaceTally surface(int32_t steps) const;
    FaceTally whole(int32_t steps) const;
};

LatheTally tallyLathe(const ObjectRecord& object);

// The lathed object's vertices and faces in `steps` steps (at least
// MIN_LATHE_STEPS): its own vertices first, so that its other faces keep
// their corners, then the profile points off the axis turned in each further
// step. Each face of the surface takes its profile line's material, and its
// corners the colours of the line's corners when the line has them.
ObjectRecord latheSurface(const ObjectRecord& object, int32_t steps);
