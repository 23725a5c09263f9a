// frame_bench TICKS [MODEL]: the viewer's cost per frame and per timer tick
// in its own 800 by 600 window, started as the viewer starts: in the classic
// mode on qemi_one.mqo in the working folder, or in model mode on MODEL.
// Once the first frame is drawn it answers requests on standard input, as
// frame_requests says: an empty line draws one more frame of the picture as
// it stands (displayFrame and glFinish, so that the software renderer has
// really drawn it); `ticks` runs TICKS ticks of the drop and answers with
// the triangles and the mean of the last 60 ticks (about a second of the
// scene; after 600 ticks the model lies on the ground).
#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/frame.h"
#include "app/input.h"
#include "app/startup.h"
#include "bench/frame/frame_requests.h"
#include "model/loaded_model.h"

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
constexpr int LAST_TICKS = 60;

void drawAndFinish();
bool answer(std::string_view request, int ticks, int64_t triangles);
double secondsNow();
int64_t loadedFaceCount();

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc >= 2 ? std::atoi(argv[1]) : -1;
    if (argc < 2 || argc > 3 || ticks < 0) {
        std::fputs("usage: frame_bench TICKS [MODEL]\n", stderr);
        return 2;
    }
    CommandLine commandLine;
    if (argc == 3) {
        commandLine.modelPath = argv[2];
        startModelMode(commandLine);
    } else {
        startClassicMode();
    }
    // Counted before the start-up releases the geometry it has drawn.
    const int64_t triangles = loadedFaceCount();
    openWindow(&argc, argv, windowTitle(commandLine).c_str());
    registerCallbacks();
    initScene();
    reshapeWindow(WINDOW_WIDTH, WINDOW_HEIGHT);

    // The first frame shows what the start-up left; the others what a frame costs.
    drawAndFinish();
    answerRequests("frame_bench", drawAndFinish,
                   [&](std::string_view request) { return answer(request, ticks, triangles); });
    shutdown();
    return 0;
}

namespace {

void drawAndFinish() {
    displayFrame();
    glFinish();
}

bool answer(std::string_view request, int ticks, int64_t triangles) {
    if (request != "ticks") return false;
    const int lastTicks = std::min(ticks, LAST_TICKS);
    for (int i = 0; i < ticks - lastTicks; ++i) timerTick(0);
    const double start = secondsNow();
    for (int i = 0; i < lastTicks; ++i) timerTick(0);
    const double tickSeconds = lastTicks > 0 ? (secondsNow() - start) / lastTicks : 0.0;
    std::fprintf(stderr, "frame_bench: triangles=%lld tick_ms=%.4f\n", static_cast<long long>(triangles),
                 tickSeconds * 1e3);
    return true;
}

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
