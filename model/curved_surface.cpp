#include "model/curved_surface.h"

#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/object_mesh.h"

namespace {

namespace Far = OpenSubdiv::Far;
namespace Sdc = OpenSubdiv::Sdc;

using Refiner = Far::TopologyRefiner;
using RefinerFactory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;

// A value carried through the refinement: a point, texture coordinates or
// the four channels of a colour. The two members are what the refiner calls.
template <int N>
struct Values {
    float v[N];

    void Clear() { std::fill(v, v + N, 0.0f); }
    void AddWithWeight(const Values& source, float weight) {
        for (int k = 0; k < N; ++k) v[k] += weight * source.v[k];
    }
};

// A per-corner channel: the distinct values at each vertex and the one each
// corner takes. Corners that share a vertex and a value share it, so the
// surface blends across them; a seam is where they differ.
template <int N>
struct CornerChannel {
    std::vector<Values<N>> values;
    std::vector<Far::Index> ofCorner;
};

template <int N>
struct CornerKey {
    Far::Index vertex;
    uint32_t bits[N];

    bool operator==(const CornerKey&) const = default;
};

struct CornerKeyHash {
    template <int N>
    size_t operator()(const CornerKey<N>& key) const {
        uint64_t hash = static_cast<uint32_t>(key.vertex);
        for (const uint32_t bits : key.bits) hash = (hash ^ bits) * 0x9E3779B97F4A7C15ull;
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};

template <int N>
using CornerValues = std::unordered_map<CornerKey<N>, Far::Index, CornerKeyHash>;

// The faces that enter the refinement, on the vertices they use.
struct ControlMesh {
    std::vector<int> cornerCounts;
    std::vector<Far::Index> cornerVertices;
    std::vector<Values<3>> points;
    std::vector<int32_t> materials;
    bool hasUvs = false;
    bool hasColours = false;
    CornerChannel<2> uvs;
    CornerChannel<4> colours;
};

ControlMesh controlMeshOf(const ObjectRecord& object);
template <int N>
void addCorner(CornerChannel<N>& channel, CornerValues<N>& known, Far::Index vertex, const Values<N>& value);
std::unique_ptr<Refiner> makeRefiner(const ControlMesh& mesh, int32_t level, std::string& refusal);
template <int N>
std::vector<Values<N>> refineValues(const Refiner& refiner, std::vector<Values<N>> values, int channel);
std::vector<int32_t> refineFaceMaterials(const Refiner& refiner, std::vector<int32_t> materials);
ObjectRecord refinedRecord(const Refiner& refiner, const ControlMesh& mesh);
Values<4> colourChannels(uint32_t colour);
uint32_t packedColour(const Values<4>& channels);
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
    CornerValues<2> knownUvs;
    CornerValues<4> knownColours;
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
            if (mesh.hasUvs) addCorner(mesh.uvs, knownUvs, point, {{face.uv(corner).u, face.uv(corner).v}});
            if (mesh.hasColours) addCorner(mesh.colours, knownColours, point, colourChannels(face.colour(corner)));
        }
    }
    return mesh;
}

template <int N>
void addCorner(CornerChannel<N>& channel, CornerValues<N>& known, Far::Index vertex, const Values<N>& value) {
    CornerKey<N> key{vertex, {}};
    for (int k = 0; k < N; ++k) key.bits[k] = std::bit_cast<uint32_t>(value.v[k]);
    const auto [found, added] = known.try_emplace(key, static_cast<Far::Index>(channel.values.size()));
    if (added) channel.values.push_back(value);
    channel.ofCorner.push_back(found->second);
}

// Open surfaces keep their boundary curves and corners, and texture islands
// their outlines, as the cage has them.
std::unique_ptr<Refiner> makeRefiner(const ControlMesh& mesh, int32_t level, std::string& refusal) {
    Far::TopologyDescriptor descriptor;
    descriptor.numVertices = static_cast<int>(mesh.points.size());
    descriptor.numFaces = static_cast<int>(mesh.cornerCounts.size());
    descriptor.numVertsPerFace = mesh.cornerCounts.data();
    descriptor.vertIndicesPerFace = mesh.cornerVertices.data();
    Far::TopologyDescriptor::FVarChannel channels[2];
    if (mesh.hasUvs) {
        channels[descriptor.numFVarChannels].numValues = static_cast<int>(mesh.uvs.values.size());
        channels[descriptor.numFVarChannels++].valueIndices = mesh.uvs.ofCorner.data();
    }
    if (mesh.hasColours) {
        channels[descriptor.numFVarChannels].numValues = static_cast<int>(mesh.colours.values.size());
        channels[descriptor.numFVarChannels++].valueIndices = mesh.colours.ofCorner.data();
    }
    descriptor.fvarChannels = channels;
    Sdc::Options options;
    options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_AND_CORNER);
    options.SetFVarLinearInterpolation(Sdc::Options::FVAR_LINEAR_BOUNDARIES);

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

