#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "math/quaternion.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

Matrix4d filledWith(double value)
{
    Matrix4d matrix;
    for (double& element : matrix.m)
        element = value;
    return matrix;
}

void expectIdentity(const Matrix4d& matrix)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(matrix.m[i], (i % 5 == 0) ? 1.0 : 0.0, 1e-12) << "element " << i;
}

// Column vector v turned by the rotation part of a column-major matrix.
Vector3d rotate(const Matrix4d& matrix, const Vector3d& v)
{
    const double* m = matrix.m;
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z,
            m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

TEST(QuaternionToMatrix, identityAndScaledIdentityGiveTheIdentityMatrix)
{
    Matrix4d out = filledWith(7.0);
    Quaternion().toMatrix({}, out);
    expectIdentity(out);

    Quaternion scaled;
    scaled.set(2, 0, 0, 0);
    out = filledWith(7.0);
    scaled.toMatrix({}, out);
    expectIdentity(out);
}

TEST(QuaternionToMatrix, translationGoesIntoTheLastColumn)
{
    Matrix4d out;
    Quaternion().toMatrix({1.5, -2.0, 3.25}, out);
    EXPECT_EQ(out.m[12], 1.5);
    EXPECT_EQ(out.m[13], -2.0);
    EXPECT_EQ(out.m[14], 3.25);
    EXPECT_EQ(out.m[15], 1.0);
}

TEST(QuaternionToMatrix, quarterTurnAboutXCarriesYOntoZ)
{
    Quaternion q;
    q.setAxisAngle(kPi / 2, 1, 0, 0);
    Matrix4d out;
    q.toMatrix({}, out);
    EXPECT_NEAR(out.m[6], 1.0, 1e-12);
    EXPECT_NEAR(out.m[9], -1.0, 1e-12);
    const Vector3d turned = rotate(out, {0, 1, 0});
    EXPECT_NEAR(turned.x, 0.0, 1e-12);
    EXPECT_NEAR(turned.y, 0.0, 1e-12);
    EXPECT_NEAR(turned.z, 1.0, 1e-12);
}

TEST(QuaternionToMatrix, zeroOrNotANumberNormLeavesTheDestinationAlone)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Quaternion zero;
    zero.set(0, 0, 0, 0);
    Quaternion notANumber;
    notANumber.set(nan, 0, 0, 0);
    for (const Quaternion& q : {zero, notANumber}) {
        Matrix4d out = filledWith(7.0);
        q.toMatrix({1, 2, 3}, out);
        for (double element : out.m)
            EXPECT_EQ(element, 7.0);
    }
}

TEST(QuaternionAxisAngle, zeroAxisGivesTheZeroQuaternion)
{
    Quaternion q;
    q.setAxisAngle(1.0, 0, 0, 0);
    EXPECT_EQ(q.w, 0.0);
    EXPECT_EQ(q.x, 0.0);
    EXPECT_EQ(q.y, 0.0);
    EXPECT_EQ(q.z, 0.0);
}

TEST(QuaternionAxisAngle, axisNeedNotBeOfUnitLength)
{
    Quaternion q;
    q.setAxisAngle(kPi / 3, 0, 0, 4);
    EXPECT_NEAR(q.w, std::cos(kPi / 6), 1e-15);
    EXPECT_NEAR(q.x, 0.0, 1e-15);
    EXPECT_NEAR(q.y, 0.0, 1e-15);
    EXPECT_NEAR(q.z, std::sin(kPi / 6), 1e-15);
}

TEST(QuaternionProduct, preMultiplyAppliesTheNewTurnAfterTheHeldOne)
{
    Quaternion aboutX;
    aboutX.setAxisAngle(kPi / 2, 1, 0, 0);
    Quaternion aboutZ;
    aboutZ.setAxisAngle(kPi / 2, 0, 0, 1);

    // Y goes to Z under the x turn; the z turn then leaves it there.
    Quaternion pre = aboutX;
    pre.preMultiply(aboutZ);
    Matrix4d out;
    pre.toMatrix({}, out);
    Vector3d turned = rotate(out, {0, 1, 0});
    EXPECT_NEAR(turned.z, 1.0, 1e-12);

    // With the order reversed Y first goes to -X, which the x turn keeps.
    Quaternion post = aboutX;
    post.postMultiply(aboutZ);
    post.toMatrix({}, out);
    turned = rotate(out, {0, 1, 0});
    EXPECT_NEAR(turned.x, -1.0, 1e-12);
}

TEST(QuaternionProduct, multiplyingByItselfReadsTheOldComponents)
{
    Quaternion q;
    q.setAxisAngle(0.3, 1, 2, 3);
    Quaternion expected;
    expected.setAxisAngle(0.6, 1, 2, 3);
    q.preMultiply(q);
    EXPECT_NEAR(q.w, expected.w, 1e-15);
    EXPECT_NEAR(q.x, expected.x, 1e-15);
    EXPECT_NEAR(q.y, expected.y, 1e-15);
    EXPECT_NEAR(q.z, expected.z, 1e-15);
}

TEST(QuaternionProduct, conjugateSandwichTurnsAVectorAndKeepsItsLength)
{
    const double oneDegree = 3.1415926535 / 180;
    Quaternion forward;
    forward.setAxisAngle(oneDegree, 1, 1, 1);
    Quaternion backward;
    backward.setAxisAngle(-oneDegree, 1, 1, 1);

    Quaternion p;
    p.set(0, 25, 0, 0);
    p.preMultiply(forward);
    p.postMultiply(backward);
    EXPECT_NEAR(p.w, 0.0, 1e-12);
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 25.0, 1e-12);
    EXPECT_NEAR(p.x, 24.9975, 1e-4);
    EXPECT_NEAR(p.y, 0.2531, 1e-4);
    EXPECT_NEAR(p.z, -0.2506, 1e-4);
}

} // namespace
