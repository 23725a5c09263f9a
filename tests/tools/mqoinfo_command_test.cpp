// mqoinfo as a command: exit statuses, what goes to which stream, and
// messages that name the file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "run_command.h"

namespace {

namespace fs = std::filesystem;

class MqoinfoCommand : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/mqoinfo_testXXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string writeModel(const std::string& name, const std::string& text) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    fs::path folder;
};

const std::string GOOD_MODEL =
    "Metasequoia Document\r\nFormat Text Ver 1.0\r\n"
    "Object \"tri\" {\r\n vertex 3 {\r\n  0 0 0\r\n  1 0 0\r\n  0 1 0\r\n }\r\n face 1 {\r\n  3 V(0 1 2)\r\n }\r\n}\r\n";

TEST_F(MqoinfoCommand, readableModelExitsWithZero) {
    const std::string path = writeModel("good.mqo", GOOD_MODEL);
    const CommandResult summary = runCommand({MQOINFO_PATH, path});
    EXPECT_EQ(summary.status, 0);
    EXPECT_EQ(summary.out.rfind("file: " + path + "\nresult: 0\n", 0), 0u) << summary.out;
    EXPECT_EQ(summary.err, "");

    const CommandResult json = runCommand({MQOINFO_PATH, "--json", path});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.rfind("{\"result\": 0, ", 0), 0u);
    EXPECT_EQ(json.out.find('\n'), json.out.size() - 1) << "one line, ended by a newline";
    EXPECT_EQ(json.err, "");
}

TEST_F(MqoinfoCommand, refusedModelExitsWithOneAndStillPrints) {
    const std::string path = writeModel("cut.mqo", GOOD_MODEL.substr(0, GOOD_MODEL.size() - 20));
    const CommandResult summary = runCommand({MQOINFO_PATH, path});
    EXPECT_EQ(summary.status, 1);
    EXPECT_NE(summary.out.find("result: -2 EOF, reading stopped at line 10\n"), std::string::npos) << summary.out;

    const CommandResult json = runCommand({MQOINFO_PATH, "--json", writeModel("bad.mqo", "hello\n")});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.out.rfind("{\"result\": -3, ", 0), 0u) << json.out;
}

TEST_F(MqoinfoCommand, fileThatCannotBeReadExitsWithTwoAndIsNamed) {
    const std::string missing = (folder / "missing.mqo").string();
    for (const std::string& target : {missing, folder.string()}) {
        const CommandResult result = runCommand({MQOINFO_PATH, "--json", target});
        EXPECT_EQ(result.status, 2) << target;
        EXPECT_EQ(result.out, "") << target;
        EXPECT_NE(result.err.find("mqoinfo: cannot "), std::string::npos) << result.err;
        EXPECT_NE(result.err.find(target), std::string::npos) << result.err;
    }
}

TEST_F(MqoinfoCommand, wrongArgumentsPrintUsageAndExitWithTwo) {
    const std::string path = writeModel("good.mqo", GOOD_MODEL);
    const std::vector<std::vector<std::string>> wrong = {
        {MQOINFO_PATH}, {MQOINFO_PATH, "--json"}, {MQOINFO_PATH, "--help"},
        {MQOINFO_PATH, "--xml", path}, {MQOINFO_PATH, path, path}, {MQOINFO_PATH, "--json", path, path}};
    for (const auto& arguments : wrong) {
        const CommandResult result = runCommand(arguments);
        EXPECT_EQ(result.status, 2) << arguments.size();
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "usage: mqoinfo [--json] FILE\n");
    }
}

TEST_F(MqoinfoCommand, outputThatCannotBeWrittenIsNotReportedAsSuccess) {
    const std::string path = writeModel("good.mqo", GOOD_MODEL);
    const CommandResult result = runCommand({MQOINFO_PATH, "--json", path}, "/dev/full");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mqoinfo: cannot write the output\n");
}

}  // namespace