// Values at the vertices (`channel` -1) or at the corners of that channel,
// carried from the cage to the last level.
template <int N>
std::vector<Values<N>> refineValues(const Refiner& refiner, std::vector<Values<N>> values, int channel) {
    const Far::PrimvarRefiner primvars(refiner);
    std::vector<Values<N>> next;
    for (int level = 1; level <= refiner.GetMaxLevel(); ++level) {
        const Far::TopologyLevel& child = refiner.GetLevel(level);
        next.resize(channel < 0 ? child.GetNumVertices() : child.GetNumFVarValues(channel));
        const Values<N>* from = values.data();
        Values<N>* to = next.data();
        if (channel < 0)
            primvars.Interpolate(level, from, to);
        else
            primvars.InterpolateFaceVarying(level, from, to, channel);
        values.swap(next);
    }
    return values;
}

std::vector<int32_t> refineFaceMaterials(const Refiner& refiner, std::vector<int32_t> materials) {
    const Far::PrimvarRefiner primvars(refiner);
    std::vector<int32_t> next;
    for (int level = 1; level <= refiner.GetMaxLevel(); ++level) {
        next.resize(refiner.GetLevel(level).GetNumFaces());
        const int32_t* from = materials.data();
        int32_t* to = next.data();
        primvars.InterpolateFaceUniform(level, from, to);
        materials.swap(next);
    }
    return materials;
}

ObjectRecord refinedRecord(const Refiner& refiner, const ControlMesh& mesh) {
    const std::vector<Values<3>> points = refineValues(refiner, mesh.points, -1);
    const std::vector<Values<2>> uvs =
        mesh.hasUvs ? refineValues(refiner, mesh.uvs.values, 0) : std::vector<Values<2>>{};
    const std::vector<Values<4>> colours =
        mesh.hasColours ? refineValues(refiner, mesh.colours.values, mesh.hasUvs ? 1 : 0) : std::vector<Values<4>>{};
    const std::vector<int32_t> materials = refineFaceMaterials(refiner, mesh.materials);

    ObjectRecord refined;
    refined.vertices.reserve(points.size());
    for (const Values<3>& point : points) refined.appendVertex({point.v[0], point.v[1], point.v[2], 0});
    const Far::TopologyLevel& last = refiner.GetLevel(refiner.GetMaxLevel());
    for (int f = 0; f < last.GetNumFaces(); ++f) {
        const Far::ConstIndexArray corners = last.GetFaceVertices(f);
        for (int c = 0; c < corners.size(); ++c) refined.faces.addVertex(corners[c]);
        if (mesh.hasUvs) {
            const Far::ConstIndexArray values = last.GetFaceFVarValues(f, 0);
            for (int c = 0; c < values.size(); ++c) refined.faces.addUv({uvs[values[c]].v[0], uvs[values[c]].v[1]});
        }
        if (mesh.hasColours) {
            const Far::ConstIndexArray values = last.GetFaceFVarValues(f, mesh.hasUvs ? 1 : 0);
            for (int c = 0; c < values.size(); ++c) refined.faces.addColour(packedColour(colours[values[c]]));
        }
        refined.finishFace(materials[f]);
    }
    return refined;
}

// A corner colour's four bytes, each blended on its own.
Values<4> colourChannels(uint32_t colour) {
    Values<4> channels;
    for (int k = 0; k < 4; ++k) channels.v[k] = static_cast<float>((colour >> (8 * k)) & 0xFF);
    return channels;
}

uint32_t packedColour(const Values<4>& channels) {
    uint32_t colour = 0;
    for (int k = 0; k < 4; ++k)
        colour |= static_cast<uint32_t>(std::clamp(std::lround(channels.v[k]), 0l, 255l)) << (8 * k);
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
