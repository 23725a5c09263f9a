#include "app/startup.h"

#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/frame.h"
#include "app/help_text.h"
#include "app/input.h"
#include "app/light_orbit.h"
#include "app/model_reload.h"
#include "app/model_scene.h"
#include "app/named_model.h"
#include "app/startup_timings.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "physics/collision_mesh.h"
#include "physics/physics_world.h"
#include "render/display_lists.h"
#include "render/lights.h"
#include "render/textures.h"

namespace {

// Model mode: whether the model's files are watched for saves.
bool watching = false;

}  // namespace

void startClassicMode() {
    printHelp();
    loadModel("qemi_one.mqo");
    endPhase("read");
}

// A model that can't be opened ends the program before anything else: the
// user named it, so there is nothing else to show.
void startModelMode(const CommandLine& commandLine) {
    const char* path = commandLine.modelPath;
    FILE* file = openNamedModel("varnel", path);
    if (file == nullptr) std::exit(1);
    useModelMode(path, commandLine.separateParts, commandLine.still);
    watching = !commandLine.noWatch && commandLine.screenshotPath == nullptr;
    printModelModeHelp();
    readNamedModel(file, path);
    endPhase("read");
}

std::string windowTitle(const CommandLine& commandLine) {
    if (commandLine.modelPath == nullptr) return "Varnel";
    return "Varnel - " + std::filesystem::path(commandLine.modelPath).filename().string();
}

void openWindow(int* argc, char** argv, const CommandLine& commandLine) {
    // Position and size are set before glutInit so that command-line
    // geometry options, which glutInit reads, still win.
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(commandLine.width, commandLine.height);
    glutInit(argc, argv);
    // A screenshot with a clear background reads the window's alpha back.
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | (commandLine.clearBackground ? GLUT_ALPHA : 0));
    glutCreateWindow(windowTitle(commandLine).c_str());
    // The model is framed for the window's size before its first reshape.
    int width = glutGet(GLUT_WINDOW_WIDTH), height = glutGet(GLUT_WINDOW_HEIGHT);
    resizeView(viewState, width, height);
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
    // The classic collision meshes are built on a thread of their own from
    // here on, while the window fills.
    preparePhysics();
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
    endPhase("textures");
    if (inModelMode()) {
        buildModelScene();
    } else {
        buildDisplayLists();
        // Nothing reads the objects' geometry any more: the display lists
        // and the collision arrays hold it now.
        waitForCollisionArrays();
        for (int32_t i = 0; i < loadedObjectCount(); ++i) releaseGeometry(loadedObjects[i]);
    }
    endPhase("display lists");
    initPhysics();
    endPhase("physics");
    if (watching) watchModel();
}

void timerTick(int) {
    if (watching) reloadModelWhenSaved();
    stepPhysics();
    glutPostRedisplay();
    startTimer();
}

void shutdown() {
    // The world goes before the collision arrays its meshes read, then the
    // model.
    destroyPhysics();
    releaseCollisionArrays();
    releaseModel();
#if defined(__SANITIZE_ADDRESS__)
    // The GL driver is unloaded before the sanitizer's own check at exit,
    // which then sees the driver's live buffers as leaks it cannot even name.
    // Checked here, everything the viewer still holds is reachable, and
    // anything it lost is reported.
    __lsan_do_leak_check();
#endif
}
