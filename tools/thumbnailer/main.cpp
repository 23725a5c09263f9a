// varnel-thumbnailer -s SIZE INPUT OUTPUT: the picture a file manager shows
// for a model file. The model is framed from the view its file saved and
// stands where it was modelled, as `varnel --still` shows it, over a clear
// background, drawn offscreen in a SIZE by SIZE PNG file. Made to run where
// file managers run thumbnailers: no display, no network, nothing writable
// but OUTPUT's folder, so it writes OUTPUT alone and reads nothing outside
// the model's folder but the system's libraries.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/named_model.h"
#include "app/offscreen_picture.h"
#include "app/screenshot.h"
#include "app/view_state.h"
#include "model/user_messages.h"
#include "tools/thumbnailer/fitted_view.h"

namespace {

constexpr char PROGRAM[] = "varnel-thumbnailer";
constexpr int EXIT_DRAWN = 0;
// The model can't be opened, read or drawn, or the picture written.
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr long LARGEST_SIZE = 4096;
// A thumbnail is the model and nothing else: it fills most of the square,
// short of touching its edges. Framed on its box to this share first, the
// model takes less, but as many pixels as it can for the picture that
// finds where it lies.
constexpr double THUMBNAIL_SHARE = 0.9;
constexpr char USAGE[] =
    "usage: varnel-thumbnailer -s SIZE INPUT OUTPUT\n"
    "Writes a SIZE by SIZE PNG picture (SIZE from 1 to 4096) of the model INPUT\n"
    "(.mqo, or compressed as .mqoz) to OUTPUT: seen from the view its file saved,\n"
    "where it was modelled, over a clear background. Needs no display.\n";

struct Options {
    int size = 0;
    const char* input = nullptr;
    const char* output = nullptr;
};

bool parseArguments(int argc, char** argv, Options& options);
bool readSize(const char* text, int& size);

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        std::fputs(USAGE, stdout);
        return EXIT_DRAWN;
    }
    if (!parseArguments(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return EXIT_USAGE;
    }
    // Before EGL starts: Mesa would keep the shaders it compiles in the
    // user's cache folder, and nothing but OUTPUT may be written.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);

    nameProgram(PROGRAM);
    FILE* file = openNamedModel(PROGRAM, options.input);
    if (file == nullptr) return EXIT_FAILED;
    useModelMode(options.input, false, true);
    if (!readNamedModel(file, options.input)) return EXIT_FAILED;
    viewState.framedHeightShare = viewState.framedWidthShare = THUMBNAIL_SHARE;
    std::string problem;
    if (!openOffscreenPicture(options.size, options.size, problem)) {
        std::fprintf(stderr, "%s: cannot draw offscreen: %s\n", PROGRAM, problem.c_str());
        return EXIT_FAILED;
    }
    drawPicture(true);
    fitViewToCover(options.size, options.size, THUMBNAIL_SHARE);
    drawPicture(true);
    // A picture that can't be written whole is removed, not left in part.
    if (!writeFramePicture(options.output, true)) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", PROGRAM, options.output);
        return EXIT_FAILED;
    }
    return EXIT_DRAWN;
}

namespace {

// -s SIZE INPUT OUTPUT, the size's option first as file managers give it,
// or after the files.
bool parseArguments(int argc, char** argv, Options& options) {
    const char* files[2] = {nullptr, nullptr};
    int fileCount = 0;
    bool sized = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-s" && !sized && i + 1 < argc) {
            if (!readSize(argv[++i], options.size)) return false;
            sized = true;
        } else if (fileCount < 2 && !argument.empty() && (argument[0] != '-' || argument == "-")) {
            files[fileCount++] = argv[i];
        } else {
            return false;
        }
    }
    options.input = files[0];
    options.output = files[1];
    return sized && fileCount == 2;
}

bool readSize(const char* text, int& size) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 1 || value > LARGEST_SIZE) return false;
    size = static_cast<int>(value);
    return true;
}

}  // namespace
