// mqoinfo as a command: its exit status and what goes to which stream for a
// model read, a model refused, a file it cannot use and wrong arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model_files.h"
#include "run_command.h"

namespace {

TEST(MqoinfoCommand, exitStatusTellsReadFromRefusedFromUnusable) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 1);
    const std::string good = folder.write("good.mqo", model);
    const std::string cut = folder.write("cut.mqo", model.substr(0, model.find("vertex")));
    const std::string notModel = folder.write("not.mqo", "hello\n");
    const std::string missing = (folder.path() / "missing.mqo").string();
    const std::string usage = "usage: mqoinfo [--json] FILE\n";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string outStart;  // empty: nothing at all on standard output
        std::string err;
        const char* stdoutPath = nullptr;
    } cases[] = {
        {{good}, 0, "file: " + good + "\nresult: 0\n", ""},
        {{"--json", good}, 0, "{\"result\": 0, ", ""},
        // A refused model is still described.
        {{cut}, 1, "file: " + cut + "\nresult: -2 EOF, reading stopped at line 5\n", ""},
        {{"--json", notModel}, 1, "{\"result\": -3, ", ""},
        {{"--json", missing}, 2, "", "mqoinfo: cannot open " + missing + ": No such file or directory\n"},
        // A folder opens but cannot be read: that is no verdict on a model.
        {{"--json", folder.path()}, 2, "", "mqoinfo: cannot open " + folder.path().string() + ": Is a directory\n"},
        {{"--json", good}, 2, "", "mqoinfo: cannot write the output\n", "/dev/full"},
        {{}, 2, "", usage},
        {{"--json"}, 2, "", usage},
        {{"--xml", good}, 2, "", usage},
        {{"--json", good, good}, 2, "", usage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        std::vector<std::string> command{MQOINFO_PATH};
        command.insert(command.end(), c.arguments.begin(), c.arguments.end());
        const CommandResult run = runCommand(command, c.stdoutPath);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(c.outStart.empty() ? run.out.empty() : run.out.starts_with(c.outStart)) << run.out;
        EXPECT_EQ(run.err, c.err);
    }
}

}  // namespace
