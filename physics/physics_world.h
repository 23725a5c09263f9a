// The rigid-body world the loaded model falls in: a z-up world with a ground
// plane at z = 0, one triangle-mesh body per loaded object, and the hinges
// that hold the first three objects together.
#pragma once

#include <ode/ode.h>

struct PhysicsWorld {
    dWorldID world = nullptr;
    dSpaceID space = nullptr;
    dJointGroupID contactGroup = nullptr;
    dGeomID groundPlane = nullptr;
    // Object 0 to object 1 and object 0 to object 2; null with fewer than
    // three objects.
    dJointID hinge1 = nullptr;
    dJointID hinge2 = nullptr;
};

extern PhysicsWorld physicsWorld;

// Starts ODE, builds the world and the bodies of the loaded objects.
void initPhysics();
// One collision pass and one world step of 0.1 simulated seconds.
void stepPhysics();
// dSpaceCollide's callback: contacts only between a body and the ground.
void nearCallback(void* data, dGeomID o1, dGeomID o2);
// Destroys the world with everything in it and closes ODE.
void destroyPhysics();
