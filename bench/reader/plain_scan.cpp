#include "bench/reader/plain_scan.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr size_t BUFFER_SIZE = size_t{1} << 20;

// White space, line ends, the quote and the ten single-character tokens.
constexpr std::array<bool, 256> makeSeparators() {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view(" \t\r\n\"(),:;=[]{}")) table[c] = true;
    return table;
}
constexpr std::array<bool, 256> SEPARATORS = makeSeparators();

bool isSeparator(char c) {
    return SEPARATORS[static_cast<unsigned char>(c)];
}

void scanTokens(const char* begin, const char* end, ScanResult& result);

}  // namespace

ScanResult scanNumbers(const char* path) {
    ScanResult result;
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return result;
    std::vector<char> buffer(BUFFER_SIZE);
    size_t kept = 0;  // bytes of a token cut by the end of the previous read
    for (;;) {
        const size_t got = fread(buffer.data() + kept, 1, buffer.size() - kept, file);
        const size_t end = kept + got;
        size_t limit = end;
        if (got > 0) {
            // Scan up to the last separator; the token after it may go on in the next read.
            while (limit > 0 && !isSeparator(buffer[limit - 1])) --limit;
            if (limit == 0) limit = end;  // a token as long as the buffer: take it as it is
        }
        scanTokens(buffer.data(), buffer.data() + limit, result);
        kept = end - limit;
        memmove(buffer.data(), buffer.data() + limit, kept);
        if (got == 0) break;
    }
    result.ok = !ferror(file);
    fclose(file);
    return result;
}

namespace {

void scanTokens(const char* begin, const char* end, ScanResult& result) {
    const char* at = begin;
    while (at < end) {
        while (at < end && isSeparator(*at)) ++at;
        const char* token = at;
        while (at < end && !isSeparator(*at)) ++at;
        if (token == at) continue;
        float value;
        if (std::from_chars(token, at, value).ec == std::errc()) {
            result.sum += value;
            ++result.numbers;
        }
    }
}

}  // namespace
