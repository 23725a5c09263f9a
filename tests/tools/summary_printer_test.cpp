// The readable summary: the verdict with where reading stopped, and the
// count of face corners the viewer could not draw.
#include <gtest/gtest.h>

#include <string>

#include "mqo/model_document.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

const std::string HEADER = "Metasequoia Document\nFormat Text Ver 1.0\n";
const std::string NOTHING_READ = "materials: 0\nobjects: 0\nwarnings: 0 face corners outside their object's vertices\n";

TEST(Summary, printsTheVerdictEveryMaterialAndObjectAndTheCornersOutsideTheVertices) {
    const std::pair<std::string, std::string> cases[] = {
        // Only a face's own corners count: a triangle's unused fourth slot
        // holds vertex 0, which an object without vertices does not have.
        {HEADER + "Material 2 {\n \"wood\" col(0.8 0.5 0.25 1) tex(\"wood.bmp\") aplane(\"cut.tga\")\n \"plain\"\n}\n"
                  "Object \"\x8A\xC5\x94\xC2\" {\n vertex 3 {\n  0 0 0\n  1 0 0\n  0 1 0\n }\n"
                  " face 2 {\n  3 V(0 1 2)\n  4 V(0 1 3 -1)\n }\n}\n"
                  "Object \"bare\" {\n face 1 {\n  3 V(0 1 2)\n }\n}\n",
         "result: 0\n"
         "materials: 2\n"
         "  0 \"wood\" colour 0.8 0.5 0.25 1, texture \"wood.bmp\", alpha plane \"cut.tga\"\n"
         "  1 \"plain\" colour 0 0 0 0\n"
         "objects: 2\n"
         "  0 \"看板\" 3 vertices, 2 faces, 2 corners outside the vertices\n"
         "  1 \"bare\" 0 vertices, 1 faces, 3 corners outside the vertices\n"
         "warnings: 5 face corners outside their object's vertices\n"},
        {HEADER + "Object \"cut\" {\n vertex 1 {\n", "result: -2 EOF, reading stopped at line 4\n" + NOTHING_READ},
        {HEADER + "Object \"x\" {\n\n face 1 {\n  3 X(0 1 2)\n  3 V(0 1 2)\n }\n}\n",
         "result: -1 Error, reading stopped at line 6\n" + NOTHING_READ},
        {"Metasequoia Document\nFormat Text Ver 2.0\n",
         "result: -4 Format Error, reading stopped at line 2\n" + NOTHING_READ},
        {"\n", "result: -3 Header Error, reading stopped at line 1\n" + NOTHING_READ},
    };
    for (const auto& [model, summary] : cases) {
        SCOPED_TRACE(summary.substr(0, summary.find('\n')));
        ModelDocument document(ModelData{}, model);
        const int32_t result = document.parse();
        OutputBuffer out;
        printSummary(document.data(), result, document.lineNumber(), out);
        EXPECT_EQ(out.text(), summary);
    }
}

}  // namespace
