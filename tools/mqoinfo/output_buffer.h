// mqoinfo's output runs to hundreds of megabytes for a big model, so it is
// gathered in a large buffer and written in few calls.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class OutputBuffer {
public:
    // Writes to `sink` whenever the buffer fills, and on flush().
    explicit OutputBuffer(FILE* sink);
    // Keeps everything in memory; text() then holds the whole output.
    OutputBuffer();
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void append(std::string_view text);
    void append(char c);
    void appendInt(int64_t value);
    // Written as printf's "%.<precision>g" would, infinities and NaN as words.
    void appendFloat(float value, int precision);

    // Writes what is pending; false once the sink has refused any bytes.
    bool flush();
    // What has not been written yet (everything, for an in-memory buffer).
    const std::string& text() const { return pending_; }

private:
    void flushWhenFull();

    FILE* sink_;
    std::string pending_;
    bool writeFailed_ = false;
};
