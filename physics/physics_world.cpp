#include "physics/physics_world.h"

#include "model/loaded_model.h"
#include "physics/bodies.h"
#include "physics/body_contacts.h"
#include "physics/body_hold.h"
#include "physics/collision_mesh.h"
#include "physics/model_bodies.h"

constexpr double GRAVITY_Z = -9.8;
constexpr int MAX_CONTACTS = 32;
constexpr double BOUNCE = 0.8;
constexpr double BOUNCE_VELOCITY = 0.8;
// With only bounce asked for, ODE caps each contact's friction force at mu
// itself, in force units, not in proportion to the load. A finite cap would
// have to match a 98-unit weight shared by up to 32 touching corners: set low,
// a model at rest creeps across the ground and the exact solver of
// dWorldStep meets degenerate systems; set high, it is infinity in all but
// name. Full grip lets the bounces die out and leaves the model where it
// comes to rest.
constexpr dReal CONTACT_FRICTION = dInfinity;
constexpr dReal MODEL_MODE_MAX_CORRECTING_VELOCITY = 1.0;
constexpr dReal MODEL_MODE_ANGULAR_DAMPING = 0.05;

PhysicsWorld physicsWorld;

namespace {

void createHinges();

}  // namespace

void preparePhysics() {
    if (physicsWorld.prepared) return;
    dInitODE2(0);
    dAllocateODEDataForThread(dAllocateMaskAll);
    if (!inModelMode()) startCollisionMeshes(loadedObjectCount());
    physicsWorld.prepared = true;
}

void initPhysics() {
    preparePhysics();
    physicsWorld.world = dWorldCreate();
    physicsWorld.space = dHashSpaceCreate(nullptr);
    physicsWorld.contactGroup = dJointGroupCreate(0);
    physicsWorld.groundPlane = dCreatePlane(physicsWorld.space, 0, 0, 1, 0);
    dWorldSetGravity(physicsWorld.world, 0, 0, GRAVITY_Z);
    if (inModelMode()) {
        // The ground pushes a body that sank into it out no faster than
        // this: a deep landing would otherwise be paid back with interest,
        // and the bounces would grow instead of dying out.
        dWorldSetContactMaxCorrectingVel(physicsWorld.world, MODEL_MODE_MAX_CORRECTING_VELOCITY);
        // A model landing on one corner would otherwise rock for long.
        dWorldSetAngularDamping(physicsWorld.world, MODEL_MODE_ANGULAR_DAMPING);
        createModelBodies();
        return;
    }
    createBodies();
    if (loadedObjectCount() > 2) createHinges();
    physicsWorld.meshesPending = true;
}

void completePhysics() {
    if (!physicsWorld.meshesPending) return;
    attachCollisionMeshes();
    physicsWorld.meshesPending = false;
}

void stepPhysics() {
    completePhysics();
    if (physicsWorld.paused) return;
    if (inModelMode()) {
        addGroundContacts();
        addBodyContacts();
    } else {
        dSpaceCollide(physicsWorld.space, nullptr, nearCallback);
    }
    // Model mode's bodies rest on many corners at once, a system the exact
    // solver may not solve: the iterative one always settles.
    if (inModelMode())
        dWorldQuickStep(physicsWorld.world, STEP_SIZE);
    else
        dWorldStep(physicsWorld.world, STEP_SIZE);
    // A contact holds for one step only; the next pass finds it afresh.
    dJointGroupEmpty(physicsWorld.contactGroup);
}

void nearCallback(void*, dGeomID o1, dGeomID o2) {
    dBodyID b1 = dGeomGetBody(o1);
    dBodyID b2 = dGeomGetBody(o2);
    if (b1 != nullptr && b2 != nullptr && dAreConnectedExcluding(b1, b2, dJointTypeContact)) return;
    // Objects pass through one another; only the ground stops them.
    if (o1 != physicsWorld.groundPlane && o2 != physicsWorld.groundPlane) return;
    dContact contacts[MAX_CONTACTS] = {};
    for (dContact& contact : contacts) {
        contact.surface.mode = dContactBounce;
        contact.surface.mu = CONTACT_FRICTION;
        contact.surface.bounce = BOUNCE;
        contact.surface.bounce_vel = BOUNCE_VELOCITY;
    }
    int count = dCollide(o1, o2, MAX_CONTACTS, &contacts[0].geom, sizeof(dContact));
    for (int i = 0; i < count; ++i) {
        dJointID joint = dJointCreateContact(physicsWorld.world, physicsWorld.contactGroup, &contacts[i]);
        dJointAttach(joint, b1, b2);
    }
}

void destroyPhysics() {
    if (!physicsWorld.prepared) return;
    if (physicsWorld.world != nullptr) {
        dropHeldBody();
        dJointGroupDestroy(physicsWorld.contactGroup);
        dSpaceDestroy(physicsWorld.space);
        destroyBodyShapes();
        dWorldDestroy(physicsWorld.world);
    }
    // The geometries that used the mesh data went with the space.
    destroyCollisionMeshData();
    releaseModelBodies();
    dCloseODE();
    physicsWorld = PhysicsWorld{};
    for (BodyEntry& entry : bodyTable) entry = BodyEntry{};
}

namespace {

// The hinges are given neither anchor nor axis: ODE anchors each at the
// origin of object 0's body, where all three start, and lets the pair turn
// about the x axis only.
void createHinges() {
    physicsWorld.hinge1 = dJointCreateHinge(physicsWorld.world, nullptr);
    dJointAttach(physicsWorld.hinge1, bodyTable[0].body, bodyTable[1].body);
    physicsWorld.hinge2 = dJointCreateHinge(physicsWorld.world, nullptr);
    dJointAttach(physicsWorld.hinge2, bodyTable[0].body, bodyTable[2].body);
}

}  // namespace
