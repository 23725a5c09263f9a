#include "app/scenery.h"

#include <GL/gl.h>
#include <ode/ode.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "app/view_state.h"
#include "model/model_layout.h"
#include "physics/bodies.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr GLfloat SKY_TOP[3] = {0.33f, 0.37f, 0.45f};
constexpr GLfloat SKY_BOTTOM[3] = {0.15f, 0.17f, 0.21f};
constexpr GLfloat GRID_COLOUR[3] = {0.62f, 0.67f, 0.78f};
constexpr float GRID_ALPHA = 0.4f;
// The grid reaches this many model radii from the model, its lines about a
// quarter of a radius apart.
constexpr double GRID_REACH = 6.0;
constexpr double GRID_LINES_PER_RADIUS = 4.0;
constexpr int SEGMENTS_PER_STEP = 2;
constexpr float SHADOW_ALPHA = 0.5f;
constexpr int SHADOW_SEGMENTS = 32;
// In parts of the footprint: the shadow is dark up to its core and fades to
// nothing at its edge, a little beyond the body.
constexpr double SHADOW_CORE = 0.9;
constexpr double SHADOW_EDGE = 1.5;
// A shadow fades out as its body rises this many model radii.
constexpr double SHADOW_FADE_HEIGHT = 3.0;
// Pale, so that no corner mark passes for a part of the model.
constexpr GLfloat AXIS_COLOURS[3][3] = {{0.82f, 0.55f, 0.55f}, {0.62f, 0.76f, 0.62f}, {0.55f, 0.62f, 0.85f}};
constexpr double CORNER_SHARE = 1.0 / 6.0;
constexpr int SMALLEST_CORNER = 48;

// Drawing flat marks: no light, no texture, blended, no depth written.
void beginMarks();
void endMarks();
double niceStep(double least);
void drawGrid(double centreX, double centreZ, double height, double radius);
void drawShadow(int32_t body, double height, double radius);
float gridFade(double x, double z, double centreX, double centreZ, double reach);

}  // namespace

void drawBackground() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    glColor3fv(SKY_BOTTOM);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glColor3fv(SKY_TOP);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void drawGround(const Vector3d& drift) {
    if (modelLayout.bounds.empty()) return;
    const double radius = modelRadius();
    const Point3& anchor = modelLayout.anchor;
    beginMarks();
    drawGrid(anchor.x + drift.x, anchor.z + drift.z, anchor.y, radius);
    for (int32_t body = 0; body < modelLayout.bodyCount; ++body) drawShadow(body, anchor.y, radius);
    endMarks();
}

void drawCornerAxes() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLint side =
        std::max<GLint>(SMALLEST_CORNER, static_cast<GLint>(std::min(viewport[2], viewport[3]) * CORNER_SHARE));
    double turn[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, turn);
    turn[12] = turn[13] = turn[14] = 0.0;
    glViewport(viewport[0], viewport[1], side, side);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, -2.0, 2.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixd(turn);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // Farthest first, so the nearer axes cross over the farther.
    std::array<int, 3> order{0, 1, 2};
    std::sort(order.begin(), order.end(), [&](int a, int b) { return turn[4 * a + 2] < turn[4 * b + 2]; });
    glLineWidth(2.5f);
    glPointSize(6.0f);
    for (int axis : order) {
        GLfloat tip[3] = {0.0f, 0.0f, 0.0f};
        tip[axis] = 0.75f;
        glColor3fv(AXIS_COLOURS[axis]);
        glBegin(GL_LINES);
        glVertex3f(0.0f, 0.0f, 0.0f);
        glVertex3fv(tip);
        glEnd();
        glBegin(GL_POINTS);
        glVertex3fv(tip);
        glEnd();
    }
    glLineWidth(1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}

int cornerAxesSide(int width, int height) {
    return std::max(SMALLEST_CORNER, static_cast<int>(std::min(width, height) * CORNER_SHARE));
}

namespace {

void beginMarks() {
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
}

void endMarks() {
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

// The smallest of 1, 2 and 5 times a power of ten that is at least `least`.
double niceStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= least) return factor * power;
    return 10.0 * power;
}

