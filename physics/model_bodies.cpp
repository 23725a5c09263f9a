#include "physics/model_bodies.h"

#include <ode/ode.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/model_layout.h"
#include "physics/bodies.h"
#include "physics/body_contacts.h"
#include "physics/physics_world.h"
#include "physics/point_blocks.h"

namespace {

// The drop starts with the model's bottom as high over the ground as the
// bundled demo's bodies start.
constexpr double DROP_HEIGHT = 150.0;
constexpr double BODY_MASS = 10.0;
// A body resting on many corners is held by a handful of them spread under
// it; any more only slow the step down.
constexpr int MAX_GROUND_CONTACTS = 32;
constexpr double BOUNCE = 0.8;
constexpr double BOUNCE_VELOCITY = 0.8;
// Widens the spheres about the points, in parts of the body's reach, by far
// more than the rounding in the heights.
constexpr double SPHERE_MARGIN = 1e-9;

struct BodyPoints {
    // x, y, z of each vertex in world units, from the body's origin, as
    // collected; grouped into blocks once the body is made.
    std::vector<float> offsets;
    BlockedPoints blocked;
    // The farthest any of them lies from the origin.
    double reach = 0;
};

std::vector<BodyPoints> bodyPoints;

Point3 worldOffset(const Point3& modelPoint, const Point3& origin);
void createBody(int32_t body);
void contactsOf(int32_t body, const BodyPoints& points);
std::vector<dContactGeom> spreadDeepest(std::vector<dContactGeom> below);

}  // namespace

void collectBodyPoints(int32_t object, const ObjectMesh& mesh) {
    const int32_t body = modelLayout.bodyOfObject[object];
    if (body < 0) return;
    if (bodyPoints.size() < static_cast<size_t>(modelLayout.bodyCount)) bodyPoints.resize(modelLayout.bodyCount);
    std::vector<bool> used(mesh.positions.size(), false);
    for (const MeshTriangle& triangle : mesh.triangles)
        for (uint32_t vertex : triangle.vertex) used[vertex] = true;
    BodyPoints& points = bodyPoints[body];
    for (size_t v = 0; v < used.size(); ++v) {
        if (!used[v]) continue;
        const Point3 offset = worldOffset(mesh.positions[v], modelLayout.bodyCentre[body]);
        if (!(std::isfinite(offset.x) && std::isfinite(offset.y) && std::isfinite(offset.z))) continue;
        points.offsets.insert(points.offsets.end(), {offset.x, offset.y, offset.z});
        points.reach = std::max(points.reach, std::sqrt(double(offset.x) * offset.x + double(offset.y) * offset.y +
                                                        double(offset.z) * offset.z));
    }
}

void createModelBodies() {
    bodyPoints.resize(modelLayout.bodyCount);
    for (int32_t body = 0; body < modelLayout.bodyCount; ++body) {
        createBody(body);
        BodyPoints& points = bodyPoints[body];
        points.blocked = groupIntoBlocks(points.offsets, SPHERE_MARGIN * points.reach);
        points.offsets = {};
        addBodyShape(body, points.blocked);
    }
}

void addGroundContacts() {
    for (size_t body = 0; body < bodyPoints.size(); ++body) contactsOf(static_cast<int32_t>(body), bodyPoints[body]);
}

dSurfaceParameters bodySurface() {
    dSurfaceParameters surface{};
    surface.mode = dContactBounce;
    surface.mu = dInfinity;
    surface.bounce = BOUNCE;
    surface.bounce_vel = BOUNCE_VELOCITY;
    return surface;
}

void releaseModelBodies() {
    bodyPoints.clear();
    bodyPoints.shrink_to_fit();
}

