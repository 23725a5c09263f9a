#include "math/quaternion.h"

#include <cmath>

namespace {

Quaternion hamiltonProduct(const Quaternion& a, const Quaternion& b);

}  // namespace

void Quaternion::set(double newW, double newX, double newY, double newZ) {
    w = newW;
    x = newX;
    y = newY;
    z = newZ;
}

void Quaternion::setAxisAngle(double angle, double ax, double ay, double az) {
    set(0.0, 0.0, 0.0, 0.0);
    const double squaredLength = ax * ax + ay * ay + az * az;
    if (!(squaredLength > 0.0)) return;
    const double s = std::sin(angle * 0.5);
    const double length = std::sqrt(squaredLength);
    set(std::cos(angle * 0.5), s * ax / length, s * ay / length, s * az / length);
}

void Quaternion::preMultiply(const Quaternion& b) {
    *this = hamiltonProduct(b, *this);
}

void Quaternion::postMultiply(const Quaternion& b) {
    *this = hamiltonProduct(*this, b);
}

void Quaternion::toMatrix(const Vector3d& translation, Matrix4d& out) const {
    const double squaredNorm = w * w + x * x + y * y + z * z;
    if (!(squaredNorm > 0.0)) return;
    const double k = 2.0 / squaredNorm;
    double* m = out.m;
    m[0] = 1.0 - k * (y * y + z * z);
    m[1] = k * (x * y + w * z);
    m[2] = k * (x * z - w * y);
    m[3] = 0.0;
    m[4] = k * (x * y - w * z);
    m[5] = 1.0 - k * (x * x + z * z);
    m[6] = k * (y * z + w * x);
    m[7] = 0.0;
    m[8] = k * (x * z + w * y);
    m[9] = k * (y * z - w * x);
    m[10] = 1.0 - k * (x * x + y * y);
    m[11] = 0.0;
    m[12] = translation.x;
    m[13] = translation.y;
    m[14] = translation.z;
    m[15] = 1.0;
}

namespace {

// The product is built in a fresh record, so a quaternion that is both an
// operand and the destination (q = b * q) is read whole before it changes.
Quaternion hamiltonProduct(const Quaternion& a, const Quaternion& b) {
    Quaternion product;
    product.w = a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z;
    product.x = a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y;
    product.y = a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x;
    product.z = a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w;
    return product;
}

}  // namespace
