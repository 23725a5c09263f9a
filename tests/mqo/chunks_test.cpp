// The chunks of a model file read the classic way: the header, the walk
// from chunk to chunk, and what the scene, material, object and face lines
// put in the records; binary blocks passed over by their byte counts.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "tests/mqo/model_text.h"

namespace {

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

TEST(ObjectChunk, readsTransformsAndPassesOverModellingKeys) {
    ParsedModel model = parseObject(
        " scale 2\n rotation 1 2\n translation 1 2 3 4\n\n"
        " mirror {\n vertex 1 {\n 5 6 7\n }\n patch 3\n lathe_seg 2\n unknown {\n  vertex 1 {\n  1 1 1\n  }\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    const ObjectRecord& o = model.object();
    EXPECT_EQ((std::vector<float>{o.scale.x, o.scale.y, o.rotation.y, o.translation.z}),
              (std::vector<float>{2, 0, 2, 3}));
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

}  // namespace
