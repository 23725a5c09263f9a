#include <gtest/gtest.h>

#include <string>

#include "model_text.h"

TEST(ParseFailures, eachFailureTellsItsLineAndWhatWasExpected) {
    const std::string VER11 = "Metasequoia Document\nFormat Text Ver 1.1\n";
    const struct {
        ReadingMode mode;
        std::string text;
        int32_t result;
        int64_t line;
        const char* expected;
    } cases[] = {
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
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ParsedModel model = parseText(c.text, false, c.mode);
        EXPECT_EQ(model.result, c.result);
        EXPECT_EQ(model.document->lineNumber(), c.line);
        EXPECT_STREQ(model.document->failureText(), c.expected);
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
    EXPECT_EQ(model.result, ParseError);
    EXPECT_EQ(model.document->lineNumber(), 18);
    ASSERT_EQ(model.data().objectCount, 1);
    EXPECT_STREQ(model.object().name.c_str(), "first");
    EXPECT_EQ(model.data().materialCount, 2);

    model = parseBody("Material 3 {\n\"a\"\n\"b\" dif(");
    EXPECT_EQ(model.result, ParseEof);
    EXPECT_EQ(model.data().materialCount, 2);
}
