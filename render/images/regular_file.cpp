#include "render/images/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int openRegularFile(const char* path, uint64_t& size) {
    // NOTE: O_NONBLOCK keeps the open itself from waiting for a FIFO's
    // writer; the regular-file check then refuses the FIFO before any read.
    int descriptor = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return -1;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return -1;
    }
    size = static_cast<uint64_t>(status.st_size);
    return descriptor;
}

size_t readUpTo(int descriptor, uint8_t* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t got = read(descriptor, buffer + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}
