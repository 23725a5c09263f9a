// The rigid-body world the loaded model falls in: a z-up world with a ground
// plane at z = 0, one triangle-mesh body per loaded object, and the hinges
// that hold the first three objects together.
#pragma once

#include <ode/ode.h>

// Simulated seconds per step, whatever the real time between steps.
constexpr double STEP_SIZE = 0.1;

struct PhysicsWorld {
    dWorldID world = nullptr;
    dSpaceID space = nullptr;
    dJointGroupID contactGroup = nullptr;
    dGeomID groundPlane = nullptr;
    // Model mode: the bodies' hulls, which meet each other but not the
    // ground.
    dSpaceID bodySpace = nullptr;
    // Object 0 to object 1 and object 0 to object 2; null with fewer than
    // three objects.
    dJointID hinge1 = nullptr;
    dJointID hinge2 = nullptr;
    // ODE is running (and the classic collision meshes are being built).
    bool prepared = false;
    // The classic bodies still wait for their collision meshes.
    bool meshesPending = false;
    // Model mode: the world stands still until resumed.
    bool paused = false;
};

extern PhysicsWorld physicsWorld;

// Starts ODE and, in the classic mode, the building of the loaded objects'
// collision meshes on a thread of their own. Called once the model is
// loaded; initPhysics calls it if nobody has.
void preparePhysics();
// Builds the world and the bodies of the loaded objects. The classic
// bodies' collision meshes join them at completePhysics.
void initPhysics();
// Waits for the collision meshes and puts them on their bodies; the first
// step does it if nobody has. Until then the bodies only stand where they
// start, which is all a frame shows of them.
void completePhysics();
// One collision pass and one world step of 0.1 simulated seconds, unless
// the world is paused.
void stepPhysics();
// The classic mode's dSpaceCollide callback: contacts only between a body
// and the ground.
void nearCallback(void* data, dGeomID o1, dGeomID o2);
// Destroys the world with everything in it and closes ODE.
void destroyPhysics();
