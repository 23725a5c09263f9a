#include "app/frame.h"

#include <GL/glut.h>
#include <ode/ode.h>

#include <cmath>

#include "app/body_picking.h"
#include "app/light_orbit.h"
#include "app/startup_timings.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "model/model_layout.h"
#include "physics/bodies.h"
#include "render/display_lists.h"
#include "render/lights.h"

// NOTE: 3.14 / 6 rather than a true sixth of a turn, so the shaft's last
// edge lies at 6.28 radians, a hair short of closing the ring.
constexpr double SHAFT_STEP = 0.5233333333333333;

namespace {

void applyViewOffset();
void placeModelModeLights(float light1[4], float light2[4]);
void drawLightMarker(GLenum light, const float position[4]);
void drawObjects();
void drawModelObjects();
Vector3d modelDrift();
void applyBodyTransform(int32_t body);
void drawColouredArrow(int buttonDown, float radius, float halfLength);

}  // namespace

void displayFrame() {
    drawFrame();
    glutSwapBuffers();
    reportTimings();
}

void drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyViewOffset();
    if (inModelMode()) followModel(viewState, followedDrift(modelDrift()));
    const ViewState& view = viewState;
    gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.center.x, view.center.y, view.center.z, view.up.x, view.up.y,
              view.up.z);

    // Lights and gizmo are placed in the fixed camera's frame: they do not
    // turn with the view, only the orbit moves the lights.
    advanceLightOrbit(lightOrbit);
    placeOrbitingLights(lightOrbit, light1Position, light2Position);
    if (inModelMode()) placeModelModeLights(light1Position, light2Position);
    drawLightMarker(GL_LIGHT1, light1Position);
    drawLightMarker(GL_LIGHT2, light2Position);
    glPushMatrix();
    // Model mode keeps the arrows at the model's middle, in its proportion.
    glTranslated(view.center.x, view.center.y, view.center.z);
    if (inModelMode()) glScaled(view.markerScale, view.markerScale, view.markerScale);
    drawAxisArrows(1.0f, 70.0f);
    glPopMatrix();
    glEnable(GL_LIGHTING);

    // The scene turns about the point the camera looks at.
    glTranslated(view.center.x, view.center.y, view.center.z);
    glMultMatrixd(view.viewMatrix.m);
    glTranslated(-view.center.x, -view.center.y, -view.center.z);
    const bool buttonHeld = view.leftDown || view.middleDown || view.rightDown;
    if (buttonHeld) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (inModelMode())
        drawModelObjects();
    else
        drawObjects();
    if (buttonHeld) glDisable(GL_BLEND);
}

void drawAxisArrows(float radius, float halfLength) {
    glPushMatrix();
    drawColouredArrow(viewState.rightDown, radius, halfLength);
    glPopMatrix();
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    drawColouredArrow(viewState.middleDown, radius, halfLength);
    glPopMatrix();
    glPushMatrix();
    glRotatef(-90.0f, 0.0f, 0.0f, 1.0f);
    drawColouredArrow(viewState.leftDown, radius, halfLength);
    glPopMatrix();
}

