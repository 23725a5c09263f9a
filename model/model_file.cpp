#include "model/model_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

FILE* refuse(int descriptor, const char* reason, std::string* problem);

}  // namespace

FILE* openModelFile(const char* path, std::string* problem) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer forever.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return refuse(-1, std::strerror(errno), problem);
    struct stat status {};
    if (fstat(descriptor, &status) != 0) return refuse(descriptor, std::strerror(errno), problem);
    if (S_ISDIR(status.st_mode)) return refuse(descriptor, std::strerror(EISDIR), problem);
    if (!S_ISREG(status.st_mode)) return refuse(descriptor, "not a regular file", problem);
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    FILE* file = fdopen(descriptor, "rb");
    if (file == nullptr) return refuse(descriptor, std::strerror(errno), problem);
    return file;
}

namespace {

FILE* refuse(int descriptor, const char* reason, std::string* problem) {
    if (descriptor >= 0) close(descriptor);
    if (problem != nullptr) *problem = reason;
    return nullptr;
}

}  // namespace
