#include "model/face_triangles.h"

#include <cmath>
#include <utility>

namespace {

// Below this share of a face's size, lengths and turns are the rounding of
// its corners' coordinates rather than its shape.
constexpr double ROUNDING = 1e-12;

// Newell's sums over the face's edges: twice its area along its normal, and
// the sum of its squared edge lengths as a measure of its size.
struct AreaVector {
    double along[3] = {0, 0, 0};
    double edgeSquares = 0;
};

struct Vec2 {
    double u = 0;
    double v = 0;
};

// Views a face along its normal: corners become points of the plane across
// the normal's largest axis, taken so that the face runs counter-clockwise.
struct Projection {
    Point3 origin;
    float Point3::*across = &Point3::x;
    float Point3::*up = &Point3::y;
};

// A concave face being cut into ears: the corners not yet cut off form a
// ring in face order.
class EarClipper {
public:
    EarClipper(std::span<const Point3> corners, const Projection& plane);
    // NOTE: cutting assumes a simple outline; one that crosses itself would
    // give triangles outside the face.
    bool outlineCrosses() const;
    // Appends the face's triangles; false (with some appended) when no corner
    // can be cut off, as when the outline touches itself.
    bool cut(std::vector<int32_t>& triangles);

private:
    bool isConvex(int32_t k) const;
    bool isEar(int32_t k) const;

    std::vector<Vec2> points_;
    std::vector<int32_t> previous_;
    std::vector<int32_t> next_;
    std::vector<char> convex_;
    std::vector<char> ear_;
};

bool cutConcave(std::span<const Point3> corners, const Projection& plane, std::vector<int32_t>& triangles);
AreaVector areaVector(std::span<const Point3> corners);
bool hasArea(const AreaVector& area);
Projection projection(const Point3& origin, const AreaVector& area);
Vec2 project(const Projection& plane, const Point3& p);
double cross(Vec2 a, Vec2 b, Vec2 c);
int32_t turn(Vec2 a, Vec2 b, Vec2 c);
bool insideTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c);
bool segmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d);
void appendTriangle(std::vector<int32_t>& triangles, int32_t a, int32_t b, int32_t c);

}  // namespace

Point3 faceNormal(std::span<const Point3> corners) {
    if (corners.size() < 3) return {};
    const AreaVector area = areaVector(corners);
    if (!hasArea(area)) return {};
    const double length =
        std::sqrt(area.along[0] * area.along[0] + area.along[1] * area.along[1] + area.along[2] * area.along[2]);
    return {float(area.along[0] / length), float(area.along[1] / length), float(area.along[2] / length)};
}

void triangulateFace(std::span<const Point3> corners, std::vector<int32_t>& triangles) {
    const auto n = int32_t(corners.size());
    if (n > 3) {
        const AreaVector area = areaVector(corners);
        if (hasArea(area) && cutConcave(corners, projection(corners[0], area), triangles)) return;
    }
    for (int32_t k = 1; k + 1 < n; ++k) appendTriangle(triangles, 0, k, k + 1);
}

