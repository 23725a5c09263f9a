// The benchmark model as text: bench.mqo for our reader, and the same
// geometry as bench.obj with bench.mtl for the OBJ reader it is compared with.
#pragma once

#include "bench/bench_model/bench_geometry.h"

#include <cstdio>
#include <string>
#include <string_view>

// Counts what is written, and writes it to `file` when there is one; the
// counting alone tells whether a file on disk is complete.
class TextSink {
public:
    explicit TextSink(FILE* file = nullptr);
    ~TextSink();
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    void put(std::string_view text);
    void putInt(long value);
    void putFixed(float value, int decimals);
    // False when the file refused any byte.
    bool finish();
    size_t size() const { return bytes_; }

private:
    FILE* file_;
    std::string buffer_;
    size_t bytes_ = 0;
    bool failed_ = false;
};

void writeBenchMqo(TextSink& out, const BenchShape& shape);
void writeBenchObj(TextSink& out, const BenchShape& shape);
void writeBenchMtl(TextSink& out);
