// Runs one of the built programs and collects what it said, for tests that
// check exit statuses and the exact bytes on each stream.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/model/model_files.h"

struct CommandResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `stdoutPath`, when given, receives standard output instead of the capture.
inline CommandResult runCommand(const std::vector<std::string>& arguments, const std::string& stdoutPath = "") {
    const ScratchFolder folder;
    const std::string out = stdoutPath.empty() ? (folder.path() / "out").string() : stdoutPath;
    std::string command;
    for (const std::string& argument : arguments) command += "'" + argument + "' ";
    const int status = std::system((command + ">" + out + " 2>" + (folder.path() / "err").string()).c_str());
    // Reading back a device such as /dev/full would never end.
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdoutPath.empty() ? readFile(out) : "",
            readFile(folder.path() / "err")};
}
