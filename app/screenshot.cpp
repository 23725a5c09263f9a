#include "app/screenshot.h"

#include <GL/glut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/drawing_surface.h"
#include "app/frame.h"
#include "app/light_orbit.h"
#include "app/startup_timings.h"
#include "app/view_state.h"
#include "physics/physics_world.h"
#include "render/images/png_writer.h"

namespace {

// The viewer's tick, whose count a screenshot's time is divided into.
constexpr double TICK_SECONDS = 0.017;

CommandLine photographed;

[[noreturn]] void photographFrame();
void runScene(double seconds);
void undoBlendingOverClear(std::vector<unsigned char>& pixels);

}  // namespace

void photographOnFirstFrame(const CommandLine& commandLine) {
    photographed = commandLine;
    glutDisplayFunc(photographFrame);
}

void photographNow(const CommandLine& commandLine) {
    photographed = commandLine;
    photographFrame();
}

void drawPicture(bool clearBackground) {
    viewState.clearBackground = clearBackground;
    if (clearBackground) glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    drawFrame();
}

// Read back from the buffer that is about to be shown, or from the
// offscreen picture.
bool writeFramePicture(const char* path, bool withAlpha) {
    const int width = surfaceWidth();
    const int height = surfaceHeight();
    const int channels = withAlpha ? 4 : 3;
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(drawnBuffer());
    glReadPixels(0, 0, width, height, withAlpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    if (withAlpha) undoBlendingOverClear(pixels);
    return writePngFile(path, width, height, pixels.data(), withAlpha, RowOrder::BottomFirst);
}

namespace {

void photographFrame() {
    const char* path = photographed.screenshotPath;
    runScene(photographed.screenshotSeconds);
    drawPicture(photographed.clearBackground);
    const bool written = writeFramePicture(path, photographed.clearBackground);
    showFrame();
    reportTimings();
    if (!written) {
        std::fprintf(stderr, "varnel: cannot write '%s'\n", path);
        std::exit(1);
    }
    std::exit(0);
}

// Each tick of a normal run steps the world and brings one more frame, and
// every frame moves the lights on by a degree.
void runScene(double seconds) {
    const long ticks = std::lround(seconds / TICK_SECONDS);
    for (long tick = 0; tick < ticks; ++tick) {
        stepPhysics();
        advanceLightOrbit(lightOrbit);
    }
}

// See-through faces blend their colour over what is behind them, clear
// black at the back, and their alpha over its alpha (see
// beginTranslucentFaces): the picture holds each colour times its cover.
// PNG keeps colours whole, so each is divided by its cover again.
void undoBlendingOverClear(std::vector<unsigned char>& pixels) {
    for (size_t at = 0; at < pixels.size(); at += 4) {
        const unsigned alpha = pixels[at + 3];
        if (alpha == 0 || alpha == 255) continue;
        for (int channel = 0; channel < 3; ++channel)
            pixels[at + channel] =
                static_cast<unsigned char>(std::min(255u, (pixels[at + channel] * 255u + alpha / 2) / alpha));
    }
}

}  // namespace
