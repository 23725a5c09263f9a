#include "run_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

std::string readAll(const std::string& path);

}  // namespace

CommandResult runCommand(const std::vector<std::string>& arguments, const char* stdoutPath) {
    char outTemplate[] = "/tmp/tools_test_outXXXXXX";
    char errTemplate[] = "/tmp/tools_test_errXXXXXX";
    const int outFd = mkstemp(outTemplate);
    const int errFd = mkstemp(errTemplate);
    close(outFd);
    close(errFd);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, stdoutPath ? stdoutPath : outTemplate, O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errTemplate, O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    CommandResult result;
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readAll(outTemplate);
    result.err = readAll(errTemplate);
    unlink(outTemplate);
    unlink(errTemplate);
    return result;
}

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace
