#include "physics/body_hold.h"

#include <ode/ode.h>

#include "physics/bodies.h"
#include "physics/body_contacts.h"
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

std::optional<BodyHit> hitOn(int32_t body, const Vector3d& origin, const Vector3d& direction, double scale);

}  // namespace

// NOTE: ODE's own ray misses convex geometries it plainly crosses, when it
// comes at a slant; the ray is taken through each body's hull here instead.
std::optional<BodyHit> firstBodyHit(const Vector3d& origin, const Vector3d& direction, double scale) {
    std::optional<BodyHit> nearest;
    if (!(scale > 0) || physicsWorld.bodySpace == nullptr) return nearest;
    for (int32_t body = 0; body < MAX_OBJECTS && bodyTable[body].body != nullptr; ++body) {
        const std::optional<BodyHit> hit = hitOn(body, origin, direction, scale);
        if (hit && (!nearest || hit->distance < nearest->distance)) nearest = hit;
    }
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

// The ray in the body's own frame, shrunk about its origin as the body is
// drawn enlarged.
std::optional<BodyHit> hitOn(int32_t body, const Vector3d& origin, const Vector3d& direction, double scale) {
    const BodyHull* hull = bodyHull(body);
    if (hull == nullptr) return std::nullopt;
    const dBodyID id = bodyTable[body].body;
    dVector3 start, way;
    const dReal* centre = dBodyGetPosition(id);
    dBodyGetPosRelPoint(id, centre[0] + (origin.x - centre[0]) / scale, centre[1] + (origin.y - centre[1]) / scale,
                        centre[2] + (origin.z - centre[2]) / scale, start);
    dBodyVectorFromWorld(id, direction.x, direction.y, direction.z, way);
    const std::optional<double> entry = rayEntry(*hull, start, way);
    if (!entry) return std::nullopt;
    BodyHit hit;
    hit.body = body;
    hit.distance = *entry * scale;
    hit.point = {origin.x + hit.distance * direction.x, origin.y + hit.distance * direction.y,
                 origin.z + hit.distance * direction.z};
    return hit;
}

}  // namespace
