// One rigid body per loaded object, indexed like loadedObjects.
#pragma once

#include <ode/ode.h>

#include "model/loaded_model.h"

struct BodyEntry {
    dBodyID body = nullptr;
    // Null when the object has no triangle to collide with: such a body
    // falls through the ground.
    dGeomID geom = nullptr;
    double mass = 0;
    double sizeX = 0;
    double sizeY = 0;
    double sizeZ = 0;
};

extern BodyEntry bodyTable[MAX_OBJECTS];

// Makes a body for each loaded object, all resting at the drop point. Needs
// physicsWorld's world. Their collision meshes join them later.
void createBodies();
// Waits for the collision meshes and gives each body its geometry in
// physicsWorld's space; an object without a triangle gets none.
void attachCollisionMeshes();
