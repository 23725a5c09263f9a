// The readable summary: the verdict with where reading stopped, and the
// count of face corners the viewer could not draw.
#include <gtest/gtest.h>

#include <string>

#include "mqo/model_document.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

const std::string HEADER = "Metasequoia Document\nFormat Text Ver 1.0\n";

std::string summaryOf(std::string_view modelText) {
    ModelDocument document(ModelData{}, modelText);
    const int32_t result = document.parse();
    OutputBuffer out;
    printSummary(document.data(), result, document.lineNumber(), out);
    return out.text();
}

FaceRecord face(int32_t vertexCount, std::initializer_list<int32_t> indices) {
    FaceRecord f;
    f.vertexCount = vertexCount;
    int k = 0;
    for (int32_t index : indices) f.vertexIndex[k++] = index;
    return f;
}

TEST(Summary, countsOnlyUsedCornersOutsideTheObjectsVertices) {
    ObjectRecord object;
    object.appendVertex({});
    object.appendVertex({});
    object.appendVertex({});
    object.appendFace(face(3, {0, 1, 2, 9}));   // the unused fourth slot does not count
    object.appendFace(face(3, {3, -1, 2}));     // one past the end and negative
    object.appendFace(face(4, {0, 1, 2, 3}));
    object.appendFace(face(0, {5, 5, 5, 5}));   // no corners at all
    object.appendFace(face(-2, {7}));
    EXPECT_EQ(countCornersOutsideVertices(object), 3);

    ObjectRecord empty;
    empty.appendFace(face(3, {0, 0, 0}));
    EXPECT_EQ(countCornersOutsideVertices(empty), 3);
}

TEST(Summary, listsMaterialsObjectsAndCornersOutsideTheVertices) {
    const std::string model = HEADER +
        "Material 2 {\n \"wood\" col(0.8 0.5 0.25 1) tex(\"wood.bmp\") aplane(\"cut.tga\")\n \"plain\"\n}\n"
        "Object \"\x8A\xC5\x94\xC2\" {\n vertex 3 {\n  0 0 0\n  1 0 0\n  0 1 0\n }\n"
        " face 2 {\n  3 V(0 1 2)\n  4 V(0 1 3 4)\n }\n}\n"
        "Object \"ok\" {\n}\n";
    EXPECT_EQ(summaryOf(model),
        "result: 0\n"
        "materials: 2\n"
        "  0 \"wood\" colour 0.8 0.5 0.25 1, texture \"wood.bmp\", alpha plane \"cut.tga\"\n"
        "  1 \"plain\" colour 0 0 0 0\n"
        "objects: 2\n"
        "  0 \"看板\" 3 vertices, 2 faces, 2 corners outside the vertices\n"
        "  1 \"ok\" 0 vertices, 0 faces\n"
        "warnings: 2 face corners outside their object's vertices\n");
}

TEST(Summary, failedReadShowsTheViewersMessageAndTheLineWhereReadingStopped) {
    EXPECT_EQ(summaryOf(HEADER + "Object \"cut\" {\n vertex 1 {\n"),
        "result: -2 EOF, reading stopped at line 4\n"
        "materials: 0\n"
        "objects: 0\n"
        "warnings: 0 face corners outside their object's vertices\n");
    EXPECT_EQ(summaryOf(HEADER + "Object \"x\" {\n\n face 1 {\n  3 X(0 1 2)\n  3 V(0 1 2)\n }\n}\n"),
              "result: -1 Error, reading stopped at line 6\n"
              "materials: 0\nobjects: 0\nwarnings: 0 face corners outside their object's vertices\n");
    EXPECT_NE(summaryOf("Metasequoia Document\nFormat Text Ver 2.0\n").find("result: -4 Format Error, reading stopped at line 2\n"),
              std::string::npos);
    EXPECT_NE(summaryOf("\n").find("result: -3 Header Error, reading stopped at line 1\n"), std::string::npos);
}

}  // namespace