namespace {

// NOTE: the difference is taken in single precision, as the points are.
Point3 worldOffset(const Point3& modelPoint, const Point3& origin) {
    const Vector3d offset = worldOffsetOf({modelPoint.x - origin.x, modelPoint.y - origin.y, modelPoint.z - origin.z});
    return {static_cast<float>(offset.x), static_cast<float>(offset.y), static_cast<float>(offset.z)};
}

void createBody(int32_t body) {
    BodyEntry& entry = bodyTable[body];
    entry.body = dBodyCreate(physicsWorld.world);
    entry.geom = nullptr;
    // The body turns like a box the size of its objects.
    const Bounds& bounds = modelLayout.bodyBounds[body];
    const double scale = modelLayout.worldScale;
    const double smallest = 0.01 * 2.0 * modelRadius() * scale;
    entry.mass = BODY_MASS;
    entry.sizeX = std::max((bounds.max.x - bounds.min.x) * scale, smallest);
    entry.sizeY = std::max((bounds.max.z - bounds.min.z) * scale, smallest);
    entry.sizeZ = std::max((bounds.max.y - bounds.min.y) * scale, smallest);
    dMass mass;
    dMassSetBoxTotal(&mass, entry.mass, entry.sizeX, entry.sizeY, entry.sizeZ);
    dBodySetMass(entry.body, &mass);
    const Point3 start = worldOffset(modelLayout.bodyCentre[body], modelLayout.anchor);
    // A paused world shows the model where it was modelled, on the ground.
    dBodySetPosition(entry.body, start.x, start.y, start.z + (physicsWorld.paused ? 0.0 : DROP_HEIGHT));
}

void contactsOf(int32_t body, const BodyPoints& points) {
    const dBodyID id = bodyTable[body].body;
    const dReal* position = dBodyGetPosition(id);
    if (position[2] > points.reach) return;
    const dReal* rotation = dBodyGetRotation(id);
    const auto heightOf = [&](const auto& offset) {
        return position[2] + rotation[8] * offset[0] + rotation[9] * offset[1] + rotation[10] * offset[2];
    };
    // Each point below the ground with its place in the order collected,
    // which decides between points of the same depth or distance.
    std::vector<std::pair<uint32_t, dContactGeom>> found;
    const BlockedPoints& blocked = points.blocked;
    for (const PointBlock& block : blocked.blocks) {
        if (heightOf(block.centre) - block.radius >= 0) continue;
        for (uint32_t p = block.first; p < block.end; ++p) {
            const float* offset = &blocked.offsets[3 * p];
            const double height = heightOf(offset);
            if (height >= 0) continue;
            const double x = offset[0], y = offset[1], z = offset[2];
            dContactGeom contact{};
            contact.pos[0] = position[0] + rotation[0] * x + rotation[1] * y + rotation[2] * z;
            contact.pos[1] = position[1] + rotation[4] * x + rotation[5] * y + rotation[6] * z;
            contact.pos[2] = height;
            contact.normal[2] = 1;
            contact.depth = -height;
            found.emplace_back(blocked.given[p], contact);
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<dContactGeom> below(found.size());
    std::transform(found.begin(), found.end(), below.begin(), [](const auto& point) { return point.second; });
    for (const dContactGeom& point : spreadDeepest(std::move(below))) {
        dContact contact{};
        contact.surface = bodySurface();
        contact.geom = point;
        dJointID joint = dJointCreateContact(physicsWorld.world, physicsWorld.contactGroup, &contact);
        dJointAttach(joint, id, nullptr);
    }
}

// The deepest point, then again and again the point farthest across the
// ground from those chosen: a few points that span the whole footprint, so a
// flat underside of hundreds of corners rests on its edges and settles.
std::vector<dContactGeom> spreadDeepest(std::vector<dContactGeom> below) {
    if (below.size() <= static_cast<size_t>(MAX_GROUND_CONTACTS)) return below;
    std::vector<dContactGeom> chosen;
    auto deepest = std::max_element(below.begin(), below.end(),
                                    [](const dContactGeom& a, const dContactGeom& b) { return a.depth < b.depth; });
    chosen.push_back(*deepest);
    // Each pass reads every point's place across the ground: packed
    // together, they stay in the cache.
    std::vector<std::array<double, 2>> across(below.size());
    for (size_t p = 0; p < below.size(); ++p) across[p] = {below[p].pos[0], below[p].pos[1]};
    std::vector<double> distance(below.size(), INFINITY);
    while (chosen.size() < static_cast<size_t>(MAX_GROUND_CONTACTS)) {
        const dContactGeom& last = chosen.back();
        size_t farthest = 0;
        for (size_t p = 0; p < across.size(); ++p) {
            const double dx = across[p][0] - last.pos[0], dy = across[p][1] - last.pos[1];
            distance[p] = std::min(distance[p], dx * dx + dy * dy);
            if (distance[p] > distance[farthest]) farthest = p;
        }
        if (distance[farthest] <= 0) break;
        chosen.push_back(below[farthest]);
    }
    return chosen;
}

}  // namespace
