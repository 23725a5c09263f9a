#include "app/command_line.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// GLUT's options with a value, then those without; glutInit takes them.
constexpr std::string_view GLUT_OPTIONS_WITH_VALUE[] = {"-display", "-geometry"};
constexpr std::string_view GLUT_FLAGS[] = {"-direct", "-indirect", "-iconic", "-gldebug", "-sync"};
// Far beyond any drop; keeps the tick count in range.
constexpr double LONGEST_SCREENSHOT_SECONDS = 3600.0;

bool isOneOf(std::string_view argument, const auto& options);
bool readSeconds(const char* text, double& seconds);
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
        } else if (isOneOf(argument, GLUT_OPTIONS_WITH_VALUE)) {
            ++i;
        } else if (!isOneOf(argument, GLUT_FLAGS)) {
            return refuse("unknown option " + std::string(argument));
        }
    }
    if (result.separateParts && result.modelPath == nullptr) return refuse("--parts needs a MODEL");
    if (result.still && result.modelPath == nullptr) return refuse("--still needs a MODEL");
    return result;
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

CommandLine refuse(std::string problem) {
    CommandLine result;
    result.action = CommandLine::Action::Refuse;
    result.problem = std::move(problem);
    return result;
}

}  // namespace
