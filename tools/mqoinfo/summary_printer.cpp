#include "tools/mqoinfo/summary_printer.h"

#include <algorithm>

#include "mqo/model_document.h"
#include "tools/mqoinfo/quoted_text.h"

namespace {

void printResult(int32_t result, int64_t lineNumber, OutputBuffer& out);
void printMaterials(const ModelData& data, QuotedTextWriter& texts, OutputBuffer& out);
int64_t printObjects(const ModelData& data, QuotedTextWriter& texts, OutputBuffer& out);
void printNamedFile(const char* label, const RecordText& name, QuotedTextWriter& texts, OutputBuffer& out);

}  // namespace

int64_t countCornersOutsideVertices(const ObjectRecord& object) {
    const int64_t vertexCount = static_cast<int64_t>(object.vertices.size());
    int64_t outside = 0;
    for (const FaceRecord& face : object.faces) {
        const int corners = std::clamp(face.vertexCount, 0, 4);
        for (int k = 0; k < corners; ++k)
            if (face.vertexIndex[k] < 0 || face.vertexIndex[k] >= vertexCount) ++outside;
    }
    return outside;
}

void printSummary(const ModelData& data, int32_t result, int64_t lineNumber, OutputBuffer& out) {
    QuotedTextWriter texts;
    printResult(result, lineNumber, out);
    printMaterials(data, texts, out);
    const int64_t warnings = printObjects(data, texts, out);
    out.append("warnings: ");
    out.appendInt(warnings);
    out.append(" face corners outside their object's vertices\n");
}

namespace {

void printResult(int32_t result, int64_t lineNumber, OutputBuffer& out) {
    out.append("result: ");
    out.appendInt(result);
    if (result != ParseOk) {
        if (const char* message = parseFailureMessage(result)) {
            out.append(' ');
            out.append(message);
        }
        out.append(", reading stopped at line ");
        out.appendInt(lineNumber);
    }
    out.append('\n');
}

void printMaterials(const ModelData& data, QuotedTextWriter& texts, OutputBuffer& out) {
    out.append("materials: ");
    out.appendInt(static_cast<int64_t>(data.materials.size()));
    out.append('\n');
    int64_t index = 0;
    for (const MaterialRecord& material : data.materials) {
        out.append("  ");
        out.appendInt(index++);
        out.append(' ');
        texts.write(material.name, out);
        out.append(" colour");
        for (float component : material.col) {
            out.append(' ');
            out.appendFloat(component, 6);
        }
        printNamedFile(", texture ", material.tex, texts, out);
        printNamedFile(", alpha plane ", material.aplane, texts, out);
        printNamedFile(", bump map ", material.bump, texts, out);
        out.append('\n');
    }
}

// Returns the number of corners outside their object's vertices.
int64_t printObjects(const ModelData& data, QuotedTextWriter& texts, OutputBuffer& out) {
    out.append("objects: ");
    out.appendInt(static_cast<int64_t>(data.objects.size()));
    out.append('\n');
    int64_t index = 0;
    int64_t allOutside = 0;
    for (const ObjectRecord& object : data.objects) {
        out.append("  ");
        out.appendInt(index++);
        out.append(' ');
        texts.write(object.name, out);
        out.append(' ');
        out.appendInt(static_cast<int64_t>(object.vertices.size()));
        out.append(" vertices, ");
        out.appendInt(static_cast<int64_t>(object.faces.size()));
        out.append(" faces");
        const int64_t outside = countCornersOutsideVertices(object);
        if (outside > 0) {
            out.append(", ");
            out.appendInt(outside);
            out.append(" corners outside the vertices");
        }
        out.append('\n');
        allOutside += outside;
    }
    return allOutside;
}

void printNamedFile(const char* label, const RecordText& name, QuotedTextWriter& texts, OutputBuffer& out) {
    if (name.empty()) return;
    out.append(label);
    texts.write(name, out);
}

}  // namespace
