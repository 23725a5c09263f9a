// Faces cut into triangles and the normals that shade them, on shapes whose
// right answers are known.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "model/corner_normals.h"
#include "model/face_triangles.h"

namespace {

double dot(const Point3& a, const Point3& b) {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z;
}

// Twice the signed area of the outline in x and y, counter-clockwise positive.
double area(const std::vector<Point3>& p) {
    double sum = 0;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        sum += double(p[j].x) * p[i].y - double(p[i].x) * p[j].y;
    return sum;
}

// Whether (x, y) lies inside the outline, by the crossings of a ray to +x.
bool inside(const std::vector<Point3>& p, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) && x < p[j].x + (y - p[j].y) * (p[i].x - p[j].x) / (p[i].y - p[j].y)) in = !in;
    }
    return in;
}

// The face drawn in x and y laid in a plane far from the origin and tilted
// to every axis.
std::vector<Point3> inSpace(const std::vector<Point3>& face) {
    std::vector<Point3> corners;
    for (const Point3 f : face) corners.push_back({2e4f + 0.75f * f.x, 7.f - f.y, 0.5f * f.x});
    return corners;
}
const Point3 SPACE_NORMAL = {0.5547002f, 0, -0.8320503f};

// Convex faces and those that cannot be cut (no area, crossing or touching
// outlines, coordinates that are not finite) give the fan; concave ones
// (darts cut on either diagonal, an L, a comb, a star) triangles that tile
// them.
TEST(FaceTriangles, cutsFacesIntoTrianglesThatTileThem) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::tuple<bool, bool, std::vector<Point3>> cases[] = {
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
            const std::vector<Point3> triangle = {face[triangles[t]], face[triangles[t + 1]], face[triangles[t + 2]]};
            EXPECT_GT(area(triangle), 0) << "triangle " << t / 3 << " of a face of " << face.size();
            tiled += area(triangle);
            const Point3 a = triangle[0], b = triangle[1], c = triangle[2];
            EXPECT_TRUE(inside(face, (a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3)) << t / 3 << " of " << face.size();
        }
        EXPECT_NEAR(tiled, area(face), 1e-9) << face.size();
    }
}

struct Mesh {
    std::vector<Point3> vertices;
    std::vector<std::vector<int32_t>> faces;
};

// The mesh cut and shaded as the viewer does it.
struct Shaded {
    std::vector<int32_t> vertices;  // of each corner
    std::vector<int32_t> faces;     // of each triangle
    std::vector<Point3> faceNormals;
    std::vector<Point3> normals;  // of each corner
};

Shaded shade(const Mesh& mesh, float degrees) {
    Shaded shaded;
    for (size_t f = 0; f < mesh.faces.size(); ++f) {
        std::vector<Point3> corners;
        for (const int32_t v : mesh.faces[f]) corners.push_back(mesh.vertices[v]);
        shaded.faceNormals.push_back(faceNormal(corners));
        std::vector<int32_t> triangles;
        triangulateFace(corners, triangles);
        for (const int32_t c : triangles) shaded.vertices.push_back(mesh.faces[f][c]);
        shaded.faces.insert(shaded.faces.end(), triangles.size() / 3, int32_t(f));
    }
    shaded.normals =
        smoothCornerNormals(shaded.vertices, shaded.faces, shaded.faceNormals, int32_t(mesh.vertices.size()), degrees);
    return shaded;
}

