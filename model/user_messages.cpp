#include "model/user_messages.h"

#include <chrono>
#include <cstdio>
#include <deque>

#include "model/console_text.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto SHOWN_FOR = std::chrono::seconds(10);
// Far more lines than a window has room for: the oldest go first.
constexpr size_t MOST_KEPT = 64;

struct KeptMessage {
    ShownMessage message;
    Clock::time_point told;
};

std::deque<KeptMessage> kept;
const char* programName = "varnel";

}  // namespace

void nameProgram(const char* program) {
    programName = program;
}

void tellUser(const std::string& text, MessageKind kind) {
    std::fprintf(stderr, "%s: %s\n", programName, consoleText(text, "UTF-8").c_str());
    const bool failure = kind == MessageKind::ReadFailure;
    // One failure stays at a time: the last.
    if (failure) forgetReadFailure();
    kept.push_back({{text, failure}, Clock::now()});
    if (kept.size() > MOST_KEPT) kept.pop_front();
}

void forgetReadFailure() {
    std::erase_if(kept, [](const KeptMessage& entry) { return entry.message.failure; });
}

std::vector<ShownMessage> messagesToShow() {
    const Clock::time_point now = Clock::now();
    std::erase_if(kept,
                  [&](const KeptMessage& entry) { return !entry.message.failure && now - entry.told > SHOWN_FOR; });
    std::vector<ShownMessage> shown;
    for (const KeptMessage& entry : kept) shown.push_back(entry.message);
    return shown;
}
