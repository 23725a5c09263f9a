#include "model/curved_surface.h"

#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "model/object_mesh.h"

namespace {

namespace Far = OpenSubdiv::Far;
namespace Sdc = OpenSubdiv::Sdc;

using Refiner = Far::TopologyRefiner;
using RefinerFactory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;

// A value carried through the refinement: a point, or what a corner carries.
// The two members are what the refiner calls.
template <int N>
struct Values {
    float v[N];

    void Clear() { std::fill(v, v + N, 0.0f); }
    void AddWithWeight(const Values& source, float weight) {
        for (int k = 0; k < N; ++k) v[k] += weight * source.v[k];
    }
};

using Point = Values<3>;
// A corner's texture coordinates, then its colour's four channels.
using Carried = Values<6>;
using ChildCorners = std::array<Carried, 4>;

// The faces that enter the refinement, on the vertices they use, and what
// each of their corners carries.
struct ControlMesh {
    std::vector<int> cornerCounts;
    std::vector<Far::Index> cornerVertices;
    std::vector<Point> points;
    std::vector<int32_t> materials;
    bool hasUvs = false;
    bool hasColours = false;
    std::vector<Carried> carried;
};

ControlMesh controlMeshOf(const ObjectRecord& object);
Carried carriedBy(const FaceCorners& face, size_t corner);
std::unique_ptr<Refiner> makeRefiner(const ControlMesh& mesh, int32_t level, std::string& refusal);
std::vector<Point> refinePoints(const Refiner& refiner, std::vector<Point> points);
template <typename Emit>
void carryDown(const Carried* corners, int count, int rounds, const Emit& emit);
ChildCorners childCorners(const Carried* corners, int count, const Carried& centre, int child);
Carried midpoint(const Carried& from, const Carried& to);
ObjectRecord refinedRecord(const Refiner& refiner, const ControlMesh& mesh);
Values<4> colourChannels(uint32_t colour);
uint32_t packedColour(const float* channels);
void keepError(Far::ErrorType type, const char* message);
void ignoreWarning(const char* message);

// What the refiner said went wrong during the current refinement.
std::string refinerErrors;

}  // namespace

int32_t curvedLevel(const ObjectRecord& object) {
    if (object.patch < 1 || object.patch > 3) return 0;
    return std::clamp(object.segment, 1, MAX_SEGMENT);
}

int64_t refinedTriangleCount(const FaceTally& control, int32_t level) {
    if (level == 0) return control.triangles;
    int64_t quads = control.corners;
    for (int32_t round = 1; round < level; ++round) quads = saturatingProduct(quads, 4);
    return saturatingProduct(quads, 2);
}

CurvedSurface refineCurvedSurface(const ObjectRecord& object, int32_t level) {
    CurvedSurface surface;
    const ControlMesh mesh = controlMeshOf(object);
    if (mesh.cornerCounts.empty()) return surface;
    const std::unique_ptr<Refiner> refiner = makeRefiner(mesh, level, surface.refusal);
    if (refiner) surface.refined = refinedRecord(*refiner, mesh);
    return surface;
}

namespace {

ControlMesh controlMeshOf(const ObjectRecord& object) {
    ControlMesh mesh;
    std::vector<Far::Index> pointOf(object.vertices.size(), -1);
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        mesh.hasUvs = mesh.hasUvs || !face.uvs.empty();
        mesh.hasColours = mesh.hasColours || !face.colours.empty();
    }
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        if (face.size() < 3 || !cornersAreVertices(face, object.vertices.size())) continue;
        mesh.cornerCounts.push_back(static_cast<int>(face.size()));
        mesh.materials.push_back(face.materialIndex);
        for (size_t corner = 0; corner < face.size(); ++corner) {
            Far::Index& point = pointOf[face.vertices[corner]];
            if (point < 0) {
                const VertexRecord& vertex = object.vertices[face.vertices[corner]];
                point = static_cast<Far::Index>(mesh.points.size());
                mesh.points.push_back({{vertex.x, vertex.y, vertex.z}});
            }
            mesh.cornerVertices.push_back(point);
            mesh.carried.push_back(carriedBy(face, corner));
        }
    }
    return mesh;
}

Carried carriedBy(const FaceCorners& face, size_t corner) {
    const TexturePoint uv = face.uv(corner);
    const Values<4> colour = colourChannels(face.colour(corner));
    return {{uv.u, uv.v, colour.v[0], colour.v[1], colour.v[2], colour.v[3]}};
}

// Open surfaces keep their boundary curves and corners as the cage has them.
std::unique_ptr<Refiner> makeRefiner(const ControlMesh& mesh, int32_t level, std::string& refusal) {
    Far::TopologyDescriptor descriptor;
    descriptor.numVertices = static_cast<int>(mesh.points.size());
    descriptor.numFaces = static_cast<int>(mesh.cornerCounts.size());
    descriptor.numVertsPerFace = mesh.cornerCounts.data();
    descriptor.vertIndicesPerFace = mesh.cornerVertices.data();
    Sdc::Options options;
    options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER);

    // NOTE: the refiner reports through callbacks of the whole process; they
    // are set for each refinement so that nothing it says reaches stdout.
    refinerErrors.clear();
    Far::SetErrorCallback(keepError);
    Far::SetWarningCallback(ignoreWarning);
    std::unique_ptr<Refiner> refiner(
        RefinerFactory::Create(descriptor, RefinerFactory::Options(Sdc::SCHEME_CATMARK, options)));
    if (refiner && refinerErrors.empty()) refiner->RefineUniform(Refiner::UniformOptions(level));
    if (refiner && refinerErrors.empty()) return refiner;
    refusal = refinerErrors.empty() ? "the refiner refused the control mesh" : refinerErrors;
    return nullptr;
}

