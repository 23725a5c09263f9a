#include <gtest/gtest.h>

#include <cstdio>

#include "model_text.h"

TEST(CopyRules, documentLeavesItsFileOpen) {
    std::string text = HEADER + "Object {\n}\n";
    FILE* file = fmemopen(text.data(), text.size(), "rb");
    ASSERT_NE(file, nullptr);
    {
        ModelDocument document(ModelData{}, file);
        EXPECT_EQ(document.parse(), ParseOk);
        EXPECT_EQ(document.objectCount(), 1);
    }
    EXPECT_EQ(fseek(file, 0, SEEK_SET), 0);
    EXPECT_EQ(fgetc(file), 'M');
    fclose(file);
}

// Lists of several megabytes live in mappings of their own; reading, copying
// and growing them must keep every face whichever side of that size they are.
TEST(CopyRules, objectsLargerThanTheHeapThresholdReadAndCopyWhole) {
    const int faceCount = 70000;
    std::string text = HEADER + "Object \"big\" {\n vertex 3 {\n  0 0 0\n  1 0 0\n  0 1 0\n }\n face 2 {\n";
    for (int f = 0; f < faceCount; ++f) text += "  3 V(0 1 2) COL(" + std::to_string(f) + " 0 0)\n";
    text += " }\n}\n";
    ParsedModel model = parseText(text);
    ASSERT_EQ(model.result, ParseOk);
    ObjectRecord copy = model.document->getData().objectAt(0);
    copy.appendFace(copy.faces.front());
    ASSERT_EQ(copy.faceCount, faceCount + 1);
    EXPECT_EQ(copy.faces[faceCount - 1].color[0], uint32_t(faceCount - 1));
    EXPECT_EQ(model.object().faceCount, faceCount);
}
