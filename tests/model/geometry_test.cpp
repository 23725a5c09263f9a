// Faces cut into triangles, on shapes whose right answers are known.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "model/face_triangles.h"

namespace {

struct Flat {
    float u, v;
};

double dot(const Point3& a, const Point3& b) {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

// Twice the outline's signed area, counter-clockwise positive.
double area(const std::vector<Flat>& p) {
    double sum = 0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        sum += double(p[j].u) * p[i].v - double(p[i].u) * p[j].v;
    }
    return sum;
}

bool inside(const std::vector<Flat>& p, double u, double v) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].v > v) != (p[j].v > v) && u < p[j].u + (v - p[j].v) * (p[i].u - p[j].u) / (p[i].v - p[j].v)) in = !in;
    }
    return in;
}

// The face laid in a plane far from the origin and tilted to every axis.
std::vector<Point3> inSpace(const std::vector<Flat>& face) {
    std::vector<Point3> corners;
    for (const Flat f : face) corners.push_back({2e4f + 0.75f * f.u, 7.f - f.v, 0.5f * f.u});
    return corners;
}
const Point3 SPACE_NORMAL = {0.5547002f, 0, -0.8320503f};

// Convex faces and those that cannot be cut (no area, crossing or touching
// outlines, coordinates that are not finite) give the fan; concave ones
// (darts cut on either diagonal, an L, a comb, a star) triangles that tile
// them.
TEST(FaceTriangles, cutsFacesIntoTrianglesThatTileThem) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const struct {
        bool fan;
        bool hasNormal;
        std::vector<Flat> face;
    } cases[] = {
        {true, true, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}},
        {true, true, {{2, 0}, {4, 1}, {4, 3}, {2, 4}, {0, 3}, {0, 1}}},
        {true, true, {{0, 0}, {1, 0}, {0, 1}}},
        {true, false, {{0, 0}, {1, 1}}},
        {true, false, {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {-1, -1}}},
        {true, false, {{0, 0}, {1, 1}, {1, 0}, {0, 1}}},
        {true, true, {{0, 0}, {4, 0}, {0, 2}, {1, 2}}},
        {true, true, {{0, 0}, {4, 0}, {4, 4}, {2, -1}, {0, 4}}},
        {true, true, {{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 1}, {1, 1}}},
        {true, false, {{0, 0}, {4, 0}, {1, 1}, {0, 4}, {nan, 0}}},
        {true, false, {{0, 0}, {4, 0}, {1, 1}, {inf, 4}, {0, 4}}},
        {false, true, {{4, 0}, {1, 1}, {0, 4}, {0, 0}}},
        {false, true, {{0, 0}, {4, 0}, {1, 1}, {0, 4}}},
        {false, true, {{2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}, {0, 0}}},
        {false, true, {{44, 8}, {7, 52}, {-23, 62}, {-23, 1}, {-6, -13}, {6, -16}, {33, -29}}},
        {false, true, {{0, 0}, {5, 0}, {5, 3}, {4, 3}, {4, 1}, {3, 1}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}}},
        {false, true, {{0, 4}, {-1, 1}, {-4, 0}, {-1, -1}, {0, -4}, {1, -1}, {4, 0}, {1, 1}}},
    };
    for (const auto& [fan, hasNormal, face] : cases) {
        EXPECT_NEAR(dot(faceNormal(inSpace(face)), SPACE_NORMAL), hasNormal ? 1 : 0, 1e-5) << face.size();
        std::vector<int32_t> triangles = {-1}, fanned = {-1};  // appended after what is there
        triangulateFace(inSpace(face), triangles);
        for (int32_t k = 1; k + 1 < int32_t(face.size()); ++k) fanned.insert(fanned.end(), {0, k, k + 1});
        if (fan) {
            EXPECT_EQ(triangles, fanned);
            continue;
        }
        ASSERT_EQ(triangles.size(), fanned.size()) << face.size();
        double tiled = 0;
        for (size_t t = 1; t < triangles.size(); t += 3) {
            const std::vector<Flat> triangle = {face[triangles[t]], face[triangles[t + 1]], face[triangles[t + 2]]};
            EXPECT_GT(area(triangle), 0) << "triangle " << t / 3 << " of a face of " << face.size();
            tiled += area(triangle);
            const Flat a = triangle[0], b = triangle[1], c = triangle[2];
            EXPECT_TRUE(inside(face, (a.u + b.u + c.u) / 3, (a.v + b.v + c.v) / 3)) << t / 3 << " of " << face.size();
        }
        EXPECT_NEAR(tiled, area(face), 1e-9) << face.size();
    }
}

}  // namespace
