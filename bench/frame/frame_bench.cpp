// frame_bench FRAMES TICKS [MODEL]: the viewer's cost per frame and per
// timer tick in its own 800 by 600 window, started as the viewer starts:
// in the classic mode on qemi_one.mqo in the working folder, or in model
// mode on MODEL. It first draws FRAMES frames of the first frame's picture
// (displayFrame and glFinish, so that the software renderer has really
// drawn each), then runs TICKS ticks of the drop. Prints the triangles, the
// median frame and the mean of the last 60 ticks (about a second of the
// scene, when 600 ticks have let the model come to the ground) on standard
// error, apart from the viewer's console text.
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frame.h"
#include "app/input.h"
#include "app/startup.h"
#include "model/loaded_model.h"

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
constexpr int LAST_TICKS = 60;

double secondsNow();
int64_t loadedFaceCount();

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc >= 3 ? std::atoi(argv[1]) : 0;
    const int ticks = argc >= 3 ? std::atoi(argv[2]) : -1;
    if (argc < 3 || argc > 4 || frames < 1 || ticks < 0) {
        std::fputs("usage: frame_bench FRAMES TICKS [MODEL]\n", stderr);
        return 2;
    }
    CommandLine commandLine;
    if (argc == 4) {
        commandLine.modelPath = argv[3];
        startModelMode(commandLine);
    } else {
        startClassicMode();
    }
    openWindow(&argc, argv, windowTitle(commandLine).c_str());
    registerCallbacks();
    initScene();
    reshapeWindow(WINDOW_WIDTH, WINDOW_HEIGHT);

    // The first frame shows what the start-up left, the others what a frame costs.
    displayFrame();
    glFinish();
    std::vector<double> frameSeconds;
    for (int i = 0; i < frames; ++i) {
        const double start = secondsNow();
        displayFrame();
        glFinish();
        frameSeconds.push_back(secondsNow() - start);
    }
    std::sort(frameSeconds.begin(), frameSeconds.end());

    const int lastTicks = std::min(ticks, LAST_TICKS);
    for (int i = 0; i < ticks - lastTicks; ++i) timerTick(0);
    const double start = secondsNow();
    for (int i = 0; i < lastTicks; ++i) timerTick(0);
    const double tickSeconds = lastTicks > 0 ? (secondsNow() - start) / lastTicks : 0.0;
    std::fprintf(stderr, "frame_bench: triangles=%lld frame_ms=%.3f tick_ms=%.4f\n",
                 static_cast<long long>(loadedFaceCount()), frameSeconds[frameSeconds.size() / 2] * 1e3,
                 tickSeconds * 1e3);
    shutdown();
    return 0;
}

namespace {

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

int64_t loadedFaceCount() {
    int64_t faces = 0;
    for (int32_t i = 0; i < loadedObjectCount(); ++i) faces += loadedObjects[i].faceCount;
    return faces;
}

}  // namespace
