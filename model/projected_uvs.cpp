#include "model/projected_uvs.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "model/object_mesh.h"
#include "model/shape_faces.h"

namespace {

constexpr double PI = 3.14159265358979323846;
// A corner this close to the axis, in parts of its height, has no angle
// about it worth taking.
constexpr double ON_AXIS = 1e-6;

enum ProjectionType { Planar = 1, Cylindrical = 2, Spherical = 3 };

// Model points into the frame and over the size of a projection.
struct Projection {
    int32_t type = 0;
    double origin[3] = {0, 0, 0};
    // The frame's axes in the model: the rows of the turn from the frame.
    double turn[3][3] = {};
    double size[3] = {1, 1, 1};
};

struct ProjectedCorner {
    TexturePoint uv;
    bool onAxis = false;
};

std::vector<std::optional<Projection>> projectionsOf(std::span<const MaterialRecord> materials);
bool usesAny(const ObjectRecord& object, const std::vector<std::optional<Projection>>& projections);
void appendProjectedFace(ObjectRecord& target, const ObjectRecord& object, const FaceCorners& face,
                         const Projection& projection);
ProjectedCorner projectedCorner(const Projection& projection, const VertexRecord& vertex);
void closeSeam(std::vector<ProjectedCorner>& corners);
bool allFinite(const float (&values)[3]);

}  // namespace

const char* projectionName(int32_t projType) {
    switch (projType) {
    case Planar: return "planar";
    case Cylindrical: return "cylindrical";
    case Spherical: return "spherical";
    default: return nullptr;
    }
}

bool hasProjection(const MaterialRecord& material) {
    if (projectionName(material.projType) == nullptr) return false;
    const bool sized = std::all_of(std::begin(material.projScale), std::end(material.projScale),
                                   [](float side) { return std::isfinite(side) && side != 0; });
    return sized && allFinite(material.projPos) && allFinite(material.projAngle);
}

void projectTextureCoordinates(ObjectRecord& object, std::span<const MaterialRecord> materials) {
    const std::vector<std::optional<Projection>> projections = projectionsOf(materials);
    if (!usesAny(object, projections)) return;
    ObjectRecord projected;
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        const int32_t material = face.materialIndex;
        const bool projects = material >= 0 && static_cast<size_t>(material) < projections.size() &&
                              projections[material] && cornersAreVertices(face, object.vertices.size());
        if (projects)
            appendProjectedFace(projected, object, face, *projections[material]);
        else
            appendFace(projected, face);
    }
    object.faces = std::move(projected.faces);
}

namespace {

std::vector<std::optional<Projection>> projectionsOf(std::span<const MaterialRecord> materials) {
    std::vector<std::optional<Projection>> projections(materials.size());
    for (size_t m = 0; m < materials.size(); ++m) {
        const MaterialRecord& material = materials[m];
        if (!hasProjection(material)) continue;
        Projection& projection = projections[m].emplace();
        projection.type = material.projType;
        rotationOf({material.projAngle[0], material.projAngle[1], material.projAngle[2]}, projection.turn);
        for (int k = 0; k < 3; ++k) {
            projection.origin[k] = material.projPos[k];
            projection.size[k] = material.projScale[k];
        }
    }
    return projections;
}

bool usesAny(const ObjectRecord& object, const std::vector<std::optional<Projection>>& projections) {
    if (std::none_of(projections.begin(), projections.end(), [](const auto& p) { return p.has_value(); })) return false;
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const int32_t material = object.faces.corners(f).materialIndex;
        if (material >= 0 && static_cast<size_t>(material) < projections.size() && projections[material]) return true;
    }
    return false;
}

void appendProjectedFace(ObjectRecord& target, const ObjectRecord& object, const FaceCorners& face,
                         const Projection& projection) {
    static thread_local std::vector<ProjectedCorner> corners;
    corners.clear();
    for (const int32_t vertex : face.vertices) corners.push_back(projectedCorner(projection, object.vertices[vertex]));
    if (projection.type != Planar) closeSeam(corners);
    for (size_t c = 0; c < face.size(); ++c) {
        target.faces.addVertex(face.vertices[c]);
        target.faces.addUv(corners[c].uv);
    }
    for (const uint32_t colour : face.colours) target.faces.addColour(colour);
    target.finishFace(face.materialIndex);
}

ProjectedCorner projectedCorner(const Projection& projection, const VertexRecord& vertex) {
    const double offset[3] = {vertex.x - projection.origin[0], vertex.y - projection.origin[1],
                              vertex.z - projection.origin[2]};
    // The turn's transpose takes the model's axes into the frame's.
    double local[3];
    for (int k = 0; k < 3; ++k) {
        local[k] = 0;
        for (int r = 0; r < 3; ++r) local[k] += projection.turn[r][k] * offset[r];
        local[k] /= projection.size[k];
    }
    const double x = local[0], y = local[1], z = local[2];
    if (projection.type == Planar) return {{static_cast<float>(x + 0.5), static_cast<float>(0.5 - y)}};
    const double around = std::hypot(x, z);
    ProjectedCorner corner;
    corner.onAxis = around <= ON_AXIS * std::fabs(y);
    corner.uv.u = static_cast<float>(0.5 + std::atan2(x, z) / (2 * PI));
    if (projection.type == Cylindrical) {
        corner.uv.v = static_cast<float>(0.5 - y);
    } else {
        const double latitude = around == 0 && y == 0 ? 0 : std::atan2(y, around);
        corner.uv.v = static_cast<float>(0.5 - latitude / PI);
    }
    return corner;
}

// A face whose corners lie more than half the way round apart spans the
// seam the short way: its corners before the seam go once round further.
void closeSeam(std::vector<ProjectedCorner>& corners) {
    float low = 1, high = 0, sum = 0;
    int around = 0;
    for (const ProjectedCorner& corner : corners) {
        if (corner.onAxis) continue;
        low = std::min(low, corner.uv.u);
        high = std::max(high, corner.uv.u);
    }
    for (ProjectedCorner& corner : corners) {
        if (corner.onAxis) continue;
        if (high - low > 0.5f && corner.uv.u < 0.5f) corner.uv.u += 1;
        sum += corner.uv.u;
        ++around;
    }
    for (ProjectedCorner& corner : corners)
        if (corner.onAxis && around > 0) corner.uv.u = sum / static_cast<float>(around);
}

bool allFinite(const float (&values)[3]) {
    return std::all_of(std::begin(values), std::end(values), [](float value) { return std::isfinite(value); });
}

}  // namespace
