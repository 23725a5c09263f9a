// Files as the modeller writes them today, read the model way: Ver 1.1, the
// code page the file names, whole faces, the object's display keys.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "model_text.h"

namespace {

ParsedModel parseFixture(const std::string& name, ReadingMode mode) {
    std::ifstream file(FIXTURES_DIR "/" + name, std::ios::binary);
    return parseText(std::string(std::istreambuf_iterator<char>(file), {}), false, mode);
}

std::string describeKeys(const ObjectRecord& o) {
    std::ostringstream text;
    text << "visible " << o.visible << " shading " << o.shading << " facet " << o.facet << " mirror " << o.mirror
         << " axis " << o.mirrorAxis << " distance " << o.mirrorDistance << " frame " << o.hasScale << o.hasRotation
         << o.hasTranslation;
    return text.str();
}

}  // namespace

TEST(ModelReading, readsVer11FilesAsTheModellerWritesThem) {
    ParsedModel model = parseFixture("ver11_utf8.mqo", ReadingMode::Model);
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(model.data().codePage, CodePage::Utf8);
    EXPECT_EQ(model.data().scene.pos.z, 1500);
    ASSERT_EQ(model.data().materialCount, 2);
    EXPECT_EQ(describe(model.material(0)),
              "木目 col 0.8 0.6 0.4 1 dif 0.8 amb 0.6 emi 0 spc 0 power 5 tex テクスチャ\\木目.png aplane  bump ");
    EXPECT_EQ(model.material(1).name.view(), "ガラス");
    ASSERT_EQ(model.data().objectCount, 1);
    const ObjectRecord& object = model.object();
    EXPECT_EQ(object.name.view(), "看板");
    EXPECT_EQ(describeKeys(object), "visible 0 shading 0 facet 30 mirror 1 axis 4 distance 2.5 frame 111");
    EXPECT_EQ(object.vertexCount, 6);
    ASSERT_EQ(object.faceCount, 2);
    EXPECT_EQ(describe(object.faces.corners(0)), "M0 V 0 1 2 3 4 UV 0,1 1,1 1,0.375 0.5,0 0,0.375 COL 0 0 0 0 0");
    EXPECT_EQ(describe(object.faces.corners(1)), "M1 V 1 0 5 UV 1,0 0,0 0.5,1 COL 4294967295 4278190335 4278255360");
    EXPECT_EQ(parseFixture("ver11_utf8.mqo", ReadingMode::Classic).result, ParseFormatError);
}

// 재질 and 자동차 end in bytes that Shift JIS takes for lead bytes: read as
// Shift JIS, as the classic reading does, they swallow their closing quotes.
TEST(ModelReading, koreanNamesKeepTheirClosingQuotes) {
    ParsedModel model = parseFixture("ver11_cp949.mqo", ReadingMode::Model);
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(model.data().codePage, CodePage::Uhc);
    EXPECT_EQ(model.material(0).name.view(), "\xC0\xE7\xC1\xFA");
    EXPECT_EQ(model.material(0).tex.view(), "\xB9\xD9\xC4\xFB.png");
    EXPECT_EQ(model.object().name.view(), "\xC0\xDA\xB5\xBF\xC2\xF7");
    EXPECT_EQ(model.object().faces[0].materialIndex, 1);

    std::string asVer10 = *model.text;
    asVer10.replace(asVer10.find("1.1"), 3, "1.0");
    EXPECT_EQ(parseText(asVer10, false, ReadingMode::Classic).result, ParseError);
}

TEST(ModelReading, codePageLinesNameTheCodePage) {
    const std::pair<const char*, CodePage> cases[] = {
        {"", CodePage::ShiftJis},
        {"CodePage 932\n", CodePage::ShiftJis},
        {"CodePage 936\n", CodePage::Gbk},
        {"codepage 949\n", CodePage::Uhc},
        {"CodePage 950\n", CodePage::Big5},
        {"CodePage UTF8\n", CodePage::Utf8},
        {"CodePage utf-8\n", CodePage::Utf8},
        {"CodePage 65001\n", CodePage::Utf8},
        {"CodePage 949\nCodePage 1252\n", CodePage::Uhc},
    };
    for (const auto& [lines, page] : cases)
        EXPECT_EQ(parseText(HEADER + lines, false, ReadingMode::Model).data().codePage, page) << lines;
    EXPECT_EQ(parseBody("CodePage 949\n").data().codePage, CodePage::ShiftJis);
}
