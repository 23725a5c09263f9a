#include "app/light_orbit.h"

// NOTE: pi is cut to ten digits here; 360 frames still close the orbit to
// well within a pixel.
constexpr double ONE_DEGREE = 3.1415926535 / 180;

Quaternion lightOrbit;

void resetLightOrbit(Quaternion& orbit) {
    orbit.set(0.0, 25.0, 0.0, 0.0);
}

void advanceLightOrbit(Quaternion& orbit) {
    // Conjugating the orbit point by a turn keeps its length and its zero
    // scalar part while rotating the vector part.
    Quaternion forward;
    forward.setAxisAngle(ONE_DEGREE, 1.0, 1.0, 1.0);
    Quaternion backward;
    backward.setAxisAngle(-ONE_DEGREE, 1.0, 1.0, 1.0);
    orbit.preMultiply(forward);
    orbit.postMultiply(backward);
}

void placeOrbitingLights(const Quaternion& orbit, float light1[4], float light2[4]) {
    light1[0] = static_cast<float>(orbit.x);
    light1[1] = static_cast<float>(2.5 * orbit.y);
    light1[2] = static_cast<float>(orbit.z);
    light1[3] = 1.0f;
    light2[0] = static_cast<float>(-orbit.x);
    light2[1] = static_cast<float>(2.5 * orbit.y);
    light2[2] = static_cast<float>(-orbit.z);
    light2[3] = 1.0f;
}
