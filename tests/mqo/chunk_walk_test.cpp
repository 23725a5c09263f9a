#include <gtest/gtest.h>

#include "model_text.h"

TEST(Header, acceptsOnlyTheTextFormatVersionOne) {
    struct Case {
        std::string text;
        int32_t result;
    } cases[] = {
        {HEADER, ParseOk},
        {"METASEQUOIA document extra\nformat TEXT ver 1 extra\n", ParseOk},
        {"Metasequoia Document\nFormat Text Ver 1.000\n", ParseOk},
        {"Metasequoia Document\nFormat Text Ver 1.1\n", ParseFormatError},
        {"Metasequoia Document\nFormat Text Ver\n", ParseFormatError},
        {"Metasequoia Document\nFormat Binary Ver 1.0\n", ParseFormatError},
        {"Metasequoia Document\n", ParseFormatError},
        {"Metasequoia\nFormat Text Ver 1.0\n", ParseHeaderError},
        {"\n" + HEADER, ParseHeaderError},
        {"\xEF\xBB\xBF" + HEADER, ParseHeaderError},
        {"", ParseHeaderError},
    };
    for (const Case& c : cases) EXPECT_EQ(parseText(c.text).result, c.result) << c.text;
}

TEST(ChunkWalk, minimalModelIsEmpty) {
    ParsedModel model = parseText(HEADER);
    EXPECT_EQ(model.data().objectCount, 0);
    EXPECT_EQ(model.data().materialCount, 0);
    EXPECT_EQ(model.data().scene.pos.x, 0);
    EXPECT_EQ(model.data().scene.amb[2], 0);
}

TEST(ChunkWalk, chunkHeadsMustOpenABlock) {
    for (const char* head : {"Scene x", "Material 1", "Object \"o\"", "Object \"o\" { x"})
        EXPECT_EQ(parseBody(std::string(head) + "\n}\n").result, ParseError) << head;
}

TEST(ChunkWalk, readsEveryChunkToThePhysicalEnd) {
    ParsedModel model = parseBody(
        "Object \"a\" {\n}\nEof\n"
        "Unknown {\n Nested x {\n  deeper {\n  }\n }\n a { b\n Object \"hidden\" {\n }\n}\n"
        "lone line }\nSkip {\n x { y }\n"
        "Material 1 {\n\"m\"\n}\nObject {\n}\nobject b c {\n}\nMaterial 1 {\n\"n\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    ASSERT_EQ(model.data().objectCount, 3);
    EXPECT_STREQ(model.object(0).name, "a");
    EXPECT_STREQ(model.object(1).name, "");
    EXPECT_STREQ(model.object(2).name, "b");
    ASSERT_EQ(model.data().materialCount, 2);
    EXPECT_STREQ(model.material(1).name, "n");
}

TEST(SceneChunk, storesCameraValuesAndSkipsTheRest) {
    ParsedModel model = parseBody(
        "Scene {\n pos 1 2 3\n lookat 4 5 6 7\n head 0.5\n amb .1 .2 .3\n"
        " dirlights 1 {\n  light {\n   pos 9 9 9\n  }\n }\n zoom2 5\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    const SceneRecord& scene = model.data().scene;
    EXPECT_EQ(scene.pos.x, 1);
    EXPECT_EQ(scene.pos.z, 3);
    EXPECT_EQ(scene.lookat.z, 6);
    EXPECT_EQ(scene.angles[0], 0.5f);
    EXPECT_EQ(scene.angles[1], 0);
    EXPECT_EQ(scene.amb[1], 0.2f);

    model = parseBody("Scene {\n pich 2\n head 1\n}\nScene {\n pos 7 8\n lookat 1 2\n}\n");
    EXPECT_EQ(model.data().scene.angles[0], 1);
    EXPECT_EQ(model.data().scene.angles[1], 2);
    EXPECT_EQ(model.data().scene.pos.x, 0);
    EXPECT_EQ(model.data().scene.lookat.x, 0);
}
