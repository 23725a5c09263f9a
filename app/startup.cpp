#include "app/startup.h"

#include <GL/glut.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/frame.h"
#include "app/input.h"
#include "app/light_orbit.h"
#include "app/view_state.h"
#include "physics/physics_world.h"
#include "render/display_lists.h"
#include "render/lights.h"
#include "render/textures.h"

constexpr unsigned TICK_MS = 17;

void openWindow(int* argc, char** argv, const char* title) {
    // Position and size are set before glutInit so that command-line
    // geometry options, which glutInit reads, still win.
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(800, 600);
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(title);
}

void registerCallbacks() {
    glutDisplayFunc(displayFrame);
    glutReshapeFunc(reshapeWindow);
    glutMouseFunc(mouseButton);
    glutKeyboardFunc(keyboardKey);
    glutMotionFunc(mouseDrag);
    glutSpecialFunc(specialKey);
}

void startTimer() {
    glutTimerFunc(TICK_MS, timerTick, 0);
}

void initScene() {
    resetViewRotation(viewState);
    resetLightOrbit(lightOrbit);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    setupLights();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LEQUAL);
    setupTextures();
    buildDisplayLists();
    initPhysics();
}

void timerTick(int) {
    stepPhysics();
    glutPostRedisplay();
    startTimer();
}

void shutdown() {
    releasePhysicsAndModel();
#if defined(__SANITIZE_ADDRESS__)
    // The GL driver is unloaded before the sanitizer's own check at exit,
    // which then sees the driver's live buffers as leaks it cannot even name.
    // Checked here, everything the viewer still holds is reachable, and
    // anything it lost is reported.
    __lsan_do_leak_check();
#endif
}
