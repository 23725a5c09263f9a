#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/help_text.h"
#include "app/screenshot.h"
#include "app/startup.h"
#include "model/console_text.h"
#include "model/loaded_model.h"
#include "model/regular_file.h"

namespace {

void startClassicMode();
void startModelMode(const CommandLine& commandLine);
void reportReadFailure(const char* path, const ModelReadFailure& failure);

}  // namespace

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

    std::string title = "Varnel";
    if (commandLine.modelPath == nullptr) {
        startClassicMode();
    } else {
        startModelMode(commandLine);
        title += " - " + std::filesystem::path(commandLine.modelPath).filename().string();
    }
    openWindow(&argc, argv, title.c_str());
    registerCallbacks();
    // GLUT delivers ticks only inside its event loop, so the first physics
    // step still comes after the scene is built.
    if (commandLine.screenshotPath == nullptr)
        startTimer();
    else
        photographOnFirstFrame(commandLine.screenshotPath, commandLine.screenshotSeconds);
    // Registered after every static table exists, so it runs before their
    // destructors.
    std::atexit(shutdown);
    initScene();
    glutMainLoop();
    return 0;
}

namespace {

void startClassicMode() {
    printHelp();
    loadModel("qemi_one.mqo");
}

// A model that can't be opened ends the program before anything else: the
// user named it, so there is nothing else to show.
void startModelMode(const CommandLine& commandLine) {
    const char* path = commandLine.modelPath;
    std::string problem;
    FILE* file = openRegularFile(path, &problem);
    useLocaleEncoding();
    if (file == nullptr) {
        std::fprintf(stderr, "varnel: cannot open '%s': %s\n", printableName(path).c_str(),
                     consoleText(problem, "UTF-8").c_str());
        std::exit(1);
    }
    modelSettings.mode = ViewerMode::Model;
    modelSettings.folder = std::filesystem::path(path).parent_path();
    modelSettings.separateParts = commandLine.separateParts;
    printHelpInLocaleEncoding();
    if (auto failure = loadModelFile(file)) reportReadFailure(path, *failure);
    std::fclose(file);
}

void reportReadFailure(const char* path, const ModelReadFailure& failure) {
    std::fprintf(stderr, "varnel: %s:%lld: %s\n", printableName(path).c_str(), static_cast<long long>(failure.line),
                 consoleText(failure.expected, "UTF-8").c_str());
}

}  // namespace
