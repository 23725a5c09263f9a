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

TEST(ChunkWalk, readsEveryChunkToThePhysicalEnd) {
    ParsedModel model = parseBody(
        "Object \"a\" {\n}\nEof\n"
        "Unknown {\n Nested x {\n  deeper {\n  }\n }\n a { b\n Object \"hidden\" {\n }\n}\n"
        "lone line }\nSkip {\n x { y }\n"
        "Material 1 {\n\"m\"\n}\nObject {\n}\nobject b c {\n}\nMaterial 1 {\n\"n\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    ASSERT_EQ(model.data().objectCount, 3);
    EXPECT_STREQ(model.object(0).name.c_str(), "a");
    EXPECT_STREQ(model.object(1).name.c_str(), "");
    EXPECT_STREQ(model.object(2).name.c_str(), "b");
    ASSERT_EQ(model.data().materialCount, 2);
    EXPECT_STREQ(model.material(1).name.c_str(), "n");
}

TEST(SceneChunk, storesCameraValuesAndSkipsTheRest) {
    auto describeScene = [](const ParsedModel& model) {
        const SceneRecord& s = model.data().scene;
        std::ostringstream text;
        text << s.pos.x << ' ' << s.pos.y << ' ' << s.pos.z << " | " << s.lookat.x << ' ' << s.lookat.y << ' '
             << s.lookat.z << " | " << s.angles[0] << ' ' << s.angles[1] << ' ' << s.angles[2] << " | " << s.amb[0]
             << ' ' << s.amb[1] << ' ' << s.amb[2];
        return text.str();
    };
    EXPECT_EQ(describeScene(parseText(HEADER)), "0 0 0 | 0 0 0 | 0 0 0 | 0 0 0");
    ParsedModel model = parseBody(
        "Scene {\n pos 1 2 3\n lookat 4 5 6 7\n head 0.5\n amb .1 .2 .3\n"
        " dirlights 1 {\n  light {\n   pos 9 9 9\n  }\n }\n zoom2 5\n}\n");
    EXPECT_EQ(describeScene(model), "1 2 3 | 4 5 6 | 0.5 0 0 | 0.1 0.2 0.3");
    // A later scene overwrites what it sets; without angles it keeps them.
    model = parseBody("Scene {\n pich 2\n head 1\n}\nScene {\n pos 7 8\n lookat 1 2\n}\n");
    EXPECT_EQ(describeScene(model), "0 0 0 | 0 0 0 | 1 2 0 | 0 0 0");
}
