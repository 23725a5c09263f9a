// mqoinfo: reads a model exactly as the viewer does and tells what it holds,
// as a readable summary or, with --json, as the whole document.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "model/model_file.h"
#include "mqo/model_document.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/output_buffer.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

// Exit statuses: the model read, the reader refused it, or mqoinfo could not
// do its job (bad arguments, unreadable file, output that could not be written).
constexpr int EXIT_READ = 0;
constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_UNUSABLE = 2;

struct Options {
    bool json = false;
    const char* path = nullptr;
};

std::optional<Options> parseArguments(int argc, char** argv);
bool printDocument(const Options& options, const ModelDocument& document, int32_t result);

}  // namespace

int main(int argc, char** argv) {
    std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        fputs("usage: mqoinfo [--json] FILE\n", stderr);
        return EXIT_UNUSABLE;
    }
    std::string problem;
    FILE* file = openModelFile(options->path, &problem);
    if (file == nullptr) {
        fprintf(stderr, "mqoinfo: cannot open %s: %s\n", options->path, problem.c_str());
        return EXIT_UNUSABLE;
    }
    ModelDocument document(ModelData{}, file);
    const int32_t result = document.parse();
    // A read error looks like the end of the file to the reader; it must not
    // pass for a verdict on the model.
    const bool readFailed = ferror(file) != 0;
    fclose(file);
    if (readFailed) {
        fprintf(stderr, "mqoinfo: cannot read %s\n", options->path);
        return EXIT_UNUSABLE;
    }
    if (!printDocument(*options, document, result)) {
        fputs("mqoinfo: cannot write the output\n", stderr);
        return EXIT_UNUSABLE;
    }
    return result == ParseOk ? EXIT_READ : EXIT_REFUSED;
}

namespace {

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    if (argc == 3 && std::string_view(argv[1]) == "--json") {
        options.json = true;
        options.path = argv[2];
    } else if (argc == 2 && argv[1][0] != '-') {
        options.path = argv[1];
    } else {
        return std::nullopt;
    }
    return options;
}

bool printDocument(const Options& options, const ModelDocument& document, int32_t result) {
    OutputBuffer out(stdout);
    if (options.json) {
        printDocumentJson(document.data(), result, out);
    } else {
        out.append("file: ");
        out.append(options.path);
        out.append('\n');
        printSummary(document.data(), result, document.lineNumber(), out);
    }
    return out.flush();
}

}  // namespace
