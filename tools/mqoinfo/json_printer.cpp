#include "tools/mqoinfo/json_printer.h"

#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "tools/mqoinfo/quoted_text.h"

namespace {

class JsonPrinter {
public:
    explicit JsonPrinter(OutputBuffer& out) : out(out) {}

    void printDocument(const ModelData& data, int32_t result);

private:
    void printScene(const SceneRecord& scene);
    void printMaterial(const MaterialRecord& material);
    void printObject(const ObjectRecord& object);
    void printFace(const FaceRecord& face);
    void printFloat(float value);
    void printFloats(std::span<const float> values);
    void printPoint(const Point3& point);
    template <typename Integer>
    void printIntegers(std::span<const Integer> values);
    template <typename List, typename PrintOne>
    void printList(const List& records, PrintOne printOne);

    OutputBuffer& out;
    QuotedTextWriter texts;
};

}  // namespace

void printDocumentJson(const ModelData& data, int32_t result, OutputBuffer& out) {
    JsonPrinter(out).printDocument(data, result);
}

namespace {

void JsonPrinter::printDocument(const ModelData& data, int32_t result) {
    out.append("{\"result\": ");
    out.appendInt(result);
    out.append(", \"scene\": ");
    printScene(data.scene);
    out.append(", \"materials\": ");
    printList(data.materials, [this](const MaterialRecord& m) { printMaterial(m); });
    out.append(", \"objects\": ");
    printList(data.objects, [this](const ObjectRecord& o) { printObject(o); });
    out.append("}\n");
}

void JsonPrinter::printScene(const SceneRecord& scene) {
    out.append("{\"pos\":");
    printPoint(scene.pos);
    out.append(", \"angles\":");
    printFloats(scene.angles);
    out.append(", \"lookat\":");
    printPoint(scene.lookat);
    out.append(", \"amb\":");
    printFloats(scene.amb);
    out.append('}');
}

void JsonPrinter::printMaterial(const MaterialRecord& material) {
    out.append("{\"name\": ");
    texts.write(material.name, out);
    out.append(", \"col\":");
    printFloats(material.col);
    const std::pair<const char*, float> factors[] = {
        {", \"dif\":", material.dif}, {", \"amb\":", material.amb},
        {", \"emi\":", material.emi}, {", \"spc\":", material.spc},
        {", \"power\":", material.power}};
    for (const auto& [key, value] : factors) {
        out.append(key);
        printFloat(value);
    }
    out.append(", \"tex\": ");
    texts.write(material.tex, out);
    out.append(", \"aplane\": ");
    texts.write(material.aplane, out);
    out.append(", \"bump\": ");
    texts.write(material.bump, out);
    out.append('}');
}

void JsonPrinter::printObject(const ObjectRecord& object) {
    out.append("{\"name\": ");
    texts.write(object.name, out);
    out.append(", \"scale\":");
    printPoint(object.scale);
    out.append(", \"rotation\":");
    printPoint(object.rotation);
    out.append(", \"translation\":");
    printPoint(object.translation);
    out.append(", \"vertices\": ");
    printList(object.vertices, [this](const VertexRecord& v) {
        const float values[] = {v.x, v.y, v.z, v.weight};
        printFloats(values);
    });
    out.append(", \"faces\": ");
    printList(object.faces, [this](const FaceRecord& f) { printFace(f); });
    out.append('}');
}

void JsonPrinter::printFace(const FaceRecord& face) {
    out.append("{\"n\": ");
    out.appendInt(face.vertexCount);
    out.append(", \"m\": ");
    out.appendInt(face.materialIndex);
    out.append(", \"v\":");
    printIntegers<int32_t>(face.vertexIndex);
    out.append(", \"uv\":[");
    for (int corner = 0; corner < 4; ++corner) {
        if (corner > 0) out.append(',');
        printFloats(face.uv[corner]);
    }
    out.append("], \"col\":");
    printIntegers<uint32_t>(face.color);
    out.append('}');
}

// Nine significant digits read back to the same 32-bit float. JSON has no
// numbers for infinities and NaN (binary vertex blocks can hold them), so
// those become strings.
void JsonPrinter::printFloat(float value) {
    if (std::isnan(value)) {
        out.append("\"nan\"");
    } else if (std::isinf(value)) {
        out.append(value > 0 ? "\"inf\"" : "\"-inf\"");
    } else {
        out.appendFloat(value, 9);
    }
}

void JsonPrinter::printFloats(std::span<const float> values) {
    out.append('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out.append(',');
        printFloat(values[i]);
    }
    out.append(']');
}

void JsonPrinter::printPoint(const Point3& point) {
    const float values[] = {point.x, point.y, point.z};
    printFloats(values);
}

template <typename Integer>
void JsonPrinter::printIntegers(std::span<const Integer> values) {
    out.append('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out.append(',');
        out.appendInt(values[i]);
    }
    out.append(']');
}

template <typename List, typename PrintOne>
void JsonPrinter::printList(const List& records, PrintOne printOne) {
    out.append('[');
    for (size_t i = 0; i < records.size(); ++i) {
        if (i > 0) out.append(", ");
        printOne(records[i]);
    }
    out.append(']');
}

}  // namespace
