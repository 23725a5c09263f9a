// The JSON form of a document: fixed layout, every field, numbers that read
// back to the same floats, and whatever a failed read left behind.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "mqo/model_document.h"
#include "tools/mqoinfo/json_printer.h"

namespace {

const std::string HEADER = "Metasequoia Document\nFormat Text Ver 1.0\n";

std::string jsonOf(std::string_view modelText) {
    ModelDocument document(ModelData{}, modelText);
    const int32_t result = document.parse();
    OutputBuffer out;
    printDocumentJson(document.data(), result, out);
    return out.text();
}

std::string floatBytes(std::initializer_list<float> values) {
    std::string bytes;
    for (float value : values) {
        uint32_t bits;
        memcpy(&bits, &value, sizeof bits);
        for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>(bits >> shift);
    }
    return bytes;
}

TEST(JsonPrinter, smallModelPrintsEveryFieldInTheFixedLayout) {
    const std::string model = HEADER +
        "Scene {\n pos 1 2 3\n lookat 0.5 0 -1\n head 0.25\n pich -1.5\n amb 0.1 0.2 0.3\n}\n"
        "Material 2 {\n"
        " \"red\" col(1 0 0 1) dif(0.8) amb(0.6) emi(0.1) spc(0.2) power(5) tex(\"a.bmp\") aplane(\"b.tga\") bump(\"c.jpg\")\n"
        " \"plain\"\n"
        "}\n"
        "Object \"box\" {\n scale 1 2 3\n rotation 0 90 0\n translation -1 0 1\n"
        " vertex 3 {\n  0 0 0\n  1 0 0\n  0.1 1 0\n }\n"
        " face 2 {\n  3 V(0 1 2) M(1) UV(0 0 1 0 0 1) COL(4294967295 1 2)\n  4 V(2 1 0 7)\n }\n"
        "}\nEof\n";
    EXPECT_EQ(jsonOf(model),
        "{\"result\": 0, \"scene\": {\"pos\":[1,2,3], \"angles\":[0.25,-1.5,0], \"lookat\":[0.5,0,-1], "
        "\"amb\":[0.100000001,0.200000003,0.300000012]}, "
        "\"materials\": [{\"name\": \"red\", \"col\":[1,0,0,1], \"dif\":0.800000012, \"amb\":0.600000024, "
        "\"emi\":0.100000001, \"spc\":0.200000003, \"power\":5, \"tex\": \"a.bmp\", \"aplane\": \"b.tga\", "
        "\"bump\": \"c.jpg\"}, "
        "{\"name\": \"plain\", \"col\":[0,0,0,0], \"dif\":0, \"amb\":0, \"emi\":0, \"spc\":0, \"power\":0, "
        "\"tex\": \"\", \"aplane\": \"\", \"bump\": \"\"}], "
        "\"objects\": [{\"name\": \"box\", \"scale\":[1,2,3], \"rotation\":[0,90,0], \"translation\":[-1,0,1], "
        "\"vertices\": [[0,0,0,0], [1,0,0,0], [0.100000001,1,0,0]], "
        "\"faces\": [{\"n\": 3, \"m\": 1, \"v\":[0,1,2,0], \"uv\":[[0,0],[1,0],[0,1],[0,0]], "
        "\"col\":[4294967295,1,2,0]}, "
        "{\"n\": 4, \"m\": -1, \"v\":[2,1,0,7], \"uv\":[[0,0],[0,0],[0,0],[0,0]], \"col\":[0,0,0,0]}]}]}\n");
}

TEST(JsonPrinter, modelWithoutChunksPrintsEmptyLists) {
    EXPECT_EQ(jsonOf(HEADER),
        "{\"result\": 0, \"scene\": {\"pos\":[0,0,0], \"angles\":[0,0,0], \"lookat\":[0,0,0], "
        "\"amb\":[0,0,0]}, \"materials\": [], \"objects\": []}\n");
    EXPECT_EQ(jsonOf(HEADER + "Object \"bare\" {\n}\n"),
        "{\"result\": 0, \"scene\": {\"pos\":[0,0,0], \"angles\":[0,0,0], \"lookat\":[0,0,0], "
        "\"amb\":[0,0,0]}, \"materials\": [], \"objects\": [{\"name\": \"bare\", \"scale\":[0,0,0], "
        "\"rotation\":[0,0,0], \"translation\":[0,0,0], \"vertices\": [], \"faces\": []}]}\n");
}

TEST(JsonPrinter, failedReadPrintsWhatTheDocumentHeldWithTheFailureCode) {
    const std::string cutInObject = HEADER +
        "Material 1 {\n \"kept\" col(1 1 1 1)\n}\n"
        "Object \"lost\" {\n vertex 1 {\n  1 2 3\n";
    EXPECT_EQ(jsonOf(cutInObject),
        "{\"result\": -2, \"scene\": {\"pos\":[0,0,0], \"angles\":[0,0,0], \"lookat\":[0,0,0], "
        "\"amb\":[0,0,0]}, \"materials\": [{\"name\": \"kept\", \"col\":[1,1,1,1], \"dif\":0, \"amb\":0, "
        "\"emi\":0, \"spc\":0, \"power\":0, \"tex\": \"\", \"aplane\": \"\", \"bump\": \"\"}], "
        "\"objects\": []}\n");
    EXPECT_EQ(jsonOf("Metasequoia\n"),
        "{\"result\": -3, \"scene\": {\"pos\":[0,0,0], \"angles\":[0,0,0], \"lookat\":[0,0,0], "
        "\"amb\":[0,0,0]}, \"materials\": [], \"objects\": []}\n");
}

TEST(JsonPrinter, nonFiniteBinaryVerticesPrintAsStrings) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::string model = HEADER + "Object \"b\" {\n BVertex 2 {\n  Vector 2 [24]\n" +
        floatBytes({inf, -inf, std::nanf(""), 1.5f, -0.0f, 1e-45f}) + " }\n}\n";
    const std::string json = jsonOf(model);
    EXPECT_NE(json.find("\"vertices\": [[\"inf\",\"-inf\",\"nan\",0], [1.5,-0,1.40129846e-45,0]]"),
              std::string::npos) << json;
}