// Lines a whole step apart through the ground's origin, so that they stay
// put as the model moves over them; each line in short pieces, so that it
// fades along its length.
void drawGrid(double centreX, double centreZ, double height, double radius) {
    const double step = niceStep(radius / GRID_LINES_PER_RADIUS);
    const double reach = GRID_REACH * radius;
    const long lines = std::lround(std::ceil(reach / step));
    if (!std::isfinite(step) || step <= 0 || lines > 1000) return;
    const double firstX = std::round(centreX / step) * step, firstZ = std::round(centreZ / step) * step;
    const double piece = step / SEGMENTS_PER_STEP;
    const long pieces = lines * SEGMENTS_PER_STEP;
    glBegin(GL_LINES);
    for (long line = -lines; line <= lines; ++line) {
        for (long k = -pieces; k < pieces; ++k) {
            for (int across = 0; across < 2; ++across) {
                // Along z at a fixed x, then along x at a fixed z.
                const double fixed = (across == 0 ? firstX : firstZ) + line * step;
                const double from = (across == 0 ? firstZ : firstX) + k * piece, to = from + piece;
                const double ends[2][2] = {{fixed, from}, {fixed, to}};
                for (const auto& end : ends) {
                    const double x = across == 0 ? end[0] : end[1], z = across == 0 ? end[1] : end[0];
                    glColor4f(GRID_COLOUR[0], GRID_COLOUR[1], GRID_COLOUR[2], gridFade(x, z, centreX, centreZ, reach));
                    glVertex3d(x, height, z);
                }
            }
        }
    }
    glEnd();
}

float gridFade(double x, double z, double centreX, double centreZ, double reach) {
    const double distance = std::hypot(x - centreX, z - centreZ) / reach;
    const double left = std::max(0.0, 1.0 - distance);
    return static_cast<float>(GRID_ALPHA * left * left);
}

// A dark patch the size of the body's footprint under its middle, turned as
// the body turns across the ground, soft at its edge and fainter the higher
// the body is.
void drawShadow(int32_t body, double height, double radius) {
    const dReal* position = dBodyGetPosition(bodyTable[body].body);
    const dReal* r = dBodyGetRotation(bodyTable[body].body);
    const double toModel = 1.0 / modelLayout.worldScale;
    const Point3& anchor = modelLayout.anchor;
    const Bounds& bounds = modelLayout.bodyBounds[body];
    const double scale = viewState.modelScale;
    const double x = anchor.x + position[0] * toModel, z = anchor.z - position[1] * toModel;
    const double lowest = anchor.y + position[2] * toModel - (modelLayout.bodyCentre[body].y - bounds.min.y) * scale;
    const double fade = std::clamp(1.0 - (lowest - height) / (SHADOW_FADE_HEIGHT * radius), 0.0, 1.0);
    // The body's own x axis, laid on the ground.
    double ux = r[0], uz = -r[4];
    const double length = std::hypot(ux, uz);
    if (length < 1e-6) {
        ux = 1.0;
        uz = 0.0;
    } else {
        ux /= length;
        uz /= length;
    }
    const double halfX = (bounds.max.x - bounds.min.x) / 2 * scale, halfZ = (bounds.max.z - bounds.min.z) / 2 * scale;
    const float alpha = static_cast<float>(SHADOW_ALPHA * fade);
    auto ringPoint = [&](int k, double share) {
        const double angle = 2 * PI * k / SHADOW_SEGMENTS;
        const double a = std::cos(angle) * halfX * share, b = std::sin(angle) * halfZ * share;
        glVertex3d(x + a * ux - b * uz, height, z + a * uz + b * ux);
    };
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    glVertex3d(x, height, z);
    for (int k = 0; k <= SHADOW_SEGMENTS; ++k) ringPoint(k, SHADOW_CORE);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= SHADOW_SEGMENTS; ++k) {
        glColor4f(0.0f, 0.0f, 0.0f, alpha);
        ringPoint(k, SHADOW_CORE);
        glColor4f(0.0f, 0.0f, 0.0f, 0.0f);
        ringPoint(k, SHADOW_EDGE);
    }
    glEnd();
}

}  // namespace
