#include "physics/bodies.h"

#include "physics/collision_mesh.h"
#include "physics/physics_world.h"

// Every body weighs the same and turns like the same uniform box, whatever
// the shape of its mesh.
constexpr double BODY_MASS = 10.0;
constexpr double BODY_BOX_SIDE = 10.0;
// All bodies start together at the drop point, so their meshes lie as the
// objects lie in the model.
constexpr double DROP_HEIGHT = 150.0;
// A quarter turn about x stands the model's y-up axes on the world's z-up.
constexpr double QUARTER_TURN = 1.5707963267948966;

BodyEntry bodyTable[MAX_OBJECTS];

namespace {

void createBody(int32_t i, dMass* massRecord);

}  // namespace

void createBodies() {
    dMass massRecord;
    dMassSetZero(&massRecord);
    for (int32_t i = 0; i < loadedObjectCount(); ++i) createBody(i, &massRecord);
}

// NOTE: the space holds the ground and then the objects' geometries in
// object order, as if each had been made with its body: the same pairs meet
// in the same order, and the drop is the same to the last bit.
void attachCollisionMeshes() {
    finishCollisionMeshes();
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        BodyEntry& entry = bodyTable[i];
        if (meshData[i] == nullptr || entry.geom != nullptr) continue;
        entry.geom = dCreateTriMesh(physicsWorld.space, meshData[i], nullptr, nullptr, nullptr);
        dGeomSetBody(entry.geom, entry.body);
    }
}

namespace {

void createBody(int32_t i, dMass* massRecord) {
    BodyEntry& entry = bodyTable[i];
    entry.mass = BODY_MASS;
    entry.sizeX = entry.sizeY = entry.sizeZ = BODY_BOX_SIDE;
    entry.body = dBodyCreate(physicsWorld.world);
    entry.geom = nullptr;
    dMassSetBoxTotal(massRecord, entry.mass, entry.sizeX, entry.sizeY, entry.sizeZ);
    dBodySetMass(entry.body, massRecord);
    dBodySetPosition(entry.body, 0, 0, DROP_HEIGHT);
    dMatrix3 rotation;
    dRFromAxisAndAngle(rotation, 1, 0, 0, QUARTER_TURN);
    dBodySetRotation(entry.body, rotation);
}

}  // namespace
