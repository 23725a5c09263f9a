// A model file may cost at most 64 MiB + 8 times its size in memory, and no
// count written in it may crash the reader. Each file is read in a child
// process with little address space beyond what it was forked with: a list
// reserved for a lying count cannot fit there, and running out of memory
// must end the read as an Error. (A line of many megabytes needs room for
// its tokens, reserved well before they are all written.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/mqo/bounded_memory.h"
#include "tests/mqo/model_text.h"

namespace {

std::string repeat(const std::string& text, size_t times) {
    std::string all;
    for (size_t i = 0; i < times; ++i) all += text;
    return all;
}

}  // namespace

TEST(BoundedMemory, anyFileCostsAtMost64MiBPlusEightTimesItsSize) {
    struct Case {
        const char* what;
        std::string text;
        uint64_t sparseSize;  // zeros extend the file to this size; 0 keeps the text's
        int32_t result;
        ReadingMode mode = ReadingMode::Classic;
        uint64_t addressRoom = 128 * MIB;
    } cases[] = {
        {"face head of 2^31 faces", HEADER + "Object {\n face 2147483647 {\n", 192 * MIB, ParseEof},
        {"vertex head of 2^31 vertices", HEADER + "Object {\n vertex 2147483647 {\n", 192 * MIB, ParseEof},
        {"a whole line of zeros beyond the address space", HEADER + "Object {\n face 2147483647 {\n", 192 * MIB,
         ParseEof, ReadingMode::Model},
        {"binary vertices beyond the address space", HEADER + "Object {\n BVertex 1 {\n  Vector 2147483647 [ 12 ]\n",
         256 * MIB, ParseError},
        {"vertex heads of 4 MiB lists holding one vertex each",
         HEADER + repeat("Object {\n vertex 262144 {\n 1 2 3\n }\n}\n", 1000) + std::string(MIB, '\n'), 0, ParseOk},
        {"tiny material lines", HEADER + "Material 1 {\n" + repeat("a\n", 2000000) + "}\n", 0, ParseOk},
        {"tiny objects", HEADER + repeat("Object \"o\" {\n}\n", 300000), 0, ParseOk},
        {"tiny faces", HEADER + "Object {\n face 1 {\n" + repeat("0 V()\n", 3500000) + " }\n}\n", 0, ParseOk},
        {"a face of 12 million corners on one line, read from its tokens",
         HEADER + "Object {\n face 1 {\n 12000000 V(" + repeat("1 2 3 ", 4000000) + ") \"\"\n", 0, ParseEof,
         ReadingMode::Model, 512 * MIB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FILE* file = tmpfile();
        fwrite(c.text.data(), 1, c.text.size(), file);
        fflush(file);
        if (c.sparseSize > 0 && ftruncate(fileno(file), static_cast<off_t>(c.sparseSize)) != 0) ADD_FAILURE();
        Reading reading = readInChild(
            [&] {
                rewind(file);
                return ModelDocument(ModelData{}, file, c.mode).parse();
            },
            c.addressRoom);
        fclose(file);
        EXPECT_EQ(reading.result, c.result);
        EXPECT_LE(reading.addedBytes, 64 * MIB + 8 * std::max<uint64_t>(c.sparseSize, c.text.size()));
    }
}
