#include <gtest/gtest.h>

#include <cstring>

#include "model_text.h"

namespace {

ParsedModel parseMaterials(const std::string& lines) {
    return parseBody("Material 9 {\n" + lines + "}\n");
}

}  // namespace

TEST(MaterialChunk, readsEveryKnownAttribute) {
    ParsedModel model = parseMaterials(
        "\t\"mat 1\" shader(3) col(1 0.5 0.25 0.75) dif(0.8) amb(0.6) emi(0.4) spc(0.2) power(5)"
        " tex(\"Tex\\wood 1.jpg\") aplane(\"a.tga\") bump(\"b.bmp\")\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(describe(model.material()),
              "mat 1 col 1 0.5 0.25 0.75 dif 0.8 amb 0.6 emi 0.4 spc 0.2 power 5 tex Tex\\wood 1.jpg aplane a.tga bump "
              "b.bmp");
}

TEST(MaterialChunk, malformedAttributeEndsTheWalkButKeepsTheMaterial) {
    struct Case {
        const char* line;
        const char* material;
    } cases[] = {
        {"m", "m col 0 0 0 0 dif 0 amb"},
        {"m DIF(0.5) COL(1 1 1 1)", "m col 1 1 1 1 dif 0.5 amb"},
        {"m uvmap(1 2 3 4 5 6) dif(0.5) vcol() col(1 1 1 1)", "m col 1 1 1 1 dif 0.5 amb"},
        {"m dif(0.5) bare col(1 1 1 1)", "m col 0 0 0 0 dif 0.5 amb"},
        {"m col(1 1 1) dif(0.5) x x", "m col 0 0 0 0 dif 0 amb"},
        {"m dif(0.5) col(1 1 1)", "m col 0 0 0 0 dif 0.5 amb"},
        {"m dif 0.5 ) col(1 1 1 1)", "m col 0 0 0 0 dif 0 amb"},
        {"m dif(0.5) dif(0.25)", "m col 0 0 0 0 dif 0.25 amb"},
        {"m unclosed(1 2 dif(0.5)", "m col 0 0 0 0 dif 0 amb"},
    };
    for (const Case& c : cases) {
        ParsedModel model = parseMaterials(std::string(c.line) + "\n");
        ASSERT_EQ(model.data().materialCount, 1) << c.line;
        EXPECT_EQ(describe(model.material()).substr(0, strlen(c.material)), c.material) << c.line;
    }
}

TEST(MaterialChunk, eachLineIsTheNextMaterialIndex) {
    ParsedModel model = parseBody("Material 5 {\n\"a\"\n\n\"b\"\n\"}\"\n\"c\"\n}\nMaterial 1 {\n\"d\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    ASSERT_EQ(model.data().materialCount, 3);
    EXPECT_STREQ(model.material(1).name.c_str(), "b");
    EXPECT_STREQ(model.material(2).name.c_str(), "d");
}

// Record texts hold 255 bytes; longer names and paths keep their start.
TEST(MaterialChunk, truncatesLongTexts) {
    ParsedModel model = parseMaterials(std::string(300, 'n') + " tex(" + std::string(256, 't') + ")\n");
    EXPECT_EQ(std::string(model.material().name.view()), std::string(255, 'n'));
    EXPECT_EQ(std::string(model.material().tex.view()), std::string(255, 't'));
}
