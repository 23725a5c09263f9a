#include "bench/frame/frame_requests.h"

#include <chrono>
#include <cstdio>

void answerRequests(const char* program, const std::function<void()>& drawFrame,
                    const std::function<bool(std::string_view)>& otherRequest) {
    std::fprintf(stderr, "%s: ready\n", program);
    char line[64];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        std::string_view request(line);
        if (!request.empty() && request.back() == '\n') request.remove_suffix(1);
        if (!request.empty()) {
            if (!otherRequest || !otherRequest(request))
                std::fprintf(stderr, "%s: unknown request '%.*s'\n", program, static_cast<int>(request.size()),
                             request.data());
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        drawFrame();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "%s: frame_ms=%.3f\n", program, took.count());
    }
}
