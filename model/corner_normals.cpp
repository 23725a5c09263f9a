#include "model/corner_normals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Faces exactly at the smoothing angle (a cube's sides at 90 degrees) still
// share: their normals' cosine may round a little below the angle's.
constexpr double COSINE_MARGIN = 1e-6;
// Up to this many faces at a vertex, every pair of them is compared.
constexpr size_t MAX_PAIRWISE_FACES = 64;
// Beyond that, faces are sorted into at most this many groups.
constexpr size_t MAX_NORMAL_GROUPS = 64;

struct Sum {
    double x = 0;
    double y = 0;
    double z = 0;
    void add(const Point3& n) {
        x += n.x;
        y += n.y;
        z += n.z;
    }
};

// The faces met at one vertex, each once: their normals, whether they have
// one to share (`lit`), what each sums up to and the normal its corners
// there share.
struct VertexFaces {
    std::vector<Point3> normals;
    std::vector<char> lit;
    std::vector<Sum> sums;
    std::vector<Point3> shared;
    std::vector<int32_t> group;  // when faces are grouped: -1 for none
};

// The rule for one object: its triangles, their faces and the angle.
class Smoother {
public:
    Smoother(std::span<const int32_t> triangleFaces, std::span<const Point3> faceNormals, double smallestCosine);
    // The corner's face's normal; zero when it names no face.
    Point3 ownNormal(size_t corner) const;
    // Gives the corners of one vertex their shared normals.
    void shareAtVertex(int32_t vertex, std::span<const int32_t> corners, std::vector<Point3>& cornerNormals);

private:
    int32_t faceOf(size_t corner) const;
    void sharePairwise();
    void shareByGroups();
    bool withinAngle(const Point3& a, const Point3& b) const;

    std::span<const int32_t> triangleFaces_;
    std::span<const Point3> faceNormals_;
    double smallestCosine_;
    // For each face, the last vertex it was met at and its place there.
    std::vector<int32_t> seenAt_;
    std::vector<int32_t> place_;
    // For each corner at the vertex, its face's place; -1 for none.
    std::vector<int32_t> cornerPlaces_;
    VertexFaces faces_;
    std::vector<Sum> groupSums_;
    std::vector<Point3> groupLeaders_;
};

// Corner numbers ordered by their vertex: those of vertex v are
// corners[start[v] .. start[v + 1]).
struct CornersByVertex {
    std::vector<int32_t> start;
    std::vector<int32_t> corners;
};

CornersByVertex cornersByVertex(std::span<const int32_t> triangleVertices, int32_t vertexCount);
Point3 unit(const Sum& sum, const Point3& fallback);

}  // namespace

std::vector<Point3> smoothCornerNormals(std::span<const int32_t> triangleVertices,
                                        std::span<const int32_t> triangleFaces, std::span<const Point3> faceNormals,
                                        int32_t vertexCount, float smoothingDegrees) {
    const bool smooth = smoothingDegrees > 0;
    const double radians = std::min(double(smoothingDegrees), 180.0) * std::numbers::pi / 180.0;
    Smoother smoother(triangleFaces, faceNormals, std::cos(radians) - COSINE_MARGIN);
    std::vector<Point3> normals(triangleVertices.size());
    for (size_t c = 0; c < normals.size(); ++c) {
        const int32_t v = triangleVertices[c];
        if (!smooth || v < 0 || v >= vertexCount) normals[c] = smoother.ownNormal(c);
    }
    if (!smooth) return normals;
    const CornersByVertex byVertex = cornersByVertex(triangleVertices, vertexCount);
    for (int32_t v = 0; v < vertexCount; ++v) {
        const auto first = byVertex.corners.begin() + byVertex.start[v];
        const auto last = byVertex.corners.begin() + byVertex.start[v + 1];
        smoother.shareAtVertex(v, std::span<const int32_t>(first, last), normals);
    }
    return normals;
}

