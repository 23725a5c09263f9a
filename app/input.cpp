#include "app/input.h"

#include <GL/glut.h>
#include <ode/ode.h>

#include <cstdlib>

#include "app/view_state.h"
#include "model/loaded_model.h"
#include "physics/bodies.h"

namespace {

void pushFirstBody();

}  // namespace

void reshapeWindow(int width, int height) {
    resizeView(viewState, width, height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, static_cast<double>(width) / height, viewState.nearPlane, viewState.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void mouseButton(int button, int state, int x, int y) {
    pressOrReleaseButton(viewState, button, state, x, y);
    glutPostRedisplay();
}

void mouseDrag(int x, int y) {
    if (turnByDrag(viewState, x, y)) glutPostRedisplay();
}

void specialKey(int key, int, int) {
    applySpecialKey(viewState, key);
    glutPostRedisplay();
}

void keyboardKey(unsigned char key, int, int) {
    switch (applyKey(viewState, key)) {
    case KeyEffect::Quit: std::exit(0);
    case KeyEffect::PushFirstBody: pushFirstBody(); break;
    case KeyEffect::ResetView: resetFramedView(viewState); break;
    case KeyEffect::Redraw: break;
    }
    glutPostRedisplay();
}

namespace {

// Upwards in the physics world, whose z axis points up. The force waits for
// the next step; the redraw that follows still shows the old positions.
void pushFirstBody() {
    if (bodyTable[0].body == nullptr) return;
    // A body that came to rest is woken to take the push.
    dBodyEnable(bodyTable[0].body);
    dBodyAddForce(bodyTable[0].body, 0.0, 0.0, 500.0);
}

}  // namespace
