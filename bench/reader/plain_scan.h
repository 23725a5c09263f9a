// The practical floor for reading model text: one pass through a reused
// 1 MiB buffer that cuts tokens as the model reader does and converts every
// number token with std::from_chars, storing nothing.
#pragma once

#include <cstdint>

struct ScanResult {
    bool ok = false;
    int64_t numbers = 0;
    double sum = 0;  // keeps the conversions from being optimised away
};

ScanResult scanNumbers(const char* path);
