// cp932cat: shows the classic viewer's console text, which is code page 932,
// on a terminal of the user's locale, each line as soon as it arrives (a
// converter that reads all its input first shows nothing until the viewer
// has quit).
#include <unistd.h>

#include <cstdio>
#include <string>

#include "model/console_text.h"

namespace {

void show(const std::string& line);

}  // namespace

int main() {
    useLocaleEncoding();
    std::string pending;
    char chunk[4096];
    for (;;) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got <= 0) break;
        pending.append(chunk, static_cast<size_t>(got));
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
            show(pending.substr(0, end));
    }
    if (!pending.empty()) show(pending);
    return 0;
}

namespace {

void show(const std::string& line) {
    std::fputs((consoleText(line, "CP932") + "\n").c_str(), stdout);
    std::fflush(stdout);
}

}  // namespace
