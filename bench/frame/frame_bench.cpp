// frame_bench TICKS [--parts] [MODEL]: the viewer's cost per frame and per
// timer tick in its own 800 by 600 window, started as the viewer starts: in
// the classic mode on qemi_one.mqo in the working folder, or in model mode on
// MODEL, each object its own body with --parts.
// Once the first frame is drawn it answers requests on standard input, as
// frame_requests says: an empty line draws one more frame of the picture as
// it stands (displayFrame and glFinish, so that the software renderer has
// really drawn it); `ticks` runs TICKS ticks of the drop and answers with
// the triangles and the tick times tick_times.h tells (after 600 ticks the
// model lies on the ground).
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/frame.h"
#include "app/input.h"
#include "app/startup.h"
#include "bench/frame/frame_requests.h"
#include "bench/frame/tick_times.h"
#include "model/loaded_model.h"

namespace {

constexpr int WINDOW_WIDTH = 800;
constexpr int WINDOW_HEIGHT = 600;
void drawAndFinish();
bool answer(std::string_view request, int ticks, int64_t triangles);
int64_t loadedFaceCount();

}  // namespace

int main(int argc, char** argv) {
    const int ticks = argc >= 2 ? std::atoi(argv[1]) : -1;
    const bool parts = argc == 4 && std::string_view(argv[2]) == "--parts";
    if (argc < 2 || argc > 4 || ticks < 0 || (argc == 4 && !parts)) {
        std::fputs("usage: frame_bench TICKS [--parts] [MODEL]\n", stderr);
        return 2;
    }
    CommandLine commandLine;
    if (argc >= 3) {
        commandLine.modelPath = argv[argc - 1];
        commandLine.separateParts = parts;
        startModelMode(commandLine);
    } else {
        startClassicMode();
    }
    // Counted before the start-up releases the geometry it has drawn.
    const int64_t triangles = loadedFaceCount();
    openWindow(&argc, argv, commandLine);
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
    TickTimes times;
    for (int i = 0; i < ticks; ++i) times.time([] { timerTick(0); });
    times.print("frame_bench", static_cast<long long>(triangles));
    return true;
}

int64_t loadedFaceCount() {
    int64_t faces = 0;
    for (int32_t i = 0; i < loadedObjectCount(); ++i) faces += loadedObjects[i].faceCount;
    return faces;
}

}  // namespace
