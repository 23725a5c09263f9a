#include "app/input.h"

#include <GL/glut.h>
#include <ode/ode.h>

#include <cstdlib>

#include "app/body_picking.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "physics/bodies.h"

namespace {

void pushBody(int32_t body);

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
    const bool ctrl = (glutGetModifiers() & GLUT_ACTIVE_CTRL) != 0;
    if (button != GLUT_LEFT_BUTTON || !pickingTakesLeftButton(state == GLUT_DOWN, ctrl, x, y))
        pressOrReleaseButton(viewState, button, state, x, y);
    glutPostRedisplay();
}

void mouseDrag(int x, int y) {
    if (pickingTakesDrag(x, y) || turnByDrag(viewState, x, y)) glutPostRedisplay();
}

void specialKey(int key, int, int) {
    applySpecialKey(viewState, key);
    glutPostRedisplay();
}

void keyboardKey(unsigned char key, int, int) {
    switch (applyKey(viewState, key)) {
    case KeyEffect::Quit: std::exit(0);
    case KeyEffect::PushBody: pushBody(bodyToPush()); break;
    case KeyEffect::ResetView: resetFramedView(viewState); break;
    case KeyEffect::Redraw: break;
    }
    glutPostRedisplay();
}

namespace {

// Upwards in the physics world, whose z axis points up. The force waits for
// the next step; the redraw that follows still shows the old positions.
void pushBody(int32_t body) {
    if (bodyTable[body].body == nullptr) return;
    // A body that came to rest is woken to take the push.
    dBodyEnable(bodyTable[body].body);
    dBodyAddForce(bodyTable[body].body, 0.0, 0.0, 500.0);
}

}  // namespace
