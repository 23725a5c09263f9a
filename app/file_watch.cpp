#include "app/file_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <set>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Quiet this long after the last write, and unchanged in size and time
// between two looks this far apart, a file is taken for saved; together
// well under half a second.
constexpr auto QUIET_FOR = std::chrono::milliseconds(150);
constexpr auto LOOKS_APART = std::chrono::milliseconds(100);
constexpr uint32_t EVENTS = IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_ATTRIB;

struct FileState {
    off_t size = -1;
    struct timespec modified {};

    bool operator==(const FileState& other) const {
        return size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

struct Watch {
    int descriptor = -1;
    // The names watched in each watched folder, by its watch descriptor.
    std::map<int, std::set<std::string>> names;
    std::vector<std::filesystem::path> files;
    bool written = false;
    Clock::time_point lastWrite;
    Clock::time_point lastLook;
    std::vector<FileState> lookedAt;
};

Watch watch;

bool readEvents();
std::vector<FileState> statesOf(const std::vector<std::filesystem::path>& files);

}  // namespace

void watchFiles(const std::vector<std::filesystem::path>& files) {
    if (watch.descriptor >= 0) close(watch.descriptor);
    watch = Watch{};
    watch.descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.descriptor < 0) return;
    watch.files = files;
    for (const std::filesystem::path& file : files) {
        const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
        const int folderWatch = inotify_add_watch(watch.descriptor, folder.c_str(), EVENTS);
        if (folderWatch >= 0) watch.names[folderWatch].insert(file.filename().string());
    }
}

bool watchedFilesSettled() {
    if (watch.descriptor < 0) return false;
    const Clock::time_point now = Clock::now();
    if (readEvents()) {
        watch.written = true;
        watch.lastWrite = now;
        watch.lookedAt.clear();
    }
    if (!watch.written || now - watch.lastWrite < QUIET_FOR || now - watch.lastLook < LOOKS_APART) return false;
    watch.lastLook = now;
    std::vector<FileState> states = statesOf(watch.files);
    const bool unchanged = states == watch.lookedAt;
    watch.lookedAt = std::move(states);
    if (!unchanged) return false;
    watch.written = false;
    return true;
}

namespace {

// Whether any event since the last read names a watched file.
bool readEvents() {
    alignas(inotify_event) char buffer[4096];
    bool named = false;
    for (;;) {
        const ssize_t got = read(watch.descriptor, buffer, sizeof buffer);
        if (got <= 0) return named;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const auto folder = watch.names.find(event->wd);
            if (event->len > 0 && folder != watch.names.end() && folder->second.count(event->name) > 0) named = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

std::vector<FileState> statesOf(const std::vector<std::filesystem::path>& files) {
    std::vector<FileState> states;
    for (const std::filesystem::path& file : files) {
        struct stat status {};
        FileState state;
        if (stat(file.c_str(), &status) == 0) state = {status.st_size, status.st_mtim};
        states.push_back(state);
    }
    return states;
}

}  // namespace
