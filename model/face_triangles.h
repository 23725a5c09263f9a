// A face of a model as the triangles that draw it and feed the collision
// mesh, and the normal that shades it flat. Faces may have any number of
// corners and may be concave or slightly bent out of their plane.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mqo/records.h"

// The unit normal of the face through `corners` (in face order; the face is
// seen counter-clockwise from where the normal points), from Newell's sums so
// a bent face gets its best-fitting plane. Zero when the face has no area to
// speak of (fewer than 3 corners, all on a line) or a coordinate is infinite
// or not a number.
Point3 faceNormal(std::span<const Point3> corners);

// Appends the triangles of the face through `corners` to `triangles`, three
// corner numbers (0 .. corners.size() - 1) each, every triangle wound as the
// face is. A convex face gives the fan from corner 0, the triangles OpenGL
// draws for it; a concave one is cut so no triangle leaves the face. A face
// that cannot be cut (no area, a crossing or self-touching outline,
// coordinates that are not finite) falls back to the fan. Fewer than 3
// corners give nothing.
void triangulateFace(std::span<const Point3> corners, std::vector<int32_t>& triangles);
