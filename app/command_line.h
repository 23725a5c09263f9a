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
    // Start-up phases go to standard error after the first frame.
    bool reportTimings = false;
    // What was wrong, for Action::Refuse.
    std::string problem;
};

// Reads the arguments the way GLUT leaves them to us: GLUT's own options
// (-display, -geometry, ...) are stepped over, with their values.
CommandLine parseCommandLine(int argc, char** argv);

extern const char* const USAGE_TEXT;
extern const char* const VERSION_TEXT;