std::vector<Point> refinePoints(const Refiner& refiner, std::vector<Point> points) {
    const Far::PrimvarRefiner primvars(refiner);
    std::vector<Point> next;
    for (int level = 1; level <= refiner.GetMaxLevel(); ++level) {
        next.resize(refiner.GetLevel(level).GetNumVertices());
        const Point* from = points.data();
        Point* to = next.data();
        primvars.Interpolate(level, from, to);
        points.swap(next);
    }
    return points;
}

// NOTE: what corners carry is blended linearly within each control face, as
// the refiner's own face-varying interpolation does by default, but without
// its face-varying topology, which cost as much again as the surface itself:
// a corner keeps its value, an edge's middle takes the mean of its two ends
// and a face's centre the mean of its corners. Seams and the outlines of
// texture islands stay where the cage has them, since no value crosses a
// face. The refiner cuts every face into one quad a corner, in the order of
// its corners, and numbers the quads of each face together, so the last
// level's faces come out of this in the refiner's order.
template <typename Emit>
void carryDown(const Carried* corners, int count, int rounds, const Emit& emit) {
    Carried centre;
    centre.Clear();
    for (int k = 0; k < count; ++k) centre.AddWithWeight(corners[k], 1.0f / static_cast<float>(count));
    for (int child = 0; child < count; ++child) {
        const ChildCorners quad = childCorners(corners, count, centre, child);
        if (rounds == 1)
            emit(quad);
        else
            carryDown(quad.data(), 4, rounds - 1, emit);
    }
}

// The refiner's quad `child` of a face: the face's own corner, the middle of
// the edge after it, the face's `centre` and the middle of the edge before it;
// the quads of a quad turn with it, each keeping its corner where the
// parent's was.
ChildCorners childCorners(const Carried* corners, int count, const Carried& centre, int child) {
    const Carried& own = corners[child];
    const int turn = count == 4 ? child : 0;
    ChildCorners quad;
    quad[turn] = own;
    quad[(turn + 1) % 4] = midpoint(own, corners[(child + 1) % count]);
    quad[(turn + 2) % 4] = centre;
    quad[(turn + 3) % 4] = midpoint(corners[(child + count - 1) % count], own);
    return quad;
}

Carried midpoint(const Carried& from, const Carried& to) {
    Carried middle;
    middle.Clear();
    middle.AddWithWeight(from, 0.5f);
    middle.AddWithWeight(to, 0.5f);
    return middle;
}

// Each refined face keeps the material of the control face it came from.
ObjectRecord refinedRecord(const Refiner& refiner, const ControlMesh& mesh) {
    const std::vector<Point> points = refinePoints(refiner, mesh.points);
    ObjectRecord refined;
    refined.vertices.reserve(points.size());
    for (const Point& point : points) refined.appendVertex({point.v[0], point.v[1], point.v[2], 0});
    const Far::TopologyLevel& last = refiner.GetLevel(refiner.GetMaxLevel());
    int face = 0;
    int32_t material = 0;
    const auto addFace = [&](const ChildCorners& quad) {
        const Far::ConstIndexArray vertices = last.GetFaceVertices(face++);
        for (int c = 0; c < vertices.size(); ++c) refined.faces.addVertex(vertices[c]);
        for (const Carried& corner : quad) {
            if (mesh.hasUvs) refined.faces.addUv({corner.v[0], corner.v[1]});
            if (mesh.hasColours) refined.faces.addColour(packedColour(corner.v + 2));
        }
        refined.finishFace(material);
    };
    const Carried* corners = mesh.carried.data();
    for (size_t control = 0; control < mesh.cornerCounts.size(); ++control) {
        material = mesh.materials[control];
        carryDown(corners, mesh.cornerCounts[control], refiner.GetMaxLevel(), addFace);
        corners += mesh.cornerCounts[control];
    }
    return refined;
}

// A corner colour's four bytes, each blended on its own.
Values<4> colourChannels(uint32_t colour) {
    Values<4> channels;
    for (int k = 0; k < 4; ++k) channels.v[k] = static_cast<float>((colour >> (8 * k)) & 0xFF);
    return channels;
}

uint32_t packedColour(const float* channels) {
    uint32_t colour = 0;
    for (int k = 0; k < 4; ++k)
        colour |= static_cast<uint32_t>(std::clamp(std::lround(channels[k]), 0l, 255l)) << (8 * k);
    return colour;
}

// The first error, on one line.
void keepError(Far::ErrorType, const char* message) {
    if (!refinerErrors.empty()) return;
    refinerErrors = message;
    std::replace(refinerErrors.begin(), refinerErrors.end(), '\n', ' ');
}

void ignoreWarning(const char*) {}

}  // namespace
