#include "model/object_mesh.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "model/face_triangles.h"

namespace {

// An affine map of points: rows of a 3 x 3 matrix, then a translation.
struct Affine {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double t[3] = {0, 0, 0};

    Point3 apply(const Point3& p) const;
};

// A mirrored copy: where its vertices go, and whether its faces' winding
// turned (an odd number of reflections turns it).
struct MirrorCopy {
    Affine map;
    bool turned = false;
};

constexpr double DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;

std::vector<MirrorCopy> mirrorCopies(const ObjectRecord& object);
Affine reflectionInFrame(const ObjectRecord& object, int axes);
void appendFaceTriangles(const ObjectRecord& object, uint32_t faceIndex, std::vector<MeshTriangle>& triangles);

}  // namespace

ObjectMesh buildObjectMesh(const ObjectRecord& object) {
    ObjectMesh mesh;
    const size_t vertexCount = object.vertices.size();
    mesh.positions.reserve(vertexCount);
    for (const VertexRecord& vertex : object.vertices) mesh.positions.push_back({vertex.x, vertex.y, vertex.z});
    for (size_t f = 0; f < object.faces.size(); ++f)
        if (cornersAreVertices(object.faces.corners(f), vertexCount))
            appendFaceTriangles(object, static_cast<uint32_t>(f), mesh.triangles);

    const std::vector<MirrorCopy> copies = mirrorCopies(object);
    const size_t ownTriangles = mesh.triangles.size();
    mesh.positions.reserve(vertexCount * (1 + copies.size()));
    mesh.triangles.reserve(ownTriangles * (1 + copies.size()));
    for (size_t copy = 0; copy < copies.size(); ++copy) {
        const uint32_t offset = static_cast<uint32_t>(vertexCount * (copy + 1));
        for (size_t v = 0; v < vertexCount; ++v) mesh.positions.push_back(copies[copy].map.apply(mesh.positions[v]));
        for (size_t t = 0; t < ownTriangles; ++t) {
            MeshTriangle triangle = mesh.triangles[t];
            for (uint32_t& vertex : triangle.vertex) vertex += offset;
            // Listing the corners backwards undoes the turned winding.
            if (copies[copy].turned) {
                std::swap(triangle.vertex[1], triangle.vertex[2]);
                std::swap(triangle.corner[1], triangle.corner[2]);
            }
            mesh.triangles.push_back(triangle);
        }
    }
    return mesh;
}

void Bounds::add(const Point3& point) {
    min = {std::min(min.x, point.x), std::min(min.y, point.y), std::min(min.z, point.z)};
    max = {std::max(max.x, point.x), std::max(max.y, point.y), std::max(max.z, point.z)};
}

void Bounds::add(const Bounds& other) {
    if (other.empty()) return;
    add(other.min);
    add(other.max);
}

Point3 Bounds::centre() const {
    return {(min.x + max.x) / 2, (min.y + max.y) / 2, (min.z + max.z) / 2};
}

Bounds meshBounds(const ObjectRecord& object) {
    Bounds own;
    const size_t vertexCount = object.vertices.size();
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        if (!cornersAreVertices(face, vertexCount)) continue;
        for (const int32_t index : face.vertices) {
            const VertexRecord& vertex = object.vertices[index];
            const Point3 point{vertex.x, vertex.y, vertex.z};
            if (std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z)) own.add(point);
        }
    }
    Bounds bounds = own;
    if (own.empty()) return bounds;
    // A box's mirror image is held by the box around its mirrored corners.
    for (const MirrorCopy& copy : mirrorCopies(object))
        for (int corner = 0; corner < 8; ++corner)
            bounds.add(copy.map.apply({corner & 1 ? own.max.x : own.min.x, corner & 2 ? own.max.y : own.min.y,
                                       corner & 4 ? own.max.z : own.min.z}));
    return bounds;
}

