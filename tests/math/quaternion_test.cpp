#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/quaternion.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

Quaternion quaternion(double w, double x, double y, double z)
{
    Quaternion q;
    q.set(w, x, y, z);
    return q;
}

Quaternion turn(double angle, double ax, double ay, double az)
{
    Quaternion q;
    q.setAxisAngle(angle, ax, ay, az);
    return q;
}

// Column vector v turned by the rotation part of a column-major matrix.
Vector3d rotate(const Quaternion& q, const Vector3d& v)
{
    Matrix4d matrix;
    q.toMatrix({}, matrix);
    const double* m = matrix.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z,
            m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

void expectNear(const Vector3d& actual, const Vector3d& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
    EXPECT_NEAR(actual.z, expected.z, 1e-12);
}

TEST(QuaternionToMatrix, lengthDoesNotMatterAndTranslationFillsTheLastColumn)
{
    for (const Quaternion& q : {Quaternion(), quaternion(2, 0, 0, 0)}) {
        Matrix4d out;
        q.toMatrix({1.5, -2.0, 3.25}, out);
        const double expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1.5, -2.0, 3.25, 1};
        for (int i = 0; i < 16; ++i)
            EXPECT_DOUBLE_EQ(out.m[i], expected[i]) << "element " << i;
    }
}

TEST(QuaternionToMatrix, quarterTurnAboutXCarriesYOntoZ)
{
    Matrix4d out;
    turn(kPi / 2, 1, 0, 0).toMatrix({}, out);
    EXPECT_NEAR(out.m[6], 1.0, 1e-12);
    EXPECT_NEAR(out.m[9], -1.0, 1e-12);
}

TEST(QuaternionToMatrix, zeroOrNotANumberNormLeavesTheDestinationAlone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Quaternion& q : {turn(1.0, 0, 0, 0), quaternion(nan, 0, 0, 0)}) {
        Matrix4d out;
        for (double& element : out.m)
            element = 7.0;
        q.toMatrix({1, 2, 3}, out);
        for (double element : out.m)
            EXPECT_EQ(element, 7.0);
    }
}

TEST(QuaternionAxisAngle, zeroAxisGivesTheZeroQuaternionNotTheIdentity)
{
    const Quaternion q = turn(1.0, 0, 0, 0);
    EXPECT_EQ(q.w, 0.0);
    EXPECT_EQ(q.x, 0.0);
    EXPECT_EQ(q.y, 0.0);
    EXPECT_EQ(q.z, 0.0);
}

TEST(QuaternionProduct, preMultiplyTurnsAfterTheHeldTurnAndPostMultiplyBefore)
{
    // Y goes to Z under the x turn, which the z turn then leaves alone; in
    // the other order Y first goes to -X, which the x turn keeps.
    Quaternion pre = turn(kPi / 2, 1, 0, 0);
    pre.preMultiply(turn(kPi / 2, 0, 0, 1));
    expectNear(rotate(pre, {0, 1, 0}), {0, 0, 1});

    Quaternion post = turn(kPi / 2, 1, 0, 0);
    post.postMultiply(turn(kPi / 2, 0, 0, 1));
    expectNear(rotate(post, {0, 1, 0}), {-1, 0, 0});
}

TEST(QuaternionProduct, multiplyingByItselfReadsTheOldComponents)
{
    Quaternion q = turn(0.3, 1, 2, 3);
    const Quaternion expected = turn(0.6, 1, 2, 3);
    q.preMultiply(q);
    EXPECT_NEAR(q.w, expected.w, 1e-15);
    EXPECT_NEAR(q.x, expected.x, 1e-15);
    EXPECT_NEAR(q.y, expected.y, 1e-15);
    EXPECT_NEAR(q.z, expected.z, 1e-15);
}

} // namespace
