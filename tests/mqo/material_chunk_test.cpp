#include <gtest/gtest.h>

#include <string>

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
    const MaterialRecord& m = model.material();
    EXPECT_STREQ(m.name, "mat 1");
    EXPECT_EQ(m.col[1], 0.5f);
    EXPECT_EQ(m.col[3], 0.75f);
    EXPECT_EQ(m.dif, 0.8f);
    EXPECT_EQ(m.amb, 0.6f);
    EXPECT_EQ(m.emi, 0.4f);
    EXPECT_EQ(m.spc, 0.2f);
    EXPECT_EQ(m.power, 5);
    EXPECT_STREQ(m.tex, "Tex\\wood 1.jpg");
    EXPECT_STREQ(m.aplane, "a.tga");
    EXPECT_STREQ(m.bump, "b.bmp");
    EXPECT_EQ(m.textureImage, nullptr);
}

TEST(MaterialChunk, malformedAttributeEndsTheWalkButKeepsTheMaterial) {
    struct Case {
        const char* line;
        float col0;
        float dif;
    } cases[] = {
        {"\"m\"", 0, 0},
        {"\"m\" DIF(0.5) COL(1 1 1 1)", 1, 0.5f},
        {"\"m\" uvmap(1 2 3 4 5 6) dif(0.5) vcol() col(1 1 1 1)", 1, 0.5f},
        {"\"m\" dif(0.5) bare col(1 1 1 1)", 0, 0.5f},
        {"\"m\" col(1 1 1) dif(0.5) x x", 0, 0},
        {"\"m\" dif(0.5) col(1 1 1)", 0, 0.5f},
        {"\"m\" dif 0.5 ) col(1 1 1 1)", 0, 0},
        {"\"m\" dif(0.5) dif(0.25)", 0, 0.25f},
        {"\"m\" unclosed(1 2 dif(0.5)", 0, 0},
    };
    for (const Case& c : cases) {
        ParsedModel model = parseMaterials(std::string(c.line) + "\n");
        ASSERT_EQ(model.data().materialCount, 1) << c.line;
        EXPECT_EQ(model.material().col[0], c.col0) << c.line;
        EXPECT_EQ(model.material().dif, c.dif) << c.line;
    }
}

TEST(MaterialChunk, eachLineIsTheNextMaterialIndex) {
    ParsedModel model = parseBody("Material 5 {\n\"a\"\n\n\"b\"\n\"}\"\n\"c\"\n}\nMaterial 1 {\n\"d\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    ASSERT_EQ(model.data().materialCount, 3);
    EXPECT_STREQ(model.material(0).name, "a");
    EXPECT_STREQ(model.material(1).name, "b");
    EXPECT_STREQ(model.material(2).name, "d");
}

// Record texts hold 255 bytes; longer names and paths keep their start.
TEST(MaterialChunk, truncatesLongTexts) {
    std::string name(300, 'n');
    ParsedModel model = parseMaterials(name + " tex(" + std::string(256, 't') + ")\n");
    EXPECT_EQ(std::string(model.material().name), name.substr(0, 255));
    EXPECT_EQ(std::string(model.material().tex), std::string(255, 't'));
}
