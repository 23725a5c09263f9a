#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "model_text.h"

namespace {

// Garbage that would open and close blocks if it were read as lines.
const std::string BRACES = std::string("}\n{\nObject \"fake\" {\n}\n") + '\0' + "\r\n";

}  // namespace

TEST(SkippedBlocks, binaryDataIsSkippedByItsByteCount) {
    std::string blob = BRACES + BRACES;
    std::string count = std::to_string(blob.size());
    ParsedModel model = parseBody("Blob {\n data [ " + count + " ]\n" + blob + "}\nraw [ " + count + " ]\n" + blob +
                                  "Object \"real\" {\n uv [ " + count + " ]\n" + blob + "}\n");
    ASSERT_EQ(model.result, ParseOk);
    ASSERT_EQ(model.data().objectCount, 1);
    EXPECT_STREQ(model.object().name.c_str(), "real");
}

TEST(SkippedBlocks, negativeCountsFailAndCountsPastTheEndStopReading) {
    EXPECT_EQ(parseBody("Blob {\n data [ -1 ]\n}\n").result, ParseError);
    EXPECT_EQ(parseBody("raw [ -2147483648 ]\n").result, ParseError);
    for (bool throughFile : {false, true}) {
        EXPECT_EQ(parseText(HEADER + "raw [ 2147483647 ]\nObject {\n", throughFile).result, ParseOk);
        EXPECT_EQ(parseText(HEADER + "Blob {\n data [ 100 ]\n}\n", throughFile).result, ParseEof);
    }
}

// Reading through a FILE* goes through a window of the file: lines, binary
// vertices and skips that cross its edges must land where they do in memory.
TEST(SkippedBlocks, fileAndMemoryReadTheSameBytes) {
    std::string text = HEADER + "Object \"big\" {\n vertex 300000 {\n";
    for (int i = 0; i < 150000; ++i) text += " " + std::to_string(i) + " 1.5 -2\n";
    text += " }\n BVertex 1 {\n  Vector 100003 [ 1200036 ]\n" + std::string(100003 * 12, '\x41') + " }\n";
    text += " skipped [ 1500000 ]\n" + std::string(1500000, '{') + " face 1 {\n  3 V(0 1 2) M(0)\n }\n}\n";
    ParsedModel fromMemory = parseText(text);
    ParsedModel fromFile = parseText(text, true);
    ASSERT_EQ(fromMemory.result, ParseOk);
    ASSERT_EQ(fromFile.result, ParseOk);
    EXPECT_EQ(fromFile.document->lineNumber(), fromMemory.document->lineNumber());
    const ObjectRecord& object = fromFile.object();
    ASSERT_EQ(object.vertexCount, 250003);
    EXPECT_EQ(object.vertices[149999].x, 149999);
    EXPECT_EQ(object.vertices[250002].z, std::bit_cast<float>(0x41414141u));
    ASSERT_EQ(object.faceCount, 1);
    EXPECT_EQ(object.faces[0].vertexIndex[2], 2);
}
