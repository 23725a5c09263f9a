// tick_floor TICKS MODEL: the least a tick of MODEL's parts can take, each
// object its own body: ODE alone drops them as its own boxes (an object of
// eight corners) and balls (any other), each as big as the object's box,
// from where model mode drops them, on ODE's own ground plane, with the
// viewer's step, gravity and contacts, every pair in one space. Prints the
// tick times as frame_bench does. Reading and laying out the model is not
// timed.
#include <ode/ode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "bench/frame/tick_times.h"
#include "model/loaded_model.h"
#include "model/model_archive.h"
#include "model/model_layout.h"
#include "physics/model_bodies.h"
#include "physics/physics_world.h"

namespace {

// As model mode drops and weighs its bodies.
constexpr double DROP_HEIGHT = 150.0;
constexpr double BODY_MASS = 10.0;
constexpr int MAX_PAIR_CONTACTS = 16;

dWorldID world;
dJointGroupID contacts;

void createPart(dSpaceID space, int32_t body, int32_t object);
void touching(void* data, dGeomID first, dGeomID second);

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc == 3 ? std::atoi(argv[1]) : 0;
    FILE* file = argc == 3 ? std::fopen(argv[2], "rb") : nullptr;
    if (ticks <= 0 || file == nullptr) {
        std::fputs("usage: tick_floor TICKS MODEL\n", stderr);
        return 2;
    }
    modelSettings.mode = ViewerMode::Model;
    modelSettings.separateParts = true;
    if (loadModelFile(ModelText(file, argv[2]))) {
        std::fprintf(stderr, "tick_floor: cannot read %s\n", argv[2]);
        return 1;
    }
    layOutModel();
    dInitODE2(0);
    world = dWorldCreate();
    dWorldSetGravity(world, 0, 0, -9.8);
    dWorldSetContactMaxCorrectingVel(world, 1.0);
    dWorldSetAngularDamping(world, 0.05);
    dSpaceID space = dHashSpaceCreate(nullptr);
    contacts = dJointGroupCreate(0);
    dCreatePlane(space, 0, 0, 1, 0);
    for (int32_t i = 0; i < loadedObjectCount(); ++i)
        if (modelLayout.bodyOfObject[i] >= 0) createPart(space, modelLayout.bodyOfObject[i], i);
    TickTimes times;
    for (int i = 0; i < ticks; ++i) {
        times.time([&] {
            dSpaceCollide(space, nullptr, touching);
            dWorldQuickStep(world, STEP_SIZE);
            dJointGroupEmpty(contacts);
        });
    }
    times.print("tick_floor", 0);
    dJointGroupDestroy(contacts);
    dSpaceDestroy(space);
    dWorldDestroy(world);
    dCloseODE();
    return 0;
}

namespace {

void createPart(dSpaceID space, int32_t body, int32_t object) {
    const Bounds& bounds = modelLayout.bodyBounds[body];
    const Vector3d size =
        worldOffsetOf({bounds.max.x - bounds.min.x, bounds.max.y - bounds.min.y, bounds.max.z - bounds.min.z});
    const double sx = size.x, sy = -size.y, sz = size.z;
    const dBodyID part = dBodyCreate(world);
    dMass mass;
    dMassSetBoxTotal(&mass, BODY_MASS, sx, sy, sz);
    dBodySetMass(part, &mass);
    const Point3& centre = modelLayout.bodyCentre[body];
    const Point3& anchor = modelLayout.anchor;
    const Vector3d start = worldOffsetOf({centre.x - anchor.x, centre.y - anchor.y, centre.z - anchor.z});
    dBodySetPosition(part, start.x, start.y, start.z + DROP_HEIGHT);
    const dGeomID shape = loadedObjects[object].vertexCount == 8 ? dCreateBox(space, sx, sy, sz)
                                                                 : dCreateSphere(space, std::max({sx, sy, sz}) / 2);
    dGeomSetBody(shape, part);
}

void touching(void*, dGeomID first, dGeomID second) {
    dContact found[MAX_PAIR_CONTACTS] = {};
    const int count = dCollide(first, second, MAX_PAIR_CONTACTS, &found[0].geom, sizeof(dContact));
    for (int i = 0; i < count; ++i) {
        found[i].surface = bodySurface();
        dJointAttach(dJointCreateContact(world, contacts, &found[i]), dGeomGetBody(first), dGeomGetBody(second));
    }
}

}  // namespace
