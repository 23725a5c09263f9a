// What the reader makes of model files. Read the classic way: the header,
// the walk from chunk to chunk, what material, object and face lines put in
// the records, and binary blocks passed over by their byte counts. Read the
// model way, as the modeller writes files today: Ver 1.1, the code page the
// file names, whole faces, the object's display keys. And where reading
// stopped in a file that can't be read, and what was expected there.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/mqo/model_text.h"

namespace {

ParsedModel parseFixture(const std::string& name, ReadingMode mode) {
    std::ifstream file(FIXTURES_DIR "/" + name, std::ios::binary);
    return parseText(std::string(std::istreambuf_iterator<char>(file), {}), false, mode);
}

ParsedModel parseMaterials(const std::string& lines) {
    return parseBody("Material 9 {\n" + lines + "}\n");
}

// Reads one face line in an object of a model with `materials` materials.
ParsedModel parseFace(const std::string& line, int materials = 8, ReadingMode mode = ReadingMode::Classic) {
    std::string body = "Material 1 {\n";
    for (int m = 0; m < materials; ++m) body += "\"m\"\n";
    return parseText(HEADER + body + "}\nObject \"o\" {\n face 1 {\n\n  " + line + "\n }\n}\n", false, mode);
}

// Floats as the little-endian bytes of binary vertices.
std::string floatBytes(std::initializer_list<float> values) {
    static_assert(std::endian::native == std::endian::little);
    return std::string(reinterpret_cast<const char*>(std::data(values)), 4 * values.size());
}

// Garbage that would open and close blocks if it were read as lines.
const std::string BRACES = std::string("}\n{\nObject \"fake\" {\n}\n") + '\0' + "\r\n";

TEST(Header, acceptsOnlyTheTextFormatVersionOne) {
    const std::pair<std::string, int32_t> cases[] = {
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
    for (const auto& [text, result] : cases) EXPECT_EQ(parseText(text).result, result) << text;
}

TEST(ChunkWalk, readsEveryChunkToThePhysicalEnd) {
    ParsedModel model = parseBody(
        "Object \"a\" {\n}\nEof\n"
        "Unknown {\n Nested x {\n  deeper {\n  }\n }\n a { b\n Object \"hidden\" {\n }\n}\n"
        "lone line }\nSkip {\n x { y }\n"
        "Material 1 {\n\"m\"\n}\nObject {\n}\nobject b c {\n}\nMaterial 1 {\n\"n\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(namesOf(model), "a,,b,|m,n,");
}

TEST(MaterialChunk, malformedAttributeEndsTheWalkButKeepsTheMaterial) {
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [line, material] : cases) {
        ParsedModel model = parseMaterials(std::string(line) + "\n");
        ASSERT_EQ(model.data().materialCount, 1) << line;
        EXPECT_EQ(describe(model.material()).substr(0, strlen(material)), material) << line;
    }
}

// A projection that is not just its numbers in parentheses is passed over
// as any unknown attribute, and the walk goes on where it went for one.
TEST(MaterialChunk, readsProjections) {
    const std::pair<const char*, const char*> cases[] = {
        {"m proj_type(2) proj_pos(1 2 3) proj_scale(4 5 6) proj_angle(7 8 9) dif(0.5)", "2 1 2 3 4 5 6 7 8 9 0.5"},
        {"m proj_type 3 proj_pos(1 2) dif(0.5)", "0 0 0 0 1 1 1 0 0 0 0"},
        {"m proj_type(3 4) proj_pos(1 2) proj_scale(1 2 3 4) dif(0.5)", "0 0 0 0 1 1 1 0 0 0 0.5"},
        // The skip stops at the first ")", and the walk ends at the "2".
        {"m proj_pos(1 ) 2 ) dif(0.5)", "0 0 0 0 1 1 1 0 0 0 0"},
        {"m proj_type( ) ) dif(0.5)", "0 0 0 0 1 1 1 0 0 0 0"},
        {"m proj_type x 1 )", "0 0 0 0 1 1 1 0 0 0 0"},
    };
    for (const auto& [line, values] : cases) {
        const MaterialRecord m = parseMaterials(std::string(line) + "\n").material();
        std::ostringstream text;
        text << m.projType;
        for (const float* triple : {m.projPos, m.projScale, m.projAngle})
            for (int k = 0; k < 3; ++k) text << ' ' << triple[k];
        text << ' ' << m.dif;
        EXPECT_EQ(text.str(), values) << line;
    }
}

TEST(MaterialChunk, eachLineIsTheNextMaterialIndex) {
    ParsedModel model = parseBody("Material 5 {\n\"a\"\n\n\"b\"\n\"}\"\n\"c\"\n}\nMaterial 1 {\n\"d\"\n}\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(namesOf(model), "|a,b,d,");
}

// Record texts hold 255 bytes; longer names and paths keep their start.
TEST(MaterialChunk, truncatesLongTexts) {
    ParsedModel model = parseMaterials(std::string(300, 'n') + " tex(" + std::string(256, 't') + ")\n");
    EXPECT_EQ(std::string(model.material().name.view()), std::string(255, 'n'));
    EXPECT_EQ(std::string(model.material().tex.view()), std::string(255, 't'));
}

TEST(ObjectChunk, readsTransformsAndModellingKeys) {
    ParsedModel model = parseObject(
        " scale 2\n rotation 1 2\n translation 1 2 3 4\n\n mirror {\n vertex 1 {\n 5 6 7\n }\n patch 3\n"
        " segment\n lathe_seg -5\n lathe_axis 2 9\n unknown {\n  vertex 1 {\n  1 1 1\n  }\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    const ObjectRecord& o = model.object();
    EXPECT_EQ((std::vector<float>{o.scale.x, o.scale.y, o.rotation.y, o.translation.z}),
              (std::vector<float>{2, 0, 2, 3}));
    // A key without its number keeps the default.
    EXPECT_EQ(std::tuple(o.patch, o.segment, o.lathe, o.latheAxis, o.latheSeg), std::tuple(3, 1, 0, 2, -5));
    // "mirror {" is one line; the block after it belongs to the object.
    EXPECT_EQ(describeVertices(o), "5 6 7 0|");
}

TEST(ObjectChunk, textVerticesNeedThreeNumbers) {
    ParsedModel model = parseObject(" vertex 2 {\n 1.5 2\n\n 1 2 3 4\n x y z\n }\n vertex {\n 9 9 9\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(describeVertices(model.object()), "1 2 3 0|0 0 0 0|");
}

// NOTE: the size between the brackets is not trusted, only the count.
TEST(ObjectChunk, binaryVerticesTakeTwelveBytesEach) {
    ParsedModel model =
        parseObject(" BVertex 2 {\n  Vector 2 [ 999 ]\n" + floatBytes({1, 2, 3, -4, 5.5f, 0.125f}) +
                    "  Vector 0 [ 0 ]\n  Vector -1 [ 12 ]\n"
                    "  weit {\n\n   1 0.5\n   0 0.75\n   0\n   2 9\n   -1 9\n  }\n  color {\n   }{\n  }\n }\n"
                    " BVertex {\n  Vector 1 [ 12 ]\n" +
                    floatBytes({7, 8, 9}) + " }\n");
    ASSERT_EQ(model.result, ParseOk);
    // Inside BVertex a lone index sets its weight to 0.
    EXPECT_EQ(describeVertices(model.object()), "1 2 3 0|-4 5.5 0.125 0.5|");

    EXPECT_EQ(parseObject(" BVertex 1 {\n  Vector 1 [ 12 x\n }\n").result, ParseError);
    EXPECT_EQ(parseObject(" BVertex 1 {\n  Vector 1 ( 12 ]\n }\n").result, ParseError);
}

TEST(ObjectChunk, vertexAttributesSetWeightsInRange) {
    ParsedModel model = parseObject(
        " vertex 2 {\n 0 0 0\n 1 1 1\n }\n vertexattr {\n  uid {\n   0 5\n  }\n"
        "  color {\n   0 255 }\n  }\n  weit {\n   1 0.25\n   0 0.5\n   0\n   2 1\n   -1 1\n  } 0 1\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    // Here an entry needs both numbers: the lone index changes nothing.
    EXPECT_EQ(describeVertices(model.object()), "0 0 0 0.5|1 1 1 0.25|");
}

TEST(ObjectChunk, blockHeadsMustOpenABlock) {
    for (const char* head : {"vertex 1 x", "vertexattr x", "BVertex 1 x", "face 1 x"})
        EXPECT_EQ(parseObject(std::string(" ") + head + "\n").result, ParseError) << head;
}

TEST(FaceChunk, readsTheGroupsInTheirOrder) {
    // A face line, the model's material count, the face read.
    const std::tuple<const char*, int, const char*> cases[] = {
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
    for (const auto& [line, materials, face] : cases) {
        ParsedModel model = parseFace(line, materials);
        ASSERT_EQ(std::tuple(model.result, model.object().faceCount), std::tuple(ParseOk, 1)) << line;
        EXPECT_EQ(describe(model.object().faces.corners(0)), face) << line;
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

TEST(SkippedBlocks, binaryDataIsSkippedByItsByteCount) {
    std::string blob = BRACES + BRACES;
    std::string count = std::to_string(blob.size());
    ParsedModel model = parseBody("Blob {\n data [ " + count + " ]\n" + blob + "}\nraw [ " + count + " ]\n" + blob +
                                  "Object \"real\" {\n uv [ " + count + " ]\n" + blob + "}\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(namesOf(model), "real,|");
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
    ASSERT_EQ(std::tuple(fromMemory.result, fromFile.result, fromFile.document->lineNumber()),
              std::tuple(ParseOk, ParseOk, fromMemory.document->lineNumber()));
    const ObjectRecord& object = fromFile.object();
    ASSERT_EQ(std::tuple(object.vertexCount, object.faceCount), std::tuple(250003, 1));
    EXPECT_EQ(std::tuple(object.vertices[149999].x, object.vertices[250002].z, object.faces[0].vertexIndex[2]),
              std::tuple(149999.f, std::bit_cast<float>(0x41414141u), 2));
}

// A Ver 1.2 file reads as a 1.1 one: its vertexattr uids, IncludeXml and
// shader lines are passed over alike.
TEST(ModelReading, readsVer11And12FilesAsTheModellerWritesThem) {
    std::string text = *parseFixture("ver11_utf8.mqo", ReadingMode::Model).text;
    for (const char* version : {"1.1", "1.2"}) {
        SCOPED_TRACE(version);
        text.replace(text.find("Ver 1.") + 4, 3, version);
        ParsedModel model = parseText(text, false, ReadingMode::Model);
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
        EXPECT_EQ(describe(object.faces.corners(1)),
                  "M1 V 1 0 5 UV 1,0 0,0 0.5,1 COL 4294967295 4278190335 4278255360");
        EXPECT_EQ(parseText(text, false, ReadingMode::Classic).result, ParseFormatError);
    }
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
        {ReadingMode::Classic, "Metasequoia Document\nFormat Text Ver 1.2\n", ParseFormatError, 2,
         "expected \"Format Text Ver 1.0\""},
        {ReadingMode::Model, "Metasequoia Document\nFormat Text Ver 1.3\n", ParseFormatError, 2,
         "expected \"Format Text Ver 1.0\", \"Format Text Ver 1.1\" or \"Format Text Ver 1.2\""},
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
