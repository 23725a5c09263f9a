#include "app/offscreen_picture.h"

#include <cstdio>
#include <cstdlib>

#include "app/drawing_surface.h"
#include "app/input.h"
#include "app/offscreen_context.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "app/view_state.h"

bool openOffscreenPicture(int width, int height, std::string& problem) {
    if (!openOffscreenContext(width, height, problem)) return false;
    drawOffscreen(width, height);
    // Registered after every static table exists, so it runs before their
    // destructors.
    std::atexit(shutdown);
    resizeView(viewState, width, height);
    initScene();
    reshapeWindow(width, height);
    return true;
}

void photographOffscreen(const CommandLine& commandLine) {
    std::string problem;
    if (!openOffscreenPicture(commandLine.width, commandLine.height, problem)) {
        std::fprintf(stderr, "varnel: cannot draw offscreen: %s\n", problem.c_str());
        std::exit(1);
    }
    photographNow(commandLine);
}
