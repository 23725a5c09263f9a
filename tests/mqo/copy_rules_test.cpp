#include <gtest/gtest.h>

#include <cstdio>

#include "model_text.h"

TEST(CopyRules, getDataIsADeepCopy) {
    ParsedModel model = parseObject(" vertex 1 {\n 1 2 3\n }\n face 1 {\n 1 V(0)\n }\n");
    ModelData copy = model.document->getData();
    copy.objects[0].appendVertex({});
    copy.objects[0].faces[0].vertexIndex[0] = 7;
    copy.objects.clear();
    ModelData again = model.document->getData();
    ASSERT_EQ(again.objectCount, 1);
    EXPECT_EQ(again.objects[0].vertexCount, 1);
    EXPECT_EQ(again.objects[0].vertices.size(), 1u);
    EXPECT_EQ(again.objectAt(0).faces[0].vertexIndex[0], 0);
}

TEST(CopyRules, addedRecordsAreCopies) {
    std::string empty;
    ModelData initial;
    initial.scene.pos = {1, 2, 3};
    ModelDocument document(initial, empty);
    ObjectRecord object;
    object.appendVertex({1, 1, 1, 0});
    EXPECT_EQ(document.addObject(object), 1);
    object.appendVertex({2, 2, 2, 0});
    EXPECT_EQ(document.addObject(std::move(object)), 2);
    MaterialRecord material;
    document.addMaterial(material);
    EXPECT_EQ(document.objectCount(), 2);
    EXPECT_EQ(document.materialCount(), 1);
    EXPECT_EQ(document.data().objects[0].vertexCount, 1);
    EXPECT_EQ(document.data().objects[1].vertexCount, 2);
    EXPECT_EQ(document.data().scene.pos.y, 2);
}

TEST(CopyRules, objectAssignmentReplacesBothLists) {
    ObjectRecord three, ten;
    for (int i = 0; i < 3; ++i) three.appendVertex({});
    for (int i = 0; i < 10; ++i) ten.appendFace({});
    ten = three;
    EXPECT_EQ(ten.vertexCount, 3);
    EXPECT_EQ(ten.vertices.size(), 3u);
    EXPECT_EQ(ten.faceCount, 0);
    EXPECT_TRUE(ten.faces.empty());
}

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