// A cube of side 2 about the origin (corner v at the signs of its bits) and a
// face with no area at two of its corners; a sphere of 8 segments and 6
// rings, whose faces at the poles have two corners there.
Mesh cube() {
    Mesh mesh;
    for (int32_t v = 0; v < 8; ++v)
        mesh.vertices.push_back({(v & 1) * 2.f - 1, (v >> 1 & 1) * 2.f - 1, (v >> 2) * 2.f - 1});
    mesh.faces = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}, {0, 1, 1}};
    return mesh;
}
Mesh sphere() {
    Mesh mesh{{{0, 0, 1}, {0, 0, -1}}, {}};
    const auto at = [](int32_t ring, int32_t s) {
        return ring == 0 ? 0 : ring == 6 ? 1 : 2 + (ring - 1) * 8 + s % 8;
    };
    for (int32_t ring = 1; ring <= 6; ++ring) {
        for (int32_t s = 0; s < 8; ++s) {
            const double theta = ring * M_PI / 6, phi = s * M_PI / 4;
            if (ring < 6) {
                mesh.vertices.push_back(
                    {float(sin(theta) * cos(phi)), float(sin(theta) * sin(phi)), float(cos(theta))});
            }
            mesh.faces.push_back({at(ring - 1, s), at(ring, s), at(ring, s + 1), at(ring - 1, s + 1)});
        }
    }
    return mesh;
}

// A tip 10 high over a base of `sides` corners at distance 1, cut into
// `faces` thin triangles: a cone when every face is a side of its own.
Mesh tip(int32_t faces, int32_t sides) {
    Mesh mesh{{{0, 0, 10}}, {}};
    for (int32_t f = 0; f < faces; ++f) {
        const double side = std::floor(double(f) * sides / faces), along = double(f) * sides / faces - side;
        const double from = 2 * M_PI * side / sides, to = 2 * M_PI * (side + 1) / sides;
        mesh.vertices.push_back(
            {float((1 - along) * cos(from) + along * cos(to)), float((1 - along) * sin(from) + along * sin(to)), 0});
        mesh.faces.push_back({0, f + 1, (f + 1) % faces + 1});
    }
    return mesh;
}

// Against the rule itself: a corner averages the faces at its vertex, each
// once, within the angle of its own face; one of a face with no area, all of
// them unless the angle is 0. 300 faces at the tip of a three-sided pyramid
// are grouped, as the rule would group them.
TEST(CornerNormals, followTheSmoothingAngle) {
    const std::pair<Mesh, bool> cases[] = {{cube(), false}, {sphere(), true}, {tip(300, 3), false}};
    for (const auto& [mesh, round] : cases) {
        std::vector<std::vector<int32_t>> facesAt(mesh.vertices.size());
        for (size_t f = 0; f < mesh.faces.size(); ++f) {
            for (const int32_t v : mesh.faces[f]) {
                if (facesAt[v].empty() || facesAt[v].back() != int32_t(f)) facesAt[v].push_back(int32_t(f));
            }
        }
        for (const float degrees : {0.f, 40.f, 59.5f, 90.f, 180.f}) {
            const Shaded shaded = shade(mesh, degrees);
            const double cosine = std::cos(degrees * M_PI / 180) - 1e-6;
            for (size_t c = 0; c < shaded.normals.size(); ++c) {
                const Point3 own = shaded.faceNormals[shaded.faces[c / 3]];
                Point3 sum;
                for (const int32_t f : facesAt[shaded.vertices[c]]) {
                    const Point3 n = shaded.faceNormals[f];
                    const bool shares = dot(n, own) >= cosine || (degrees > 0 && dot(own, own) == 0);
                    if (shares) sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
                }
                EXPECT_NEAR(dot(shaded.normals[c], sum), std::sqrt(dot(sum, sum)), 1e-5) << degrees << "° " << c;
                // Neighbouring faces of the sphere lie within 59.5 degrees.
                if (round && degrees == 59.5f) {
                    EXPECT_GT(dot(shaded.normals[c], mesh.vertices[shaded.vertices[c]]), 0.98);
                }
            }
        }
    }
}

// 100,000 faces meet at the tip of a cone and share its axis.
TEST(CornerNormals, coneTipOfManyFaces) {
    const Shaded shaded = shade(tip(100000, 100000), 180);
    for (size_t c = 0; c < shaded.normals.size(); c += 3) ASSERT_NEAR(shaded.normals[c].z, 1, 1e-5) << c;
}

}  // namespace
