// How frame_bench and gl_floor are timed side by side: both stay running,
// and the benchmark asks each for one frame in turn, so that a busy spell
// on the machine falls on both sides of a pair instead of one.
#pragma once

#include <functional>
#include <string_view>

// Says "PROGRAM: ready" on standard error, then answers each line on
// standard input: an empty line draws one frame with `drawFrame` (which
// must finish it, glFinish) and answers "PROGRAM: frame_ms=MILLISECONDS";
// any other line, without its line feed, goes to `otherRequest`, which
// answers it and returns true, or returns false for a request it does not
// know. Returns at the end of the input.
void answerRequests(const char* program, const std::function<void()>& drawFrame,
                    const std::function<bool(std::string_view)>& otherRequest = {});
