// mqoinfo: reads a model as the viewer does and tells what it holds, as a
// readable summary or, with --json, as the whole document. It reads the way
// the viewer reads a model named on its command line, and with --classic
// the way the classic viewer reads qemi_one.mqo.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/model_archive.h"
#include "model/model_file.h"
#include "mqo/model_document.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/output_buffer.h"
#include "tools/mqoinfo/summary_printer.h"
#include "tools/mqoinfo/thumbnail_file.h"

namespace {

// Exit statuses: the model read, the reader refused it, or mqoinfo could not
// do its job (bad arguments, unreadable file, output that could not be written).
constexpr int EXIT_READ = 0;
constexpr int EXIT_REFUSED = 1;
constexpr int EXIT_UNUSABLE = 2;

constexpr char USAGE[] = "usage: mqoinfo [--classic] [--json] FILE\n       mqoinfo --thumbnail OUT.png FILE\n";
constexpr char HELP[] =
    "Tells what the viewer reads from the model FILE: whether it reads and, if not,\n"
    "the line where reading stopped and what was expected there; its materials,\n"
    "with the files their textures and alpha planes are found in; its objects,\n"
    "with their vertex and face counts and the face corners that name a vertex\n"
    "the object does not have. FILE may be a zip archive (.mqoz): its one .mqo is\n"
    "read, and textures are looked for in the archive first.\n"
    "\n"
    "  --json     the whole document as one line of JSON\n"
    "  --classic  read FILE as the classic viewer reads qemi_one.mqo\n"
    "  --thumbnail OUT.png\n"
    "             write the modeller's own picture of the model that FILE keeps\n"
    "             (its Thumbnail chunk, or an archive's thumbnail.jpg) as a PNG file\n"
    "  --help     show this text\n"
    "\n"
    "Exit status: 0 when the model reads, 1 when it does not, 2 when FILE cannot\n"
    "be read (an archive that gives no whole .mqo among them) or the output written.\n"
    "With --thumbnail: 0 when the picture is written, 1 when FILE keeps none.\n";

struct Options {
    bool help = false;
    bool json = false;
    bool classic = false;
    const char* thumbnailPath = nullptr;
    const char* path = nullptr;
};

std::optional<Options> parseArguments(int argc, char** argv);
bool printDocument(const Options& options, const ModelDocument& document, int32_t result, const ModelArchive* archive);
int writeThumbnailFile(const Options& options, const ModelDocument& document, const ModelArchive* archive);

}  // namespace

int main(int argc, char** argv) {
    std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        fputs(USAGE, stderr);
        return EXIT_UNUSABLE;
    }
    if (options->help) {
        const bool written = fputs(USAGE, stdout) >= 0 && fputs(HELP, stdout) >= 0 && fflush(stdout) == 0;
        return written ? EXIT_READ : EXIT_UNUSABLE;
    }
    std::string problem;
    FILE* file = openModelFile(options->path, &problem);
    if (file == nullptr) {
        fprintf(stderr, "mqoinfo: cannot open %s: %s\n", options->path, problem.c_str());
        return EXIT_UNUSABLE;
    }
    // The classic reading knows no archives: it reads the file as it is.
    std::optional<ModelText> text;
    if (!options->classic) {
        text.emplace(file, options->path);
        file = text->stream();
    }
    if (file == nullptr) {
        fprintf(stderr, "mqoinfo: cannot read %s: %s\n", options->path, text->problem().c_str());
        return EXIT_UNUSABLE;
    }
    ModelDocument document(ModelData{}, file, options->classic ? ReadingMode::Classic : ReadingMode::Model);
    const int32_t result = document.parse();
    // A read error looks like the end of the file to the reader; it must not
    // pass for a verdict on the model.
    const bool readFailed = ferror(file) != 0;
    const std::string archiveProblem = text ? text->problem() : "";
    if (!text) fclose(file);
    if (!archiveProblem.empty()) {
        fprintf(stderr, "mqoinfo: cannot read %s: %s\n", options->path, archiveProblem.c_str());
        return EXIT_UNUSABLE;
    }
    if (readFailed) {
        fprintf(stderr, "mqoinfo: cannot read %s\n", options->path);
        return EXIT_UNUSABLE;
    }
    if (options->thumbnailPath != nullptr) return writeThumbnailFile(*options, document, text->archive().get());
    if (!printDocument(*options, document, result, text ? text->archive().get() : nullptr)) {
        fputs("mqoinfo: cannot write the output\n", stderr);
        return EXIT_UNUSABLE;
    }
    return result == ParseOk ? EXIT_READ : EXIT_REFUSED;
}

namespace {

// Options in any order, then one FILE; --help alone.
std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    if (argc == 2 && std::string_view(argv[1]) == "--help") {
        options.help = true;
        return options;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--json" && !options.json)
            options.json = true;
        else if (argument == "--classic" && !options.classic)
            options.classic = true;
        else if (argument == "--thumbnail" && options.thumbnailPath == nullptr && i + 2 < argc)
            options.thumbnailPath = argv[++i];
        else if (i == argc - 1 && !argument.starts_with('-'))
            options.path = argv[i];
        else
            return std::nullopt;
    }
    if (options.path == nullptr) return std::nullopt;
    // The picture is the modeller's: it is read as model mode reads.
    if (options.thumbnailPath != nullptr && (options.json || options.classic)) return std::nullopt;
    return options;
}

bool printDocument(const Options& options, const ModelDocument& document, int32_t result, const ModelArchive* archive) {
    OutputBuffer out(stdout);
    const ModelReadOutcome outcome{result, document.lineNumber(), document.failureText(),
                                   std::filesystem::path(options.path).parent_path(), archive};
    if (options.json && options.classic) {
        printDocumentJson(document.data(), result, out);
    } else if (options.json) {
        printModelDocumentJson(document.data(), outcome, out);
    } else {
        out.append("file: ");
        out.append(options.path);
        out.append('\n');
        if (options.classic)
            printSummary(document.data(), result, document.lineNumber(), out);
        else
            printModelSummary(document.data(), outcome, out);
    }
    return out.flush();
}

// The picture is written even when the model after it does not read.
int writeThumbnailFile(const Options& options, const ModelDocument& document, const ModelArchive* archive) {
    std::string problem;
    switch (writeThumbnail(document.data(), archive, options.thumbnailPath, problem)) {
    case ThumbnailWritten::Written: return EXIT_READ;
    case ThumbnailWritten::NoThumbnail: fprintf(stderr, "mqoinfo: %s has no thumbnail\n", options.path); break;
    case ThumbnailWritten::Unreadable: fprintf(stderr, "mqoinfo: %s: %s\n", options.path, problem.c_str()); break;
    case ThumbnailWritten::NotWritten:
        fprintf(stderr, "mqoinfo: cannot write %s\n", options.thumbnailPath);
        return EXIT_UNUSABLE;
    }
    return EXIT_REFUSED;
}

}  // namespace
