#include "model/lathe_surface.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/object_mesh.h"

namespace {

// A point counts as on the axis within this part of the profile's reach:
// modellers snap the ends of a closed profile onto the axis, and a point
// there turned in place would make faces with no area.
constexpr double ON_AXIS = 1e-6;

constexpr double TWO_PI = 6.28318530717958647692;

// The profile: the object's lines, and which of their points lie on the
// axis.
struct Profile {
    std::vector<FaceCorners> lines;
    std::vector<bool> onAxis;  // by vertex
    int64_t quadLines = 0;
    int64_t triangleLines = 0;
};

Profile profileOf(const ObjectRecord& object);
bool isProfileLine(const FaceCorners& face, size_t vertexCount);
double distanceFromAxis(const VertexRecord& vertex, int axis);

}  // namespace

int32_t latheSteps(const ObjectRecord& object) {
    if (object.lathe == 0) return 0;
    return std::clamp(object.latheSeg, MIN_LATHE_STEPS, MAX_LATHE_STEPS);
}

int latheAxisOf(const ObjectRecord& object) {
    return object.latheAxis == 1 || object.latheAxis == 2 ? object.latheAxis : 0;
}

FaceTally LatheTally::surface(int32_t steps) const {
    return {saturatingProduct(steps, perStep.corners), saturatingProduct(steps, perStep.triangles)};
}

FaceTally LatheTally::whole(int32_t steps) const {
    const FaceTally made = surface(steps);
    return {saturatingSum(others.corners, made.corners), saturatingSum(others.triangles, made.triangles)};
}

LatheTally tallyLathe(const ObjectRecord& object) {
    const Profile profile = profileOf(object);
    return {tallyFaces(object),
            {4 * profile.quadLines + 3 * profile.triangleLines, 2 * profile.quadLines + profile.triangleLines}};
}

ObjectRecord latheSurface(const ObjectRecord& object, int32_t steps) {
    const Profile profile = profileOf(object);
    const int axis = latheAxisOf(object);
    const int across = (axis + 1) % 3, up = (axis + 2) % 3;
    const int32_t vertexCount = static_cast<int32_t>(object.vertices.size());
    ObjectRecord surface;
    for (const VertexRecord& vertex : object.vertices) surface.appendVertex(vertex);
    // Each turned point's place among those of its step.
    std::vector<int32_t> slot(object.vertices.size(), -1);
    std::vector<int32_t> turning;
    for (const FaceCorners& line : profile.lines)
        for (const int32_t vertex : line.vertices)
            if (!profile.onAxis[vertex] && slot[vertex] < 0) {
                slot[vertex] = static_cast<int32_t>(turning.size());
                turning.push_back(vertex);
            }
    for (int32_t step = 1; step < steps; ++step) {
        const double angle = TWO_PI * step / steps, c = std::cos(angle), s = std::sin(angle);
        for (const int32_t index : turning) {
            const VertexRecord& vertex = object.vertices[index];
            const double point[3] = {vertex.x, vertex.y, vertex.z};
            float turned[3] = {vertex.x, vertex.y, vertex.z};
            turned[across] = static_cast<float>(c * point[across] - s * point[up]);
            turned[up] = static_cast<float>(s * point[across] + c * point[up]);
            surface.appendVertex({turned[0], turned[1], turned[2], vertex.weight});
        }
    }
    const int32_t turnedCount = static_cast<int32_t>(turning.size());
    const auto at = [&](int32_t vertex, int32_t step) {
        const int32_t wrapped = step % steps;
        return wrapped == 0 || profile.onAxis[vertex] ? vertex
                                                      : vertexCount + (wrapped - 1) * turnedCount + slot[vertex];
    };

    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        if (face.size() >= 3 && cornersAreVertices(face, object.vertices.size())) appendFace(surface, face);
    }
    for (const FaceCorners& line : profile.lines) {
        const int32_t a = line.vertices[0], b = line.vertices[1];
        if (profile.onAxis[a] && profile.onAxis[b]) continue;
        for (int32_t step = 0; step < steps; ++step) {
            // The quad a, b, b turned, a turned, with a point on the axis
            // named once; each corner has the colour of the line's corner
            // it was turned from.
            const int32_t corners[4] = {at(a, step), at(b, step), at(b, step + 1), at(a, step + 1)};
            for (int k = 0; k < 4; ++k) {
                if (k > 0 && (corners[k] == corners[k - 1] || corners[k] == corners[0])) continue;
                surface.faces.addVertex(corners[k]);
                if (!line.colours.empty()) surface.faces.addColour(line.colour(k == 0 || k == 3 ? 0 : 1));
            }
            surface.finishFace(line.materialIndex);
        }
    }
    return surface;
}

namespace {

Profile profileOf(const ObjectRecord& object) {
    Profile profile;
    const int axis = latheAxisOf(object);
    double reach = 0;
    for (size_t f = 0; f < object.faces.size(); ++f) {
        const FaceCorners face = object.faces.corners(f);
        if (!isProfileLine(face, object.vertices.size())) continue;
        profile.lines.push_back(face);
        for (const int32_t vertex : face.vertices) {
            const VertexRecord& point = object.vertices[vertex];
            for (const float coordinate : {point.x, point.y, point.z})
                if (std::isfinite(coordinate)) reach = std::max(reach, std::fabs(double(coordinate)));
        }
    }
    profile.onAxis.assign(object.vertices.size(), false);
    for (const FaceCorners& line : profile.lines)
        for (const int32_t vertex : line.vertices)
            profile.onAxis[vertex] = distanceFromAxis(object.vertices[vertex], axis) <= ON_AXIS * reach;
    for (const FaceCorners& line : profile.lines) {
        const int onAxis = profile.onAxis[line.vertices[0]] + profile.onAxis[line.vertices[1]];
        if (onAxis == 0) ++profile.quadLines;
        if (onAxis == 1) ++profile.triangleLines;
    }
    return profile;
}

// A line of two different vertices of the object.
bool isProfileLine(const FaceCorners& face, size_t vertexCount) {
    return face.size() == 2 && cornersAreVertices(face, vertexCount) && face.vertices[0] != face.vertices[1];
}

double distanceFromAxis(const VertexRecord& vertex, int axis) {
    const double point[3] = {vertex.x, vertex.y, vertex.z};
    return std::hypot(point[(axis + 1) % 3], point[(axis + 2) % 3]);
}

}  // namespace
