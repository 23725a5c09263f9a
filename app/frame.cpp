#include "app/frame.h"

#include <GL/glut.h>
#include <ode/ode.h>

#include <cmath>

#include "app/drawing_surface.h"
#include "app/light_orbit.h"
#include "app/model_frame.h"
#include "app/overlay.h"
#include "app/saved_screenshots.h"
#include "app/startup_timings.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "physics/bodies.h"
#include "render/lights.h"
#include "render/list_pieces.h"

// NOTE: 3.14 / 6 rather than a true sixth of a turn, so the shaft's last
// edge lies at 6.28 radians, a hair short of closing the ring.
constexpr double SHAFT_STEP = 0.5233333333333333;

namespace {

void drawObjects();
void drawColouredArrow(int buttonDown, float radius, float halfLength);

}  // namespace

void displayFrame() {
    drawFrame();
    if (inModelMode()) {
        saveScreenshotIfAsked();
        drawOverlay();
    }
    glutSwapBuffers();
    reportTimings();
}

void drawFrame() {
    if (inModelMode()) {
        drawModelFrame();
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    applyViewOffset();
    const ViewState& view = viewState;
    gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.center.x, view.center.y, view.center.z, view.up.x, view.up.y,
              view.up.z);

    // Lights and gizmo are placed in the fixed camera's frame: they do not
    // turn with the view, only the orbit moves the lights.
    advanceLightOrbit(lightOrbit);
    placeOrbitingLights(lightOrbit, light1Position, light2Position);
    drawLightMarker(GL_LIGHT1, light1Position);
    drawLightMarker(GL_LIGHT2, light2Position);
    glPushMatrix();
    glTranslated(view.center.x, view.center.y, view.center.z);
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
    drawSolidCone(2.0 * radius, 4.0 * radius, 5, 5);
}

// The offset moves the whole view (lights, gizmo and models) in the camera's
// own frame, so "left" is always left on the screen however the scene has
// been turned: a translation in eye coordinates, before the camera's.
void applyViewOffset() {
    const float* offset = viewState.viewOffset;
    glTranslatef(offset[0], offset[1], offset[2]);
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

namespace {

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
        callObjectList(i);
        glPopMatrix();
    }
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
