// Runs one of the built programs and collects what it said, for tests that
// check exit statuses and the exact bytes on each stream.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "model_files.h"

struct CommandResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `stdoutPath`, when given, receives standard output instead of the capture.
inline CommandResult runCommand(const std::vector<std::string>& arguments, const char* stdoutPath = nullptr) {
    const ScratchFolder folder;
    const std::string outPath = stdoutPath ? stdoutPath : folder.write("out", "");
    const std::string errPath = folder.write("err", "");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    const bool exited = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                        waitpid(child, &status, 0) == child && WIFEXITED(status);
    posix_spawn_file_actions_destroy(&actions);
    // Reading back a device such as /dev/full would never end.
    return {exited ? WEXITSTATUS(status) : -1, stdoutPath ? "" : readFile(outPath), readFile(errPath)};
}
