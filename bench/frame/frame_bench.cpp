// frame_bench MODEL_FILE [FRAMES] [TICKS]: the viewer's cost per frame
// (displayFrame, then glFinish so the software renderer has really drawn it)
// and per timer tick (one physics step, a redraw request, the re-arm), in the
// viewer's own 800 by 600 window. Run it on a display, in the folder that
// holds the model's Texture/ folder; run-frame.sh does both.
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

struct Timing {
    double median;
    double mean;
    double slowest;
};

namespace {

double secondsNow();
Timing summarise(std::vector<double> seconds);
void report(const char* what, int count, const Timing& timing);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_bench MODEL_FILE [FRAMES] [TICKS]\n");
        return 2;
    }
    const char* model = argv[1];
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    const int ticks = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;

    double start = secondsNow();
    loadModel(model);
    openWindow(&argc, argv, "Varnel");
    registerCallbacks();
    initScene();
    reshapeWindow(800, 600);
    glFinish();
    std::printf("%s: %d objects, start-up %.2f s\n", model, loadedObjectCount(), secondsNow() - start);

    // The objects fall, land and bounce over the ticks, so contacts with the
    // ground are part of the figure; the frames are drawn where they land.
    std::vector<double> tickSeconds;
    for (int i = 0; i < ticks; ++i) {
        start = secondsNow();
        timerTick(0);
        tickSeconds.push_back(secondsNow() - start);
    }
    displayFrame();
    glFinish();
    std::vector<double> frameSeconds;
    for (int i = 0; i < frames; ++i) {
        start = secondsNow();
        displayFrame();
        glFinish();
        frameSeconds.push_back(secondsNow() - start);
    }
    report("frame (displayFrame + glFinish)", frames, summarise(frameSeconds));
    report("timer tick", ticks, summarise(tickSeconds));
    shutdown();
    return 0;
}

namespace {

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Timing summarise(std::vector<double> seconds) {
    std::sort(seconds.begin(), seconds.end());
    double sum = 0.0;
    for (double s : seconds) sum += s;
    return {seconds[seconds.size() / 2], sum / seconds.size(), seconds.back()};
}

void report(const char* what, int count, const Timing& timing) {
    std::printf("  %-32s %5d runs: median %9.3f ms, mean %9.3f ms, slowest %9.3f ms\n", what, count,
                timing.median * 1e3, timing.mean * 1e3, timing.slowest * 1e3);
}

}  // namespace