namespace {

// Appends the triangles of a face of 4 or more corners that has a reflex
// corner and can be cut; false, with nothing appended, for a convex face or
// one that cannot be cut.
bool cutConcave(std::span<const Point3> corners, const Projection& plane, std::vector<int32_t>& triangles) {
    const auto n = int32_t(corners.size());
    int32_t reflexCount = 0;
    int32_t reflex = 0;
    Vec2 before = project(plane, corners[n - 1]);
    Vec2 at = project(plane, corners[0]);
    for (int32_t k = 0; k < n; ++k) {
        const Vec2 after = project(plane, corners[k + 1 < n ? k + 1 : 0]);
        if (turn(before, at, after) < 0) {
            ++reflexCount;
            reflex = k;
        }
        before = at;
        at = after;
    }
    if (reflexCount == 0) return false;
    // A quad with one reflex corner is cut along the diagonal from it; two or
    // more mean its outline crosses itself.
    if (n == 4) {
        if (reflexCount > 1) return false;
        appendTriangle(triangles, reflex, (reflex + 1) % 4, (reflex + 2) % 4);
        appendTriangle(triangles, reflex, (reflex + 2) % 4, (reflex + 3) % 4);
        return true;
    }
    const size_t start = triangles.size();
    EarClipper clipper(corners, plane);
    if (!clipper.outlineCrosses() && clipper.cut(triangles)) return true;
    triangles.resize(start);
    return false;
}

EarClipper::EarClipper(std::span<const Point3> corners, const Projection& plane)
    : points_(corners.size()),
      previous_(corners.size()),
      next_(corners.size()),
      convex_(corners.size()),
      ear_(corners.size()) {
    const auto n = int32_t(corners.size());
    for (int32_t k = 0; k < n; ++k) {
        points_[k] = project(plane, corners[k]);
        previous_[k] = (k + n - 1) % n;
        next_[k] = (k + 1) % n;
    }
    for (int32_t k = 0; k < n; ++k) convex_[k] = isConvex(k);
    for (int32_t k = 0; k < n; ++k) ear_[k] = isEar(k);
}

bool EarClipper::outlineCrosses() const {
    const auto n = int32_t(points_.size());
    for (int32_t i = 0; i < n; ++i) {
        // Edges next to edge i share a corner with it and cannot cross it.
        for (int32_t j = i + 2; j < n - (i == 0 ? 1 : 0); ++j) {
            if (segmentsCross(points_[i], points_[next_[i]], points_[j], points_[next_[j]])) return true;
        }
    }
    return false;
}

bool EarClipper::cut(std::vector<int32_t>& triangles) {
    auto remaining = int32_t(points_.size());
    int32_t k = 0;
    while (remaining > 3) {
        for (int32_t steps = 0; !ear_[k]; ++steps) {
            if (steps == remaining) return false;
            k = next_[k];
        }
        const int32_t a = previous_[k];
        const int32_t c = next_[k];
        appendTriangle(triangles, a, k, c);
        next_[a] = c;
        previous_[c] = a;
        --remaining;
        // Cutting an ear off a simple outline changes only its neighbours:
        // they may turn convex, and become or stop being ears.
        convex_[a] = isConvex(a);
        convex_[c] = isConvex(c);
        ear_[a] = isEar(a);
        ear_[c] = isEar(c);
        k = c;
    }
    appendTriangle(triangles, previous_[k], k, next_[k]);
    return true;
}

bool EarClipper::isConvex(int32_t k) const {
    return turn(points_[previous_[k]], points_[k], points_[next_[k]]) > 0;
}

// A convex corner is an ear when no corner left in the ring lies in or on
// its triangle; if any does, one of the corners that are not convex does,
// so only they are tried.
bool EarClipper::isEar(int32_t k) const {
    if (!convex_[k]) return false;
    const int32_t a = previous_[k];
    const int32_t c = next_[k];
    for (int32_t p = next_[c]; p != a; p = next_[p]) {
        if (!convex_[p] && insideTriangle(points_[p], points_[a], points_[k], points_[c])) return false;
    }
    return true;
}

// Corners are taken relative to the face's first corner, so a small face far
// from the origin keeps the precision of its shape.
AreaVector areaVector(std::span<const Point3> corners) {
    AreaVector area;
    const Point3& origin = corners[0];
    for (size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const Point3& p = corners[j];
        const Point3& q = corners[i];
        const double px = double(p.x) - origin.x, py = double(p.y) - origin.y, pz = double(p.z) - origin.z;
        const double qx = double(q.x) - origin.x, qy = double(q.y) - origin.y, qz = double(q.z) - origin.z;
        area.along[0] += (py - qy) * (pz + qz);
        area.along[1] += (pz - qz) * (px + qx);
        area.along[2] += (px - qx) * (py + qy);
        area.edgeSquares += (px - qx) * (px - qx) + (py - qy) * (py - qy) + (pz - qz) * (pz - qz);
    }
    return area;
}

// False for coordinates that are infinite or not a number too: they make the
// size infinite or NaN, and no length exceeds either.
bool hasArea(const AreaVector& area) {
    const double limit = ROUNDING * area.edgeSquares;
    return area.along[0] * area.along[0] + area.along[1] * area.along[1] + area.along[2] * area.along[2] >
           limit * limit;
}

Projection projection(const Point3& origin, const AreaVector& area) {
    constexpr float Point3::*AXES[3] = {&Point3::x, &Point3::y, &Point3::z};
    int32_t largest = 0;
    for (int32_t axis = 1; axis < 3; ++axis) {
        if (std::abs(area.along[axis]) > std::abs(area.along[largest])) largest = axis;
    }
    Projection plane{origin, AXES[(largest + 1) % 3], AXES[(largest + 2) % 3]};
    if (area.along[largest] < 0) std::swap(plane.across, plane.up);
    return plane;
}

Vec2 project(const Projection& plane, const Point3& p) {
    return {double(p.*plane.across) - plane.origin.*plane.across, double(p.*plane.up) - plane.origin.*plane.up};
}

// Twice the signed area of triangle a, b, c: positive counter-clockwise.
double cross(Vec2 a, Vec2 b, Vec2 c) {
    return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

// 1 when the outline turns left at b (a convex corner), -1 right (a reflex
// corner), 0 when it runs straight on or doubles back.
int32_t turn(Vec2 a, Vec2 b, Vec2 c) {
    const double area = cross(a, b, c);
    const double inSquared = (b.u - a.u) * (b.u - a.u) + (b.v - a.v) * (b.v - a.v);
    const double outSquared = (c.u - b.u) * (c.u - b.u) + (c.v - b.v) * (c.v - b.v);
    if (area * area <= ROUNDING * ROUNDING * inSquared * outSquared) return 0;
    return area > 0 ? 1 : -1;
}

// In or on the counter-clockwise triangle a, b, c.
bool insideTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
    return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

// Whether segments a-b and c-d cross at a point inside both.
bool segmentsCross(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
    return cross(a, b, c) * cross(a, b, d) < 0 && cross(c, d, a) * cross(c, d, b) < 0;
}

void appendTriangle(std::vector<int32_t>& triangles, int32_t a, int32_t b, int32_t c) {
    triangles.insert(triangles.end(), {a, b, c});
}

}  // namespace