namespace {

Smoother::Smoother(std::span<const int32_t> triangleFaces, std::span<const Point3> faceNormals, double smallestCosine)
    : triangleFaces_(triangleFaces),
      faceNormals_(faceNormals),
      smallestCosine_(smallestCosine),
      seenAt_(faceNormals.size(), -1),
      place_(faceNormals.size()) {}

Point3 Smoother::ownNormal(size_t corner) const {
    const int32_t face = faceOf(corner);
    return face < 0 ? Point3{} : faceNormals_[face];
}

void Smoother::shareAtVertex(int32_t vertex, std::span<const int32_t> corners, std::vector<Point3>& cornerNormals) {
    faces_.normals.clear();
    cornerPlaces_.clear();
    for (const int32_t corner : corners) {
        const int32_t face = faceOf(corner);
        if (face >= 0 && seenAt_[face] != vertex) {
            seenAt_[face] = vertex;
            place_[face] = int32_t(faces_.normals.size());
            faces_.normals.push_back(faceNormals_[face]);
        }
        cornerPlaces_.push_back(face < 0 ? -1 : place_[face]);
    }
    const size_t count = faces_.normals.size();
    faces_.lit.resize(count);
    faces_.sums.assign(count, Sum{});
    Sum everyFace;
    for (size_t i = 0; i < count; ++i) {
        const Point3& n = faces_.normals[i];
        // A unit normal squares to 1, a missing one to 0; NaN fails too.
        faces_.lit[i] = n.x * n.x + n.y * n.y + n.z * n.z > 0.5f;
        if (faces_.lit[i]) everyFace.add(n);
    }
    if (count <= MAX_PAIRWISE_FACES)
        sharePairwise();
    else
        shareByGroups();
    const Point3 unlit = unit(everyFace, Point3{});
    faces_.shared.resize(count);
    for (size_t i = 0; i < count; ++i)
        faces_.shared[i] = faces_.lit[i] ? unit(faces_.sums[i], faces_.normals[i]) : unlit;
    for (size_t k = 0; k < corners.size(); ++k) {
        if (cornerPlaces_[k] >= 0) cornerNormals[corners[k]] = faces_.shared[cornerPlaces_[k]];
    }
}

int32_t Smoother::faceOf(size_t corner) const {
    const size_t triangle = corner / 3;
    if (triangle >= triangleFaces_.size()) return -1;
    const int32_t face = triangleFaces_[triangle];
    return face >= 0 && size_t(face) < faceNormals_.size() ? face : -1;
}

// Each pair once, both ways. A face with no normal adds nothing to the sums
// it falls in, and its own sum goes unused.
void Smoother::sharePairwise() {
    const size_t count = faces_.normals.size();
    for (size_t i = 0; i < count; ++i) {
        const Point3& n = faces_.normals[i];
        faces_.sums[i].add(n);
        for (size_t j = i + 1; j < count; ++j) {
            if (!withinAngle(n, faces_.normals[j])) continue;
            faces_.sums[i].add(faces_.normals[j]);
            faces_.sums[j].add(n);
        }
    }
}

// Each face joins the first group whose leader is within the angle, or leads
// a new one; the faces of a group are summed once and share the sum.
void Smoother::shareByGroups() {
    const size_t count = faces_.normals.size();
    groupSums_.clear();
    groupLeaders_.clear();
    faces_.group.assign(count, -1);
    for (size_t i = 0; i < count; ++i) {
        if (!faces_.lit[i]) continue;
        const Point3& n = faces_.normals[i];
        size_t g = 0;
        while (g < groupLeaders_.size() && !withinAngle(groupLeaders_[g], n)) ++g;
        if (g == MAX_NORMAL_GROUPS) {
            faces_.sums[i].add(n);
            continue;
        }
        if (g == groupLeaders_.size()) {
            groupLeaders_.push_back(n);
            groupSums_.emplace_back();
        }
        groupSums_[g].add(n);
        faces_.group[i] = int32_t(g);
    }
    for (size_t i = 0; i < count; ++i) {
        if (faces_.group[i] >= 0) faces_.sums[i] = groupSums_[faces_.group[i]];
    }
}

bool Smoother::withinAngle(const Point3& a, const Point3& b) const {
    return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z >= smallestCosine_;
}

// A counting sort of the corners by vertex; corners naming no vertex of the
// object are left out.
CornersByVertex cornersByVertex(std::span<const int32_t> triangleVertices, int32_t vertexCount) {
    CornersByVertex byVertex;
    byVertex.start.assign(size_t(std::max(vertexCount, 0)) + 1, 0);
    for (const int32_t v : triangleVertices) {
        if (v >= 0 && v < vertexCount) ++byVertex.start[v + 1];
    }
    for (size_t v = 1; v < byVertex.start.size(); ++v) byVertex.start[v] += byVertex.start[v - 1];
    byVertex.corners.resize(size_t(byVertex.start.back()));
    std::vector<int32_t> next(byVertex.start.begin(), byVertex.start.end() - 1);
    for (size_t c = 0; c < triangleVertices.size(); ++c) {
        const int32_t v = triangleVertices[c];
        if (v >= 0 && v < vertexCount) byVertex.corners[next[v]++] = int32_t(c);
    }
    return byVertex;
}

// The sum's direction, or `fallback` when the normals summed cancel out.
Point3 unit(const Sum& sum, const Point3& fallback) {
    const double length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
    if (!(length > 1e-6)) return fallback;
    return {float(sum.x / length), float(sum.y / length), float(sum.z / length)};
}

}  // namespace