TEST(JsonPrinter, namesPrintAsEscapedUtf8) {
    // 看板 in Shift JIS; a name with undecodable bytes; a tab kept by quotes.
    const std::string model = HEADER +
        "Material 1 {\n \"a\tb\\c\" tex(\"\xA0x\xFD.bmp\")\n}\n"
        "Object \"\x8A\xC5\x94\xC2\" {\n}\n";
    const std::string json = jsonOf(model);
    EXPECT_NE(json.find("{\"name\": \"a\\u0009b\\\\c\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"tex\": \"\uFFFDx\uFFFD.bmp\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"objects\": [{\"name\": \"看板\""), std::string::npos) << json;
}

// Nine significant digits are what it takes for every 32-bit float to come
// back unchanged; fewer lose values, the layout must not change silently.
TEST(JsonPrinter, printedFloatsReadBackToTheSameBitsAndMatchPrintf) {
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        float value;
        memcpy(&value, &state, sizeof value);
        if (!std::isfinite(value)) continue;
        OutputBuffer out;
        out.appendFloat(value, 9);
        char expected[64];
        snprintf(expected, sizeof expected, "%.9g", value);
        ASSERT_EQ(out.text(), expected);
        const float back = strtof(out.text().c_str(), nullptr);
        ASSERT_EQ(memcmp(&back, &value, sizeof value), 0) << out.text();
    }
}

TEST(OutputBuffer, outputLargerThanTheBufferArrivesWholeAndInOrder) {
    char* bytes = nullptr;
    size_t size = 0;
    FILE* sink = open_memstream(&bytes, &size);
    std::string expected;
    {
        OutputBuffer out(sink);
        for (int i = 0; i < 300000; ++i) {
            out.appendInt(i);
            out.append(", ");
            expected += std::to_string(i) + ", ";
        }
        EXPECT_TRUE(out.flush());
    }
    fclose(sink);
    EXPECT_EQ(std::string(bytes, size), expected);
    free(bytes);
}

TEST(OutputBuffer, refusedWriteIsReported) {
    FILE* full = fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    OutputBuffer out(full);
    out.append(std::string(100, 'x'));
    EXPECT_FALSE(out.flush());
    out.append("more");
    EXPECT_FALSE(out.flush());
    fclose(full);
}

}  // namespace
