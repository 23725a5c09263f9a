// Files as the modeller writes them today, read the model way: Ver 1.1, the
// code page the file names, whole faces, the object's display keys; and
// where reading stopped in a file that can't be read, and what was expected.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "tests/mqo/model_text.h"

namespace {

ParsedModel parseFixture(const std::string& name, ReadingMode mode) {
    std::ifstream file(FIXTURES_DIR "/" + name, std::ios::binary);
    return parseText(std::string(std::istreambuf_iterator<char>(file), {}), false, mode);
}

TEST(ModelReading, readsVer11FilesAsTheModellerWritesThem) {
    ParsedModel model = parseFixture("ver11_utf8.mqo", ReadingMode::Model);
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(model.data().codePage, CodePage::Utf8);
    EXPECT_EQ(model.data().scene.pos.z, 1500);
    ASSERT_EQ(namesOf(model), "看板,|木目,ガラス,");
    EXPECT_EQ(describe(model.material(0)),
              "木目 col 0.8 0.6 0.4 1 dif 0.8 amb 0.6 emi 0 spc 0 power 5 tex テクスチャ\\木目.png aplane  bump ");
    const ObjectRecord& object = model.object();
    EXPECT_EQ(std::tuple(object.visible, object.shading, object.facet, object.mirror, object.mirrorAxis,
                         object.mirrorDistance, object.hasScale, object.hasRotation, object.hasTranslation),
              std::tuple(0, 0, 30.f, 1, 4, 2.5f, true, true, true));
    ASSERT_EQ(std::tuple(object.vertexCount, object.faceCount), std::tuple(6, 2));
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

TEST(ParseFailures, eachFailureTellsItsLineAndWhatWasExpected) {
    const std::string VER11 = "Metasequoia Document\nFormat Text Ver 1.1\n";
    // The mode, the text read, the result, where it stopped and what was expected there.
    const std::tuple<ReadingMode, std::string, int32_t, int64_t, const char*> cases[] = {
        {ReadingMode::Model, "\nMetasequoia Document\n", ParseHeaderError, 1, "expected \"Metasequoia Document\""},
        {ReadingMode::Classic, VER11, ParseFormatError, 2, "expected \"Format Text Ver 1.0\""},
        {ReadingMode::Model, "Metasequoia Document\nFormat Text Ver 1.2\n", ParseFormatError, 2,
         "expected \"Format Text Ver 1.0\" or \"Format Text Ver 1.1\""},
        {ReadingMode::Model, VER11 + "Scene x\n", ParseError, 3, "expected \"{\" at the end of a Scene line"},
        {ReadingMode::Model, VER11 + "\nMaterial 1 x\n", ParseError, 4, "expected \"{\" at the end of a Material line"},
        {ReadingMode::Model, VER11 + "Object \"o\"\n", ParseError, 3, "expected \"{\" at the end of an Object line"},
        {ReadingMode::Classic, HEADER + "Object {\n face 1\n", ParseError, 4,
         "expected \"{\" at the end of a face line"},
        {ReadingMode::Model, VER11 + "Object {\n BVertex 1 {\n  Vector 1 [ 12 x\n", ParseError, 5,
         "expected \"[\", a byte count and \"]\" at the end of a Vector line"},
        {ReadingMode::Model, VER11 + "Object {\n face 1 {\n  3 X(0 1 2)\n", ParseError, 5,
         "expected a face line: a corner count, then \"V(\" and the vertex indices"},
        {ReadingMode::Model, VER11 + "Object {\n face 1 {\n  5 V(0 1 2)\n", ParseError, 5,
         "expected a face line of 5 corners: \"V(\", as many vertex indices and \")\""},
        {ReadingMode::Model, VER11 + "Object {\n face 1 {\n  3 V(0 1 2)\n", ParseEof, 5,
         "expected \"}\" closing the face block before the end of the file"},
        {ReadingMode::Model, VER11 + "Object {\n vertex 1 {\n  1 2 3\n }\n", ParseEof, 6,
         "expected \"}\" closing the Object chunk before the end of the file"},
        {ReadingMode::Model, VER11 + "Thumbnail 1 1 24 rgb raw 3 {\n ffffff\n", ParseEof, 4,
         "expected \"}\" closing the Thumbnail block before the end of the file"},
        {ReadingMode::Model, VER11 + "Blob {\n data [ -1 ]\n}\n", ParseError, 4,
         "expected a byte count of 0 or more between \"[\" and \"]\""},
    };
    for (const auto& [mode, text, result, line, expected] : cases) {
        ParsedModel model = parseText(text, false, mode);
        EXPECT_EQ(std::tuple(model.result, model.document->lineNumber(), std::string(model.document->failureText())),
                  std::tuple(result, line, std::string(expected)))
            << text;
    }
}

// Line numbers count whole lines in the model reading, pieces of 8190 bytes
// in the classic one: a face of 1200 corners is one line.
TEST(ParseFailures, modelReadingCountsPhysicalLines) {
    std::string face = "  1200 V(";
    for (int k = 0; k < 1200; ++k) face += std::to_string(100000 + k) + " ";
    const std::string text = HEADER + "Object {\n face 1 {\n" + face + ")\n  3 X\n";
    ParsedModel model = parseText(text, false, ReadingMode::Model);
    EXPECT_EQ(model.document->lineNumber(), 6);
    EXPECT_STREQ(model.document->failureText(),
                 "expected a face line: a corner count, then \"V(\" and the vertex indices");
    model = parseText(text, false, ReadingMode::Classic);
    EXPECT_EQ(model.document->lineNumber(), 5);
    EXPECT_STREQ(model.document->failureText(),
                 "expected a face line of 1200 corners: \"V(\", as many vertex indices and \")\"");
}

TEST(ParseFailures, completeRecordsBeforeTheFailureStay) {
    ParsedModel model = parseBody(
        "Object \"first\" {\n vertex 1 {\n 1 2 3\n }\n}\nMaterial 3 {\n\"a\" col(1 1 1 1)\n\"b\"\n}\n"
        "Object \"second\" {\n vertex 1 {\n 1 2 3\n }\n face 1 {\n 3 V(0 0 0)\n 3 X(0 0 0)\n 1 V(0)\n }\n}\n"
        "Object \"third\" {\n}\n");
    EXPECT_EQ(std::tuple(model.result, model.document->lineNumber(), namesOf(model)),
              std::tuple(ParseError, 18, "first,|a,b,"));
    model = parseBody("Material 3 {\n\"a\"\n\"b\" dif(");
    EXPECT_EQ(std::tuple(model.result, namesOf(model)), std::tuple(ParseEof, "|a,b,"));
}

}  // namespace
