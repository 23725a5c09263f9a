// Runs one of the built programs and collects what it said, for tests that
// check exit statuses and the exact bytes on each stream.
#pragma once

#include <string>
#include <vector>

struct CommandResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `stdoutPath`, when given, receives standard output instead of the capture.
CommandResult runCommand(const std::vector<std::string>& arguments, const char* stdoutPath = nullptr);
