#include <gtest/gtest.h>

#include "model_text.h"

namespace {

// Reads one face line in an object of a model with `materials` materials.
ParsedModel parseFace(const std::string& line, int materials = 8) {
    std::string body = "Material 1 {\n";
    for (int m = 0; m < materials; ++m) body += "\"m\"\n";
    return parseBody(body + "}\nObject \"o\" {\n face 1 {\n\n  " + line + "\n }\n}\n");
}

}  // namespace

TEST(FaceChunk, readsTheGroupsInTheirOrder) {
    struct Case {
        const char* line;
        int materials;
        FaceRecord face;
    } cases[] = {
        {"3 V(0 1 2) M(7) UV(0 0.5 1 0 1 1) COL(1 2 3)", 8, {3, 7, {{0, 0.5f}, {1, 0}, {1, 1}}, {0, 1, 2}, {1, 2, 3}}},
        {"3 v(0 1 2) m(7) uv(0 0.5 1 0 1 1) col(1 2 3)", 8, {3, 7, {{0, 0.5f}, {1, 0}, {1, 1}}, {0, 1, 2}, {1, 2, 3}}},
        {"3 V(0 1 2) M(7)", 7, {3, -1, {}, {0, 1, 2}, {}}},
        {"3 V(0 1 2) M(-1)", 8, {3, -1, {}, {0, 1, 2}, {}}},
        {"3 V(0 1 2) M 0", 8, {3, -1, {}, {0, 1, 2}, {}}},
        {"3 V(0 1 2) UV(0 0 1 0 1 1) M(0)", 8, {3, -1, {{0, 0}, {1, 0}, {1, 1}}, {0, 1, 2}, {}}},
        {"3 V(0 1 2) M(1) UV(0 0 1 0 1) COL(1 2 3)", 8, {3, 1, {}, {0, 1, 2}, {}}},
        {"3 V(0 1 2) COL(4294967295 -1 2147483648)", 8, {3, -1, {}, {0, 1, 2}, {0xFFFFFFFF, 0xFFFFFFFF, 0x80000000}}},
        {"5 V(0 1 2 3 4) UV(0 0 1 0 1 1 0 1 0.5 0.5) COL(1 2 3 4 5)",
         8,
         {4, -1, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {0, 1, 2, 3}, {1, 2, 3, 4}}},
        {"0 V()", 8, {0, -1, {}, {}, {}}},
        {"4 V(9 -3 100000 2)", 0, {4, -1, {}, {9, -3, 100000, 2}, {}}},
    };
    for (const Case& c : cases) {
        ParsedModel model = parseFace(c.line, c.materials);
        ASSERT_EQ(model.result, ParseOk) << c.line;
        ASSERT_EQ(model.object().faceCount, 1) << c.line;
        EXPECT_EQ(describe(model.object().faces[0]), describe(c.face)) << c.line;
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
