// The orbit of the two moving lights: a point 25 units from the centre that
// turns one degree about (1, 1, 1) on every frame.
#pragma once

#include "math/quaternion.h"

// The vector part is the orbit point; the scalar part stays 0.
extern Quaternion lightOrbit;

void resetLightOrbit(Quaternion& orbit);
void advanceLightOrbit(Quaternion& orbit);
// Light 1 sits at the orbit point stretched 2.5 times along y, light 2
// opposite it through the y axis; both stay positional (w = 1).
void placeOrbitingLights(const Quaternion& orbit, float light1[4], float light2[4]);
