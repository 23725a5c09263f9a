#include "physics/body_hold.h"

#include <ode/ode.h>

#include <cmath>

#include "physics/bodies.h"
#include "physics/physics_world.h"

namespace {

// How much of the distance between the held point and the pointer a step
// makes good: the body follows within a few steps, without overshooting.
constexpr dReal HOLD_ERP = 0.5;
// A body held by a point would swing about it for long: the share of its
// turning it loses each step while held.
constexpr dReal HOLD_ANGULAR_DAMPING = 0.3;

struct Hold {
    int32_t body = -1;
    dJointID joint = nullptr;
};

Hold hold;

std::optional<BodyHit> hitOn(int32_t body, dGeomID ray, const Vector3d& origin, const Vector3d& direction,
                             double scale);

}  // namespace

// NOTE: a body drawn `scale` times its size is met where its own shape
// meets the ray shrunk by `scale` about the body's origin: the distances
// found along the shrunk ray are `scale` times too short.
std::optional<BodyHit> firstBodyHit(const Vector3d& origin, const Vector3d& direction, double scale) {
    std::optional<BodyHit> nearest;
    if (!(scale > 0) || physicsWorld.bodySpace == nullptr) return nearest;
    dGeomID ray = dCreateRay(nullptr, 1);
    for (int32_t body = 0; body < MAX_OBJECTS && bodyTable[body].body != nullptr; ++body) {
        if (bodyTable[body].geom == nullptr) continue;
        const std::optional<BodyHit> hit = hitOn(body, ray, origin, direction, scale);
        if (hit && (!nearest || hit->distance < nearest->distance)) nearest = hit;
    }
    dGeomDestroy(ray);
    return nearest;
}

// NOTE: the joint holds the body by the point found on it as drawn, which
// for a body drawn larger or smaller than itself lies off its own surface,
// turning with it: what is seen held is what follows the pointer.
void holdBody(const BodyHit& hit) {
    dropHeldBody();
    const dBodyID body = bodyTable[hit.body].body;
    hold.body = hit.body;
    hold.joint = dJointCreateBall(physicsWorld.world, nullptr);
    dJointAttach(hold.joint, body, nullptr);
    dJointSetBallAnchor(hold.joint, hit.point.x, hit.point.y, hit.point.z);
    dJointSetBallParam(hold.joint, dParamERP, HOLD_ERP);
    dBodySetAngularDamping(body, HOLD_ANGULAR_DAMPING);
    dBodyEnable(body);
}

int32_t heldBody() {
    return hold.body;
}

void dragHeldBody(const Vector3d& target) {
    if (hold.joint != nullptr) dJointSetBallAnchor2(hold.joint, target.x, target.y, target.z);
}

void throwHeldBody(const Vector3d& velocity) {
    if (hold.joint == nullptr) return;
    const dBodyID body = bodyTable[hold.body].body;
    dropHeldBody();
    dBodySetLinearVel(body, velocity.x, velocity.y, velocity.z);
}

void dropHeldBody() {
    if (hold.joint == nullptr) return;
    dJointDestroy(hold.joint);
    dBodySetDampingDefaults(bodyTable[hold.body].body);
    hold = Hold{};
}

namespace {

std::optional<BodyHit> hitOn(int32_t body, dGeomID ray, const Vector3d& origin, const Vector3d& direction,
                             double scale) {
    const dReal* centre = dBodyGetPosition(bodyTable[body].body);
    const double start[3] = {centre[0] + (origin.x - centre[0]) / scale, centre[1] + (origin.y - centre[1]) / scale,
                             centre[2] + (origin.z - centre[2]) / scale};
    dGeomRaySet(ray, start[0], start[1], start[2], direction.x, direction.y, direction.z);
    // Far enough to reach through the body from wherever the ray starts.
    const double across = std::hypot(start[0] - centre[0], start[1] - centre[1], start[2] - centre[2]);
    dGeomRaySetLength(ray, across + 2 * std::hypot(bodyTable[body].sizeX, bodyTable[body].sizeY, bodyTable[body].sizeZ));
    dContactGeom contact;
    if (dCollide(ray, bodyTable[body].geom, 1, &contact, sizeof contact) == 0) return std::nullopt;
    BodyHit hit;
    hit.body = body;
    hit.distance = contact.depth * scale;
    hit.point = {centre[0] + (contact.pos[0] - centre[0]) * scale, centre[1] + (contact.pos[1] - centre[1]) * scale,
                 centre[2] + (contact.pos[2] - centre[2]) * scale};
    return hit;
}

}  // namespace
