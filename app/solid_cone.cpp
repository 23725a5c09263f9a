#include "app/solid_cone.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

namespace {

constexpr double PI = 3.14159265358979323846;

struct Corner {
    double cosine;
    double sine;
};

std::vector<Corner> cornersAround(int slices);

}  // namespace

void drawConeOfOurOwn(double base, double height, int slices, int stacks) {
    if (slices < 1 || stacks < 1) return;
    const std::vector<Corner> around = cornersAround(slices);
    // Every point of the side has the same slant: its normal leans towards
    // the tip as far as the side leans in.
    const double slant = std::hypot(base, height);
    const double outwards = slant > 0 ? height / slant : 0.0, upwards = slant > 0 ? base / slant : 0.0;
    // NOTE: the classic objects' display lists draw under whatever normal
    // is current, and GLUT's cone, drawn from vertex arrays, leaves it as it
    // was: so must this one.
    glPushAttrib(GL_CURRENT_BIT);

    glBegin(GL_TRIANGLE_FAN);
    glNormal3d(0.0, 0.0, -1.0);
    glVertex3d(0.0, 0.0, 0.0);
    for (int k = slices; k >= 0; --k) glVertex3d(around[k].cosine * base, around[k].sine * base, 0.0);
    glEnd();

    for (int stack = 0; stack < stacks; ++stack) {
        const double z0 = height * stack / stacks, z1 = height * (stack + 1) / stacks;
        const double r0 = base * (stacks - stack) / stacks, r1 = base * (stacks - stack - 1) / stacks;
        glBegin(GL_TRIANGLE_STRIP);
        for (int k = 0; k <= slices; ++k) {
            const Corner& c = around[k];
            glNormal3d(c.cosine * outwards, c.sine * outwards, upwards);
            glVertex3d(c.cosine * r0, c.sine * r0, z0);
            glVertex3d(c.cosine * r1, c.sine * r1, z1);
        }
        glEnd();
    }
    glPopAttrib();
}

namespace {

// Clockwise seen from the tip, as GLUT goes round, the last corner the
// first again so that each ring closes exactly.
std::vector<Corner> cornersAround(int slices) {
    std::vector<Corner> corners(slices + 1);
    for (int k = 0; k < slices; ++k) {
        const double angle = -2.0 * PI * k / slices;
        corners[k] = {std::cos(angle), std::sin(angle)};
    }
    corners[slices] = corners[0];
    return corners;
}

}  // namespace
