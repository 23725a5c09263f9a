#include "app/screenshot.h"

#include <GL/glut.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frame.h"
#include "app/light_orbit.h"
#include "app/startup_timings.h"
#include "physics/physics_world.h"
#include "render/images/png_writer.h"

namespace {

// The viewer's tick, whose count a screenshot's time is divided into.
constexpr double TICK_SECONDS = 0.017;

const char* picturePath = nullptr;
double runSeconds = 0.0;

void photographFrame();

}  // namespace

void photographOnFirstFrame(const char* path, double seconds) {
    picturePath = path;
    runSeconds = seconds;
    glutDisplayFunc(photographFrame);
}

bool writeFramePicture(const char* path) {
    const int width = glutGet(GLUT_WINDOW_WIDTH);
    const int height = glutGet(GLUT_WINDOW_HEIGHT);
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return writePngFile(path, width, height, pixels.data(), false, RowOrder::BottomFirst);
}

namespace {

// Each tick of a normal run steps the world and brings one more frame, and
// every frame moves the lights on by a degree.
void photographFrame() {
    const long ticks = std::lround(runSeconds / TICK_SECONDS);
    for (long tick = 0; tick < ticks; ++tick) {
        stepPhysics();
        advanceLightOrbit(lightOrbit);
    }
    drawFrame();
    const bool written = writeFramePicture(picturePath);
    glutSwapBuffers();
    reportTimings();
    if (!written) {
        std::fprintf(stderr, "varnel: cannot write '%s'\n", picturePath);
        std::exit(1);
    }
    std::exit(0);
}

}  // namespace
