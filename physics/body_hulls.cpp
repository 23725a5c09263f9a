#include "physics/body_hulls.h"

#include <libqhull_r/qhull_ra.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using Direction = std::array<double, 3>;

const std::vector<Direction>& spreadDirections();
std::vector<uint32_t> farthestPoints(const BlockedPoints& points);
void addSide(qhT* qh, facetT* facet, BodyHull& hull);
FILE* quietStream();

}  // namespace

BodyHull hullOfPoints(const BlockedPoints& points) {
    std::vector<double> corners;
    for (uint32_t p : farthestPoints(points))
        corners.insert(corners.end(), &points.offsets[3 * p], &points.offsets[3 * p] + 3);
    return hullOfCorners(corners);
}

double hullReach(const BodyHull& hull) {
    double reach = 0;
    for (size_t c = 0; c < hull.corners.size(); c += 3)
        reach = std::max(reach, std::hypot(hull.corners[c], hull.corners[c + 1], hull.corners[c + 2]));
    return reach;
}

// The ray is inside the hull between where it crosses the last side it
// enters by and the first it leaves by.
std::optional<double> rayEntry(const BodyHull& hull, const double origin[3], const double direction[3]) {
    double enters = 0, leaves = std::numeric_limits<double>::infinity();
    for (size_t p = 0; p < hull.planes.size(); p += 4) {
        const dReal* plane = &hull.planes[p];
        const double above = plane[0] * origin[0] + plane[1] * origin[1] + plane[2] * origin[2] - plane[3];
        const double towards = plane[0] * direction[0] + plane[1] * direction[1] + plane[2] * direction[2];
        if (towards == 0) {
            if (above > 0) return std::nullopt;
            continue;
        }
        const double crossing = -above / towards;
        if (towards < 0)
            enters = std::max(enters, crossing);
        else
            leaves = std::min(leaves, crossing);
    }
    if (hull.empty() || enters > leaves) return std::nullopt;
    return enters;
}

// Qhull merges the triangles of a flat side into one polygon: a box resting
// on a box is then held over the whole of the side it rests on.
BodyHull hullOfCorners(const std::vector<double>& corners) {
    if (corners.size() < 3 * 4) return {};
    qhT state;
    qhT* qh = &state;
    QHULL_LIB_CHECK
    qh_zero(qh, quietStream());
    char options[] = "qhull";
    BodyHull hull;
    // NOTE: qhull reports points that span no volume as an error of its own,
    // to its error stream; here that is a body without a hull.
    const int failed = qh_new_qhull(qh, 3, static_cast<int>(corners.size() / 3), const_cast<double*>(corners.data()),
                                    False, options, nullptr, quietStream());
    if (!failed) {
        vertexT* vertex;
        unsigned number = 0;
        FORALLvertices {
            vertex->id = number++;
            hull.corners.insert(hull.corners.end(), vertex->point, vertex->point + 3);
        }
        facetT* facet;
        FORALLfacets addSide(qh, facet, hull);
    }
    qh_freeqhull(qh, !qh_ALL);
    int shortLeft = 0, longLeft = 0;
    qh_memfreeshort(qh, &shortLeft, &longLeft);
    return hull;
}

namespace {

// A golden-angle spiral from pole to pole: every direction lies near one of
// them, so no part of the body is far from a corner.
const std::vector<Direction>& spreadDirections() {
    static const std::vector<Direction> directions = [] {
        const double goldenAngle = 3.14159265358979323846 * (3.0 - std::sqrt(5.0));
        std::vector<Direction> spread;
        for (int k = 0; k < MAX_HULL_CORNERS; ++k) {
            const double z = 1.0 - (2.0 * k + 1.0) / MAX_HULL_CORNERS;
            const double across = std::sqrt(1.0 - z * z);
            spread.push_back({across * std::cos(k * goldenAngle), across * std::sin(k * goldenAngle), z});
        }
        return spread;
    }();
    return directions;
}

// For each direction, the point reaching farthest along it, each point
// once. A block whose sphere cannot reach as far as the nearest reach of
// some other block's sphere holds no such point and is not read.
std::vector<uint32_t> farthestPoints(const BlockedPoints& points) {
    std::vector<uint32_t> farthest;
    for (const Direction& d : spreadDirections()) {
        const auto along = [&](const auto& p) {
            return d[0] * p[0] + d[1] * p[1] + d[2] * p[2];
        };
        double surely = -std::numeric_limits<double>::infinity();
        for (const PointBlock& block : points.blocks) surely = std::max(surely, along(block.centre) - block.radius);
        double best = -std::numeric_limits<double>::infinity();
        uint32_t bestPoint = 0;
        for (const PointBlock& block : points.blocks) {
            if (along(block.centre) + block.radius < surely) continue;
            for (uint32_t p = block.first; p < block.end; ++p) {
                const double reach = along(&points.offsets[3 * p]);
                if (reach > best) {
                    best = reach;
                    bestPoint = p;
                }
            }
        }
        if (best > -std::numeric_limits<double>::infinity()) farthest.push_back(bestPoint);
    }
    std::sort(farthest.begin(), farthest.end());
    farthest.erase(std::unique(farthest.begin(), farthest.end()), farthest.end());
    return farthest;
}

void addSide(qhT* qh, facetT* facet, BodyHull& hull) {
    std::vector<unsigned> around;
    setT* vertices = qh_facet3vertex(qh, facet);
    vertexT *vertex, **vertexp;
    FOREACHvertex_(vertices) around.push_back(vertex->id);
    qh_settempfree(qh, &vertices);
    // Qhull's order goes either way round; ODE's goes counter-clockwise
    // about the outward normal. Newell's sum over the edges tells which,
    // whatever corners lie in a line.
    double turn = 0;
    for (size_t k = 0; k < around.size(); ++k) {
        const double* a = &hull.corners[3 * around[k]];
        const double* b = &hull.corners[3 * around[(k + 1) % around.size()]];
        const double newell[3] = {(a[1] - b[1]) * (a[2] + b[2]), (a[2] - b[2]) * (a[0] + b[0]),
                                  (a[0] - b[0]) * (a[1] + b[1])};
        for (int axis = 0; axis < 3; ++axis) turn += facet->normal[axis] * newell[axis];
    }
    if (turn < 0) std::reverse(around.begin(), around.end());
    hull.planes.insert(hull.planes.end(), {facet->normal[0], facet->normal[1], facet->normal[2], -facet->offset});
    hull.sides.push_back(static_cast<unsigned>(around.size()));
    hull.sides.insert(hull.sides.end(), around.begin(), around.end());
}

FILE* quietStream() {
    static FILE* const stream = std::fopen("/dev/null", "w");
    return stream;
}

}  // namespace