void drawArrow(float radius, float halfLength) {
    glBegin(GL_QUAD_STRIP);
    for (int k = 0; k <= 12; k += 2) {
        const double angle = k * SHAFT_STEP;
        const float x = static_cast<float>(radius * std::cos(angle));
        const float z = static_cast<float>(radius * std::sin(angle));
        glVertex3f(x, -halfLength, z);
        glVertex3f(x, halfLength, z);
    }
    glEnd();
    glTranslatef(0.0f, halfLength, 0.0f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glutSolidCone(2.0 * radius, 4.0 * radius, 5, 5);
}

namespace {

// The offset moves the whole view (lights, gizmo and models) in the camera's
// own frame, so "left" is always left on the screen however the scene has
// been turned: a translation in eye coordinates, before the camera's.
void applyViewOffset() {
    const float* offset = viewState.viewOffset;
    glTranslatef(offset[0], offset[1], offset[2]);
}

// The classic orbit, scaled to the model's size, around the model's middle.
void placeModelModeLights(float light1[4], float light2[4]) {
    const double centre[3] = {viewState.center.x, viewState.center.y, viewState.center.z};
    for (int axis = 0; axis < 3; ++axis) {
        light1[axis] = static_cast<float>(centre[axis] + light1[axis] * viewState.markerScale);
        light2[axis] = static_cast<float>(centre[axis] + light2[axis] * viewState.markerScale);
    }
}

void drawLightMarker(GLenum light, const float position[4]) {
    glPushMatrix();
    glLightfv(light, GL_POSITION, position);
    glDisable(GL_LIGHTING);
    glPointSize(5.0f);
    glBegin(GL_POINTS);
    glColor3f(1.0f, 1.0f, 1.0f);
    glVertex3f(position[0], position[1], position[2]);
    glEnd();
    glPopMatrix();
}

// The physics world is z-up and the drawing y-up: a body at world (x, y, z)
// is drawn at (y, z, x). Only the body's position moves the drawing, not its
// orientation. Each object gets its own matrix, so one object's translation
// and scale never carry over to the next.
void drawObjects() {
    const float scale = viewState.modelScale;
    const int objectCount = loadedObjectCount();
    for (int i = 0; i < objectCount; ++i) {
        const dReal* position = dBodyGetPosition(bodyTable[i].body);
        glPushMatrix();
        glTranslatef(static_cast<float>(position[1]), static_cast<float>(position[2]), static_cast<float>(position[0]));
        glScalef(scale, scale, scale);
        glCallList(displayListIds[i]);
        glPopMatrix();
    }
}

// Each visible object at its body's place and turn. A body's world frame is
// z-up in world units; the drawing is y-up in model units, with the model's
// anchor over the world's origin.
void drawModelObjects() {
    rememberBodyFrame();
    const float scale = viewState.modelScale;
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        const int32_t body = modelLayout.bodyOfObject[i];
        if (body < 0) continue;
        glPushMatrix();
        applyBodyTransform(body);
        glScalef(scale, scale, scale);
        const Point3& centre = modelLayout.bodyCentre[body];
        glTranslated(-centre.x, -centre.y, -centre.z);
        glCallList(displayListIds[i]);
        glPopMatrix();
    }
}

// How far across the ground the bodies have moved from where they were
// modelled, on average, in model units.
Vector3d modelDrift() {
    Vector3d drift;
    const double toModel = 1.0 / modelLayout.worldScale;
    for (int32_t body = 0; body < modelLayout.bodyCount; ++body) {
        const dReal* position = dBodyGetPosition(bodyTable[body].body);
        const Point3& centre = modelLayout.bodyCentre[body];
        drift.x += modelLayout.anchor.x + position[0] * toModel - centre.x;
        drift.z += modelLayout.anchor.z - position[1] * toModel - centre.z;
    }
    if (modelLayout.bodyCount > 0) {
        drift.x /= modelLayout.bodyCount;
        drift.z /= modelLayout.bodyCount;
    }
    return drift;
}

// World (x, y, z) is drawn at (x, z, -y) over the anchor, divided by the
// world scale; a turn R of the world is the turn Q^-1 R Q of the drawing,
// with Q the quarter turn from drawing to world.
void applyBodyTransform(int32_t body) {
    const dReal* position = dBodyGetPosition(bodyTable[body].body);
    const dReal* r = dBodyGetRotation(bodyTable[body].body);
    const double toModel = 1.0 / modelLayout.worldScale;
    const Point3& anchor = modelLayout.anchor;
    glTranslated(anchor.x + position[0] * toModel, anchor.y + position[2] * toModel, anchor.z - position[1] * toModel);
    // Rows of R are r[0..2], r[4..6], r[8..10]; the drawing's turn, column
    // by column as OpenGL takes it.
    const double turn[16] = {r[0], r[8], -r[4], 0, r[2], r[10], -r[6], 0, -r[1], -r[9], r[5], 0, 0, 0, 0, 1};
    glMultMatrixd(turn);
}

// Red while the button that turns the view about this arrow is held.
void drawColouredArrow(int buttonDown, float radius, float halfLength) {
    if (buttonDown)
        glColor3f(1.0f, 0.0f, 0.0f);
    else
        glColor3f(0.0f, 0.0f, 1.0f);
    drawArrow(radius, halfLength);
}

}  // namespace
