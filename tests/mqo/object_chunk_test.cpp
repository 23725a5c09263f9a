#include <gtest/gtest.h>

#include <cstring>

#include "model_text.h"

namespace {

std::string littleEndianFloats(std::initializer_list<float> values) {
    std::string bytes;
    for (float value : values) {
        uint32_t word;
        memcpy(&word, &value, 4);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(word >> (8 * i)));
    }
    return bytes;
}

}  // namespace

TEST(ObjectChunk, readsTransformsAndPassesOverModellingKeys) {
    ParsedModel model = parseObject(
        " scale 2\n rotation 1 2\n translation 1 2 3 4\n\n"
        " mirror {\n vertex 1 {\n 5 6 7\n }\n patch 3\n lathe_seg 2\n unknown {\n  vertex 1 {\n  1 1 1\n  }\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    const ObjectRecord& object = model.object();
    EXPECT_EQ(object.scale.x, 2);
    EXPECT_EQ(object.scale.y, 0);
    EXPECT_EQ(object.rotation.y, 2);
    EXPECT_EQ(object.translation.z, 3);
    // "mirror {" is one line; the block after it belongs to the object.
    EXPECT_EQ(describeVertices(object), "5 6 7 0|");
}

TEST(ObjectChunk, textVerticesNeedThreeNumbers) {
    ParsedModel model = parseObject(" vertex 2 {\n 1.5 2\n\n 1 2 3 4\n x y z\n }\n vertex {\n 9 9 9\n }\n");
    ASSERT_EQ(model.result, ParseOk);
    EXPECT_EQ(describeVertices(model.object()), "1 2 3 0|0 0 0 0|");
}

// NOTE: the size between the brackets is not trusted, only the count.
TEST(ObjectChunk, binaryVerticesTakeTwelveBytesEach) {
    ParsedModel model =
        parseObject(" BVertex 2 {\n  Vector 2 [ 999 ]\n" + littleEndianFloats({1, 2, 3, -4, 5.5f, 0.125f}) +
                    "  Vector 0 [ 0 ]\n  Vector -1 [ 12 ]\n"
                    "  weit {\n\n   1 0.5\n   0 0.75\n   0\n   2 9\n   -1 9\n  }\n  color {\n   }{\n  }\n }\n"
                    " BVertex {\n  Vector 1 [ 12 ]\n" +
                    littleEndianFloats({7, 8, 9}) + " }\n");
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
