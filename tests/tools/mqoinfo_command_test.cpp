// mqoinfo as a command: its exit status and what goes to which stream for a
// model read, a model refused, a file it cannot use and wrong arguments, and
// where the model reading finds each material's texture.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "mqo/model_document.h"
#include "tests/model/model_files.h"
#include "tools/mqoinfo/json_printer.h"

namespace {

struct CommandResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

const std::string USAGE = "usage: mqoinfo [--classic] [--json] FILE\n";

// Runs mqoinfo with these arguments; `stdoutPath`, when given, receives
// standard output instead of the capture.
CommandResult runMqoinfo(const std::vector<std::string>& arguments, const std::string& stdoutPath = "") {
    const ScratchFolder folder;
    const std::string out = stdoutPath.empty() ? (folder.path() / "out").string() : stdoutPath;
    std::string command = MQOINFO_PATH " ";
    for (const std::string& argument : arguments) command += "'" + argument + "' ";
    const int status = std::system((command + ">" + out + " 2>" + (folder.path() / "err").string()).c_str());
    // Reading back a device such as /dev/full would never end.
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdoutPath.empty() ? readFile(out) : "",
            readFile(folder.path() / "err")};
}

TEST(MqoinfoCommand, exitStatusTellsReadFromRefusedFromUnusable) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 1);
    const std::string good = folder.write("good.mqo", model);
    const std::string cut = folder.write("cut.mqo", model.substr(0, model.find("vertex")));
    const std::string notModel = folder.write("not.mqo", "hello\n");
    const std::string missing = (folder.path() / "missing.mqo").string();
    const std::string cutSummary = "file: " + cut +
                                   "\ncode page: 932\nresult: -2 EOF, reading stopped at line 5: expected \"}\" "
                                   "closing the Object chunk before the end of the file\n";
    // The arguments, the exit status, the start of standard output (empty:
    // nothing at all), standard error, and where standard output goes.
    const std::tuple<std::vector<std::string>, int, std::string, std::string, const char*> cases[] = {
        {{"--classic", good}, 0, "file: " + good + "\nresult: 0\n", "", ""},
        {{"--json", "--classic", good}, 0, "{\"result\": 0, \"scene\"", "", ""},
        {{"--json", good}, 0, "{\"result\": 0, \"codePage\": \"932\", \"stoppedAt\": null, ", "", ""},
        // A refused model is still described.
        {{"--classic", cut}, 1, "file: " + cut + "\nresult: -2 EOF, reading stopped at line 5\n", "", ""},
        {{cut}, 1, cutSummary, "", ""},
        {{"--classic", "--json", notModel}, 1, "{\"result\": -3, ", "", ""},
        {{"--json", missing}, 2, "", "mqoinfo: cannot open " + missing + ": No such file or directory\n", ""},
        // A folder opens but cannot be read: that is no verdict on a model.
        {{"--json", folder.path()}, 2, "", "mqoinfo: cannot open " + folder.path().string() + ": Is a directory\n", ""},
        {{"--json", good}, 2, "", "mqoinfo: cannot write the output\n", "/dev/full"},
        {{"--help"}, 0, USAGE + "Tells what the viewer reads from the model FILE", "", ""},
        {{}, 2, "", USAGE, ""},
        {{"--json"}, 2, "", USAGE, ""},
        {{"--xml", good}, 2, "", USAGE, ""},
        {{"--json", "--json", good}, 2, "", USAGE, ""},
        {{"--json", good, good}, 2, "", USAGE, ""},
        {{"--help", good}, 2, "", USAGE, ""},
    };
    for (const auto& [arguments, status, outStart, err, stdoutPath] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const CommandResult run = runMqoinfo(arguments, stdoutPath);
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(status, err));
        EXPECT_TRUE(outStart.empty() ? run.out.empty() : run.out.starts_with(outStart)) << run.out;
    }
}

// A big model's JSON passes through the output buffer many times over.
TEST(MqoinfoCommand, outputOfManyMegabytesArrivesWholeAndInOrder) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 20000);
    ModelDocument document(ModelData{}, model);
    OutputBuffer expected;
    printDocumentJson(document.data(), document.parse(), expected);
    ASSERT_GT(expected.text().size(), size_t{3} << 20);
    EXPECT_EQ(runMqoinfo({"--classic", "--json", folder.write("big.mqo", model)}).out, expected.text());
}

// Names in Shift JIS and by absolute Windows paths, found in the model's
// folder tree in another spelling; one texture that is nowhere.
TEST(MqoinfoCommand, tellsWhereEachTextureIsFoundOrWhereItWasLookedFor) {
    const ScratchFolder folder;
    std::filesystem::create_directories(folder.path() / "car" / "textures");
    folder.write("car/textures/\xE6\x9C\xA8\xE7\x9B\xAE.PNG", "");
    folder.write("car/body.tga", "");
    const std::string model = folder.write(
        "car/car.mqo",
        HEADER +
            "Material 2 {\r\n\"\x96\xD8\" tex(\"\x96\xD8\x96\xDA.png\") aplane(\"C:\\Users\\me\\body.tga\")\r\n"
            "\"glass\" tex(\"glass.bmp\")\r\n}\r\n");
    const std::string car = (folder.path() / "car").string();
    const CommandResult run = runMqoinfo({model});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "file: " + model + "\ncode page: 932\nresult: 0\nmaterials: 2\n" +
                  "  0 \"木\" colour 0 0 0 0, texture \"木目.png\", alpha plane \"C:\\\\Users\\\\me\\\\body.tga\"\n" +
                  "    texture \"木目.png\" is \"" + car + "/textures/木目.PNG\"\n" +
                  "    alpha plane \"C:\\\\Users\\\\me\\\\body.tga\" is \"" + car + "/body.tga\"\n" +
                  "  1 \"glass\" colour 0 0 0 0, texture \"glass.bmp\"\n" +
                  "    texture \"glass.bmp\" not found; looked in \"" + car + "\", \"" + car + "/Texture\", \"" + car +
                  "/texture\", \"" + car + "/Textures\", \"" + car + "/textures\"\n" +
                  "objects: 0\nwarnings: 0 face corners outside their object's vertices\n");
}

}  // namespace
