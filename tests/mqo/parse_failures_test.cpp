#include <gtest/gtest.h>

#include <string>

#include "model_text.h"

TEST(ParseFailures, endOfFileInsideAnyBlockIsEof) {
    for (const char* body : {
             "Scene {\n pos 1 2 3\n",
             "Scene {\n light {\n}\n",
             "Material 1 {\n\"m\"\n",
             "Object \"o\" {\n",
             "Object {\n vertex 1 {\n 1 2 3\n",
             "Object {\n BVertex 1 {\n",
             "Object {\n BVertex 1 {\n weit {\n\n",
             "Object {\n BVertex 1 {\n color {\n",
             "Object {\n vertexattr {\n weit {\n 0 1\n",
             "Object {\n face 1 {\n",
             "Object {\n mirror_axis 1\n x {\n",
             "Unknown {\n a {\n }\n",
         })
        EXPECT_EQ(parseBody(body).result, ParseEof) << body;
}

TEST(ParseFailures, completeRecordsBeforeTheFailureStay) {
    ParsedModel model = parseBody(
        "Object \"first\" {\n vertex 1 {\n 1 2 3\n }\n}\nMaterial 3 {\n\"a\" col(1 1 1 1)\n\"b\"\n}\n"
        "Object \"second\" {\n vertex 1 {\n 1 2 3\n }\n face 1 {\n 3 V(0 0 0)\n 3 X(0 0 0)\n 1 V(0)\n }\n}\n"
        "Object \"third\" {\n}\n");
    EXPECT_EQ(model.result, ParseError);
    EXPECT_EQ(model.document->lineNumber(), 18);
    ASSERT_EQ(model.data().objectCount, 1);
    EXPECT_STREQ(model.object().name.c_str(), "first");
    EXPECT_EQ(model.data().materialCount, 2);

    model = parseBody("Material 3 {\n\"a\"\n\"b\" dif(");
    EXPECT_EQ(model.result, ParseEof);
    EXPECT_EQ(model.data().materialCount, 2);
}

TEST(ParseFailures, missingFileReadsAsAnEmptyOne) {
    ModelDocument document(ModelData{}, static_cast<FILE*>(nullptr));
    EXPECT_EQ(document.parse(), ParseHeaderError);
}
