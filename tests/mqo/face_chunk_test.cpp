#include <gtest/gtest.h>

#include "model_text.h"

namespace {

// Reads one face line in an object of a model with `materials` materials.
ParsedModel parseFace(const std::string& line, int materials = 8, ReadingMode mode = ReadingMode::Classic) {
    std::string body = "Material 1 {\n";
    for (int m = 0; m < materials; ++m) body += "\"m\"\n";
    return parseText(HEADER + body + "}\nObject \"o\" {\n face 1 {\n\n  " + line + "\n }\n}\n", false, mode);
}

}  // namespace

TEST(FaceChunk, readsTheGroupsInTheirOrder) {
    const struct {
        const char* line;
        int materials;
        const char* face;
    } cases[] = {
        {"3 V(0 1 2) M(7) UV(0 0.5 1 0 1 1) COL(1 2 3)", 8, "M7 V 0 1 2 UV 0,0.5 1,0 1,1 COL 1 2 3"},
        {"3 v(0 1 2) m(7) uv(0 0.5 1 0 1 1) col(1 2 3)", 8, "M7 V 0 1 2 UV 0,0.5 1,0 1,1 COL 1 2 3"},
        {"3 V(0 1 2) M(7)", 7, "M-1 V 0 1 2 UV 0,0 0,0 0,0 COL 0 0 0"},
        {"3 V(0 1 2) M(-1)", 8, "M-1 V 0 1 2 UV 0,0 0,0 0,0 COL 0 0 0"},
        {"3 V(0 1 2) M 0", 8, "M-1 V 0 1 2 UV 0,0 0,0 0,0 COL 0 0 0"},
        {"3 V(0 1 2) UV(0 0 1 0 1 1) M(0)", 8, "M-1 V 0 1 2 UV 0,0 1,0 1,1 COL 0 0 0"},
        {"3 V(0 1 2) M(1) UV(0 0 1 0 1) COL(1 2 3)", 8, "M1 V 0 1 2 UV 0,0 0,0 0,0 COL 0 0 0"},
        {"3 V(0 1 2) COL(4294967295 -1 2147483648)", 8,
         "M-1 V 0 1 2 UV 0,0 0,0 0,0 COL 4294967295 4294967295 2147483648"},
        {"5 V(0 1 2 3 4) UV(0 0 1 0 1 1 0 1 0.5 0.5) COL(1 2 3 4 5)", 8,
         "M-1 V 0 1 2 3 UV 0,0 1,0 1,1 0,1 COL 1 2 3 4"},
        {"0 V()", 8, "M-1 V UV COL"},
        {"4 V(9 -3 100000 2)", 0, "M-1 V 9 -3 100000 2 UV 0,0 0,0 0,0 0,0 COL 0 0 0 0"},
    };
    for (const auto& c : cases) {
        ParsedModel model = parseFace(c.line, c.materials);
        ASSERT_EQ(model.result, ParseOk) << c.line;
        ASSERT_EQ(model.object().faceCount, 1) << c.line;
        EXPECT_EQ(describe(model.object().faces.corners(0)), c.face) << c.line;
    }
}

TEST(FaceChunk, passesOverVertexGroupsWithoutParentheses) {
    for (const char* line : {"2 V(0 1 2)", "3 V 0 1 2 x y", "-1 V(0 1 2)", "-2147483648 V(0 1 2)"}) {
        ParsedModel model = parseFace(line);
        EXPECT_EQ(model.result, ParseOk) << line;
        EXPECT_EQ(model.object().faceCount, 0) << line;
    }
}

TEST(FaceChunk, failsOnLinesThatAreNoFaces) {
    for (const char* line : {"3 X(0 1 2)", "4 V(0 1 2)", "2147483647 V(0 1 2)", "word", "V(0)"})
        EXPECT_EQ(parseFace(line).result, ParseError) << line;
}

// Read plainly or from its tokens (a quote sends a line that way), a face
// keeps every corner in the model reading.
TEST(FaceChunk, modelReadingKeepsEveryCorner) {
    const std::string seven = "7 V(6 5 4 3 2 1 0) M(1) UV(0 1 2 3 4 5 6 7 8 9 10 11 12 13) COL(1 2 3 4 5 6 7)";
    const std::string read = "M1 V 6 5 4 3 2 1 0 UV 0,1 2,3 4,5 6,7 8,9 10,11 12,13 COL 1 2 3 4 5 6 7";
    const std::pair<std::string, std::string> cases[] = {
        {seven, read},
        {"7 V(6 5 4 3 2 1 0) \"M\"(1) UV(0 1 2 3 4 5 6 7 8 9 10 11 12 13) COL(1 2 3 4 5 6 7)", read},
        {"5 V(0 1 2 3 4) UV(0 0 1 0 1 1 0 1 0.5 0.5)", "M-1 V 0 1 2 3 4 UV 0,0 1,0 1,1 0,1 0.5,0.5 COL 0 0 0 0 0"},
    };
    for (const auto& [line, face] : cases) {
        ParsedModel model = parseFace(line, 8, ReadingMode::Model);
        ASSERT_EQ(model.object().faceCount, 1) << line;
        EXPECT_EQ(describe(model.object().faces.corners(0)), face) << line;
    }
}
