#include "app/input.h"

#include <GL/glut.h>
#include <ode/ode.h>

#include <cstdlib>

#include "app/body_picking.h"
#include "app/saved_screenshots.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "physics/bodies.h"
#include "physics/physics_world.h"
#include "render/textures.h"

namespace {

void pushBody(int32_t body);
void applyModelKey(KeyEffect effect);

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
    if (key == GLUT_KEY_F12 && inModelMode()) askForScreenshot();
    applySpecialKey(viewState, key);
    glutPostRedisplay();
}

void keyboardKey(unsigned char key, int, int) {
    const KeyEffect effect = applyKey(viewState, key);
    switch (effect) {
    case KeyEffect::Quit: std::exit(0);
    case KeyEffect::PushBody: pushBody(bodyToPush()); break;
    case KeyEffect::Redraw: break;
    default:
        if (inModelMode()) applyModelKey(effect);
        break;
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

// The front is seen from the model's +z, its right side from +x, its top
// from straight above.
void applyModelKey(KeyEffect effect) {
    constexpr double QUARTER_TURN = 1.57079632679489661923;
    switch (effect) {
    case KeyEffect::ResetView: resetFramedView(viewState); break;
    case KeyEffect::ShowFront: frameViewFrom(viewState, {0.0, 0.0}); break;
    case KeyEffect::ShowRight: frameViewFrom(viewState, {-QUARTER_TURN, 0.0}); break;
    case KeyEffect::ShowTop: frameViewFrom(viewState, {0.0, QUARTER_TURN}); break;
    case KeyEffect::ToggleGround: viewState.groundShown = !viewState.groundShown; break;
    case KeyEffect::ToggleOrbitingLights: viewState.orbitingLightsShown = !viewState.orbitingLightsShown; break;
    case KeyEffect::TogglePause: physicsWorld.paused = !physicsWorld.paused; break;
    case KeyEffect::NextWireframe: viewState.wireframe = nextWireframe(viewState.wireframe); break;
    case KeyEffect::ToggleTextures:
        viewState.texturesShown = !viewState.texturesShown;
        showTextures(viewState.texturesShown);
        break;
    case KeyEffect::ToggleHelp: viewState.helpShown = !viewState.helpShown; break;
    case KeyEffect::ToggleInformation: viewState.informationShown = !viewState.informationShown; break;
    case KeyEffect::SaveScreenshot: askForScreenshot(); break;
    default: break;
    }
}

}  // namespace
