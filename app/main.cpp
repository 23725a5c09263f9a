#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/offscreen_picture.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "app/startup_timings.h"

int main(int argc, char** argv) {
    // Every console message ends in a line feed: flushing each line keeps
    // them in order on a pipe, and shows the missing-model prompt before the
    // loader waits on standard input.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    const CommandLine commandLine = parseCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp: std::fputs(USAGE_TEXT, stdout); return 0;
    case CommandLine::Action::ShowVersion: std::fputs(VERSION_TEXT, stdout); return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "varnel: %s\n%s", commandLine.problem.c_str(), USAGE_TEXT);
        return 2;
    case CommandLine::Action::Run: break;
    }

    startTimings(commandLine.reportTimings);
    if (commandLine.modelPath == nullptr)
        startClassicMode();
    else
        startModelMode(commandLine);
    if (drawsOffscreen(commandLine)) photographOffscreen(commandLine);
    openWindow(&argc, argv, commandLine);
    registerCallbacks();
    // GLUT delivers ticks only inside its event loop, so the first physics
    // step still comes after the scene is built.
    if (commandLine.screenshotPath == nullptr)
        startTimer();
    else
        photographOnFirstFrame(commandLine);
    // Registered after every static table exists, so it runs before their
    // destructors.
    std::atexit(shutdown);
    initScene();
    glutMainLoop();
    return 0;
}
