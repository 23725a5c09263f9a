#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

#include "app/help_text.h"
#include "app/startup.h"
#include "model/loaded_model.h"

int main(int argc, char** argv) {
    // Every console message ends in a line feed: flushing each line keeps
    // them in order on a pipe, and shows the missing-model prompt before the
    // loader waits on standard input.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    printHelp();
    loadModel("qemi_one.mqo");
    openWindow(&argc, argv);
    registerCallbacks();
    // GLUT delivers ticks only inside its event loop, so the first physics
    // step still comes after the scene is built.
    startTimer();
    // Registered after every static table exists, so it runs before their
    // destructors.
    std::atexit(shutdown);
    initScene();
    glutMainLoop();
    return 0;
}
