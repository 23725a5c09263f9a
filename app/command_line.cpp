#include "app/command_line.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// GLUT's options with a value, then those without; glutInit takes them.
constexpr std::string_view GLUT_OPTIONS_WITH_VALUE[] = {"-display", "-geometry"};
constexpr std::string_view GLUT_FLAGS[] = {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"};
// Far beyond any drop; keeps the tick count in range.
constexpr double LONGEST_SCREENSHOT_SECONDS = 3600.0;
// The largest window or picture side; a picture of 4096 by 4096 takes 64 MiB.
constexpr int LARGEST_SIDE = 4096;

bool isOneOf(std::string_view argument, const auto& options);
bool readSeconds(const char* text, double& seconds);
bool readSize(const char* text, int& width, int& height);
bool readSide(const char* text, const char** end, int& side);
CommandLine refuse(std::string problem);

}  // namespace

const char* const USAGE_TEXT =
    "usage: varnel [OPTIONS] [MODEL]\n"
    "Views a Metasequoia text model (.mqo, or compressed as .mqoz) and drops it\n"
    "onto a ground plane.\n"
    "Without MODEL it opens qemi_one.mqo in the working folder, with its\n"
    "textures in the folder Texture beside it.\n"
    "\n"
    "  --parts              drop each object of MODEL as a body of its own\n"
    "  --still              show MODEL where it was modelled, the simulation paused\n"
    "  --no-watch           don't read MODEL again when it is saved\n"
    "  --screenshot FILE    run the scene, save the window as a PNG file, quit\n"
    "  --after SECONDS      how long the scene runs before the screenshot (3)\n"
    "  --size WxH           the window's and the screenshot's size in pixels,\n"
    "                       each side from 1 to 4096 (800x600)\n"
    "  --background transparent\n"
    "                       leave the screenshot's background clear: an RGBA\n"
    "                       picture of MODEL alone\n"
    "  --offscreen          draw the screenshot without a window, as it is drawn\n"
    "                       when there is no display\n"
    "  --timings            tell how long start-up took, phase by phase\n"
    "  --help               show this help and quit\n"
    "  --version            show the version and quit\n"
    "\n"
    "GLUT's own options, such as -display and -geometry, are taken as well.\n";

const char* const VERSION_TEXT = "varnel " VARNEL_VERSION "\n";

CommandLine parseCommandLine(int argc, char** argv) {
    CommandLine result;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            if (result.modelPath != nullptr) return refuse("more than one MODEL given");
            result.modelPath = argv[i];
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            result.action = CommandLine::Action::ShowHelp;
            return result;
        } else if (argument == "--version") {
            result.action = CommandLine::Action::ShowVersion;
            return result;
        } else if (argument == "--timings") {
            result.reportTimings = true;
        } else if (argument == "--parts") {
            result.separateParts = true;
        } else if (argument == "--still") {
            result.still = true;
        } else if (argument == "--no-watch") {
            result.noWatch = true;
        } else if (argument == "--screenshot") {
            if (value == nullptr) return refuse("--screenshot needs a FILE");
            result.screenshotPath = argv[++i];
        } else if (argument == "--after") {
            if (value == nullptr || !readSeconds(value, result.screenshotSeconds))
                return refuse("--after needs a number of seconds from 0 to 3600");
            ++i;
        } else if (argument == "--size") {
            if (value == nullptr || !readSize(value, result.width, result.height))
                return refuse("--size needs WIDTHxHEIGHT, each from 1 to 4096 pixels");
            ++i;
        } else if (argument == "--background") {
            if (value == nullptr || std::string_view(value) != "transparent")
                return refuse("--background needs the word transparent");
            result.clearBackground = true;
            ++i;
        } else if (argument == "--offscreen") {
            result.offscreen = true;
        } else if (isOneOf(argument, GLUT_OPTIONS_WITH_VALUE)) {
            ++i;
        } else if (!isOneOf(argument, GLUT_FLAGS)) {
            return refuse("unknown option " + std::string(argument));
        }
    }
    if (result.separateParts && result.modelPath == nullptr) return refuse("--parts needs a MODEL");
    if (result.still && result.modelPath == nullptr) return refuse("--still needs a MODEL");
    if (result.clearBackground && result.modelPath == nullptr) return refuse("--background needs a MODEL");
    if (result.clearBackground && result.screenshotPath == nullptr) return refuse("--background needs --screenshot");
    if (result.offscreen && result.screenshotPath == nullptr) return refuse("--offscreen needs --screenshot");
    return result;
}

bool drawsOffscreen(const CommandLine& commandLine) {
    if (commandLine.screenshotPath == nullptr) return false;
    const char* display = std::getenv("DISPLAY");
    return commandLine.offscreen || display == nullptr || *display == '\0';
}

namespace {

bool isOneOf(std::string_view argument, const auto& options) {
    for (std::string_view option : options)
        if (argument == option) return true;
    return false;
}

bool readSeconds(const char* text, double& seconds) {
    char* end = nullptr;
    double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value >= 0.0 && value <= LONGEST_SCREENSHOT_SECONDS)) return false;
    seconds = value;
    return true;
}

// WIDTHxHEIGHT in decimal digits, as X geometry writes a size.
bool readSize(const char* text, int& width, int& height) {
    const char* rest = nullptr;
    int readWidth = 0, readHeight = 0;
    if (!readSide(text, &rest, readWidth) || *rest != 'x') return false;
    if (!readSide(rest + 1, &rest, readHeight) || *rest != '\0') return false;
    width = readWidth;
    height = readHeight;
    return true;
}

bool readSide(const char* text, const char** end, int& side) {
    long value = 0;
    const char* digit = text;
    for (; *digit >= '0' && *digit <= '9'; ++digit) {
        value = value * 10 + (*digit - '0');
        if (value > LARGEST_SIDE) return false;
    }
    *end = digit;
    side = static_cast<int>(value);
    return digit != text && side >= 1;
}

CommandLine refuse(std::string problem) {
    CommandLine result;
    result.action = CommandLine::Action::Refuse;
    result.problem = std::move(problem);
    return result;
}

}  // namespace
