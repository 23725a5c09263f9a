#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "math/quaternion.h"

namespace {

Quaternion turn(double angle, double ax, double ay, double az) {
    Quaternion q;
    q.setAxisAngle(angle, ax, ay, az);
    return q;
}

// Where q's rotation carries the y axis: the second column of its matrix.
void expectTurnsYOnto(const Quaternion& q, const Vector3d& expected) {
    Matrix4d out;
    q.toMatrix({}, out);
    EXPECT_LT(std::hypot(out.m[4] - expected.x, out.m[5] - expected.y, out.m[6] - expected.z), 1e-12);
}

TEST(QuaternionToMatrix, lengthDoesNotCountAndNoLengthLeavesTheMatrixAlone) {
    Matrix4d untouched;
    std::ranges::fill(untouched.m, 7.0);
    const std::tuple<const char*, Quaternion, Matrix4d> cases[] = {
        // Y onto Z and Z onto -Y, then the translation.
        {"quarter turn about x, root 2 long",
         {1, 1, 0, 0},
         {{1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 1.5, -2.0, 3.25, 1}}},
        // A zero axis gives the zero quaternion, not the identity.
        {"zero axis", turn(1.0, 0, 0, 0), untouched},
        {"not a number", {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0}, untouched},
    };
    for (const auto& [name, q, expected] : cases) {
        SCOPED_TRACE(name);
        Matrix4d out = untouched;
        q.toMatrix({1.5, -2.0, 3.25}, out);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(out.m[i], expected.m[i]) << "element " << i;
    }
}

TEST(QuaternionProduct, preMultiplyTurnsAfterTheHeldTurnAndPostMultiplyBefore) {
    const Quaternion xTurn = turn(std::numbers::pi / 2, 1, 0, 0);
    const Quaternion zTurn = turn(std::numbers::pi / 2, 0, 0, 1);
    expectTurnsYOnto(xTurn, {0, 0, 1});
    // Y goes to Z under the x turn, which the z turn then leaves alone; in
    // the other order Y first goes to -X, which the x turn keeps.
    Quaternion q = xTurn;
    q.preMultiply(zTurn);
    expectTurnsYOnto(q, {0, 0, 1});
    q = xTurn;
    q.postMultiply(zTurn);
    expectTurnsYOnto(q, {-1, 0, 0});
}

TEST(QuaternionProduct, multiplyingByItselfReadsTheOldComponents) {
    Quaternion q = turn(0.3, 1, 2, 3);
    const Quaternion expected = turn(0.6, 1, 2, 3);
    q.preMultiply(q);
    EXPECT_LT(
        std::hypot(std::hypot(q.w - expected.w, q.x - expected.x), std::hypot(q.y - expected.y, q.z - expected.z)),
        1e-15);
}

}  // namespace
