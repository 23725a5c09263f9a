// Rotations kept as quaternions (w the scalar part). They are never
// renormalised: composition lets the length drift, and toMatrix divides by
// the squared norm, so any non-zero quaternion still yields a pure rotation.
#pragma once

#include "math/matrix4d.h"
#include "math/vector3d.h"

struct Quaternion {
    double w = 1.0;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    void set(double newW, double newX, double newY, double newZ);
    // Turn by `angle` radians about (ax, ay, az), which need not be of unit
    // length. A zero axis gives the zero quaternion, not the identity.
    void setAxisAngle(double angle, double ax, double ay, double az);
    // q becomes b * q: b's turn applies after the one already held.
    void preMultiply(const Quaternion& b);
    // q becomes q * b: b's turn applies before the one already held.
    void postMultiply(const Quaternion& b);
    // Writes the rotation of q followed by `translation`. Leaves `out` as it
    // was when the squared norm is not positive (zero or not a number).
    void toMatrix(const Vector3d& translation, Matrix4d& out) const;
};
