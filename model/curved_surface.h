// A curved surface as model mode shows it: the object's faces are the
// control cage of a Catmull-Clark surface, refined as many rounds as its
// segment key asks. Texture coordinates and colours are carried along per
// corner, blended linearly within each control face, so seams stay where
// the cage has them, and each refined face keeps the material of the
// control face it came from.
#pragma once

#include <cstdint>
#include <string>

#include "model/shape_faces.h"
#include "mqo/records.h"

constexpr int32_t MAX_SEGMENT = 16;

// The rounds of refinement the object asks for, segment within 1 ..
// MAX_SEGMENT; 0 for an object whose patch key is not 1, 2 or 3.
int32_t curvedLevel(const ObjectRecord& object);

// The triangles `level` rounds make of control faces of this tally: an
// n-cornered face becomes n quads in the first round and each quad four in
// every next; round 0 is the cage itself.
int64_t refinedTriangleCount(const FaceTally& control, int32_t level);

struct CurvedSurface {
    ObjectRecord refined;
    // Why the control mesh could not be refined; empty when it was.
    std::string refusal;
};

// The object's faces of three corners or more, all of them vertices,
// refined `level` times (1 or more, and few enough that the result fits in
// the object's counts): vertices and quads, with texture coordinates and
// colours where the object's faces have them. Boundaries of open surfaces
// and of texture islands stay sharp.
CurvedSurface refineCurvedSurface(const ObjectRecord& object, int32_t level);
