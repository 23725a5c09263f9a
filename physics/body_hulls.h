// The shape a model-mode body meets other bodies with: the convex hull of
// its points, in ODE's convex form. Against each other, meshes of many
// thousand triangles cost too much per tick and pass through one another
// once one shell sinks inside the other; hulls are solid, and their cost
// grows with their corners alone, which are kept few.
#pragma once

#include <ode/ode.h>

#include <optional>
#include <vector>

#include "physics/point_blocks.h"

// At most this many corners, each the farthest point of the body along one
// of as many directions spread evenly over the sphere: a box keeps its
// eight corners, a ball becomes a polyhedron of about this many.
constexpr int MAX_HULL_CORNERS = 128;

// As dCreateConvex takes them, which keeps the arrays and reads them for as
// long as the geometry lives.
struct BodyHull {
    // a, b, c, d of each side's plane a x + b y + c z = d, (a, b, c) a unit
    // normal pointing out of the hull.
    std::vector<dReal> planes;
    // x, y, z of each corner.
    std::vector<dReal> corners;
    // Per side, its corner count, then its corners counter-clockwise seen
    // from outside, in the order of the planes.
    std::vector<unsigned> sides;

    bool empty() const { return planes.empty(); }
};

// How far the farthest corner of `hull` lies from its origin.
double hullReach(const BodyHull& hull);
// How far along the ray from `origin` in the unit `direction` it enters the
// hull, both in the hull's frame; none when it passes by, or the hull lies
// behind it. A ray from inside enters at once.
std::optional<double> rayEntry(const BodyHull& hull, const double origin[3], const double direction[3]);

// The hull of the points from the body's origin; empty when they span no
// volume (a flat card, a line, fewer than four points).
BodyHull hullOfPoints(const BlockedPoints& points);
// The hull of points given as x, y, z each, every one a corner when it
// reaches out; empty when they span no volume.
BodyHull hullOfCorners(const std::vector<double>& corners);
