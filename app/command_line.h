// The viewer's command line: `varnel [OPTIONS] [MODEL]`. Without a model the
// viewer runs in its classic mode on qemi_one.mqo; with one, in model mode.
#pragma once

#include <string>

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };

    Action action = Action::Run;
    // Null in the classic mode.
    const char* modelPath = nullptr;
    // Each visible object drops as a body of its own (model mode only).
    bool separateParts = false;
    // The model stays where it was modelled, the simulation paused (model
    // mode only).
    bool still = false;
    // The model's files are not watched for saves (model mode only).
    bool noWatch = false;
    // Null unless the scene is to be photographed and the viewer to quit.
    const char* screenshotPath = nullptr;
    double screenshotSeconds = 3.0;
    // The screenshot is drawn offscreen even when there is a display.
    bool offscreen = false;
    // The screenshot's background is left clear: an RGBA picture of the
    // model and its shadow alone.
    bool clearBackground = false;
    // The window's size, and the screenshot's.
    int width = 800;
    int height = 600;
    // Start-up phases go to standard error after the first frame.
    bool reportTimings = false;
    // What was wrong, for Action::Refuse.
    std::string problem;
};

// Reads the arguments the way GLUT leaves them to us: GLUT's own options
// (-display, -geometry, ...) are stepped over, with their values.
CommandLine parseCommandLine(int argc, char** argv);
// Whether the screenshot is drawn without a window: always with --offscreen,
// and whenever there is no display to open one on.
bool drawsOffscreen(const CommandLine& commandLine);

extern const char* const USAGE_TEXT;
extern const char* const VERSION_TEXT;