// The turns are applied in the order bank, pitch, heading.
void rotationOf(const Point3& angles, double out[3][3]) {
    const double h = angles.x * DEGREES_TO_RADIANS, p = angles.y * DEGREES_TO_RADIANS,
                 b = angles.z * DEGREES_TO_RADIANS;
    const double ch = std::cos(h), sh = std::sin(h), cp = std::cos(p), sp = std::sin(p), cb = std::cos(b),
                 sb = std::sin(b);
    const double heading[3][3] = {{ch, 0, sh}, {0, 1, 0}, {-sh, 0, ch}};
    const double pitch[3][3] = {{1, 0, 0}, {0, cp, -sp}, {0, sp, cp}};
    const double bank[3][3] = {{cb, -sb, 0}, {sb, cb, 0}, {0, 0, 1}};
    double headingPitch[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            headingPitch[r][c] = 0;
            for (int k = 0; k < 3; ++k) headingPitch[r][c] += heading[r][k] * pitch[k][c];
        }
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            out[r][c] = 0;
            for (int k = 0; k < 3; ++k) out[r][c] += headingPitch[r][k] * bank[k][c];
        }
}

bool cornersAreVertices(const FaceCorners& face, size_t vertexCount) {
    return std::all_of(face.vertices.begin(), face.vertices.end(),
                       [&](int32_t index) { return index >= 0 && static_cast<size_t>(index) < vertexCount; });
}

size_t drawnCopies(const ObjectRecord& object) {
    return 1 + mirrorCopies(object).size();
}

Bounds boundsOf(const std::vector<Point3>& points) {
    Bounds bounds;
    for (const Point3& point : points)
        if (std::isfinite(point.x) && std::isfinite(point.y) && std::isfinite(point.z)) bounds.add(point);
    return bounds;
}

namespace {

Point3 Affine::apply(const Point3& p) const {
    double out[3];
    for (int r = 0; r < 3; ++r) out[r] = m[r][0] * p.x + m[r][1] * p.y + m[r][2] * p.z + t[r];
    return {static_cast<float>(out[0]), static_cast<float>(out[1]), static_cast<float>(out[2])};
}

// One copy per combination of the mirror axes the object sets: x, y and z
// give seven copies beside the object itself.
std::vector<MirrorCopy> mirrorCopies(const ObjectRecord& object) {
    std::vector<MirrorCopy> copies;
    if (object.mirror != 1 && object.mirror != 2) return copies;
    const int axes = object.mirrorAxis & 7;
    for (int combination = 1; combination <= 7; ++combination)
        if ((combination & ~axes) == 0)
            copies.push_back({reflectionInFrame(object, combination), std::popcount(unsigned(combination)) % 2 == 1});
    return copies;
}

// Reflection across the planes `axes` of the object's own frame: turned by
// its rotation, placed at its translation. The frame's scale is no matter:
// scaling along an axis commutes with reflecting across it.
Affine reflectionInFrame(const ObjectRecord& object, int axes) {
    double rotation[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    if (object.hasRotation) rotationOf(object.rotation, rotation);
    const double sign[3] = {axes & 1 ? -1.0 : 1.0, axes & 2 ? -1.0 : 1.0, axes & 4 ? -1.0 : 1.0};
    Affine map;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) sum += rotation[r][k] * sign[k] * rotation[c][k];
            map.m[r][c] = sum;
        }
    if (object.hasTranslation) {
        const double origin[3] = {object.translation.x, object.translation.y, object.translation.z};
        for (int r = 0; r < 3; ++r) {
            map.t[r] = origin[r];
            for (int c = 0; c < 3; ++c) map.t[r] -= map.m[r][c] * origin[c];
        }
    }
    return map;
}

void appendFaceTriangles(const ObjectRecord& object, uint32_t faceIndex, std::vector<MeshTriangle>& triangles) {
    const FaceCorners face = object.faces.corners(faceIndex);
    static thread_local std::vector<Point3> corners;
    corners.clear();
    for (const int32_t index : face.vertices) {
        const VertexRecord& vertex = object.vertices[index];
        corners.push_back({vertex.x, vertex.y, vertex.z});
    }
    static thread_local std::vector<int32_t> cut;
    cut.clear();
    triangulateFace(corners, cut);
    for (size_t t = 0; t < cut.size(); t += 3) {
        MeshTriangle triangle{};
        triangle.face = faceIndex;
        for (int c = 0; c < 3; ++c) {
            triangle.corner[c] = static_cast<uint32_t>(cut[t + c]);
            triangle.vertex[c] = static_cast<uint32_t>(face.vertices[cut[t + c]]);
        }
        triangles.push_back(triangle);
    }
}

}  // namespace
