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
#include "app/named_model.h"
#include "app/startup_timings.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "model/model_layout.h"
#include "model/object_mesh.h"
#include "physics/collision_mesh.h"
#include "physics/model_bodies.h"
#include "physics/physics_world.h"
#include "render/display_lists.h"
#include "render/lights.h"
#include "render/model_lights.h"
#include "render/model_lists.h"
#include "render/textures.h"

namespace {

void buildModelScene();
ViewDirection savedViewDirection(const SceneRecord& scene);

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
    printHelpInLocaleEncoding();
    readNamedModel("varnel", file, path);
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
}

void timerTick(int) {
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

namespace {

// Model mode: each object's triangles are made once and serve its display
// list and its body's collision points; the camera frames the model as it
// will come to rest. Faces are lit from both sides, since modellers' files
// mix the two windings and show a face's back as readily as its front.
void buildModelScene() {
    layOutModel();
    const Bounds& bounds = modelLayout.bounds;
    if (!bounds.empty())
        frameView(viewState, {bounds.min.x, bounds.min.y, bounds.min.z}, {bounds.max.x, bounds.max.y, bounds.max.z},
                  savedViewDirection(loadedScene()));
    setupModelLights(loadedScene());
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glFrontFace(GL_CW);
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        if (modelLayout.bodyOfObject[i] < 0) continue;
        const ObjectMesh mesh = buildObjectMesh(loadedObjects[i]);
        compileModelList(i, mesh);
        collectBodyPoints(i, mesh);
        releaseGeometry(loadedObjects[i]);
    }
}

// The modeller saves the view a model was last looked at from; a file
// without one is seen from the modeller's own starting view.
ViewDirection savedViewDirection(const SceneRecord& scene) {
    if (!scene.anglesGiven) return DEFAULT_VIEW_DIRECTION;
    return {scene.angles[0], scene.angles[1]};
}

}  // namespace
