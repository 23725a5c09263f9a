#include <gtest/gtest.h>

#include <cstdio>

#include "model_text.h"

TEST(CopyRules, addedRecordsAreCopiesAndStartFromTheInitialData) {
    ModelData initial;
    initial.scene.pos = {1, 2, 3};
    ModelDocument document(initial, std::string_view());
    ObjectRecord object;
    object.appendVertex({});
    EXPECT_EQ(document.addObject(object), 1);
    object.appendVertex({});
    EXPECT_EQ(document.addObject(std::move(object)), 2);
    EXPECT_EQ(document.getData().objectAt(0).vertexCount, 1);
    EXPECT_EQ(document.getData().objectAt(1).vertexCount, 2);
    EXPECT_EQ(document.data().scene.pos.y, 2);
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
