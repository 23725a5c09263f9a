#include "tools/mqoinfo/json_printer.h"

#include <cmath>
#include <span>
#include <utility>
#include <vector>

#include "model/shown_objects.h"
#include "model/texture_files.h"
#include "mqo/parse_result.h"
#include "tools/mqoinfo/quoted_text.h"

namespace {

class JsonPrinter {
public:
    // Without an outcome of the model reading the form is the classic one.
    JsonPrinter(OutputBuffer& out, CodePage page, const ModelReadOutcome* outcome)
        : out_(out), texts_(page), page_(page), outcome_(outcome) {}

    void printDocument(const ModelData& data, int32_t result);

private:
    void printScene(const SceneRecord& scene);
    void printMaterial(const MaterialRecord& material);
    void printFileFound(const char* key, const RecordText& name);
    void printObject(const ObjectRecord& object, const ShownShape* shape);
    void printShape(const ObjectRecord& object, const ShownShape* shape);
    void printFace(const FaceRecord& face);
    void printCorners(const FaceCorners& face);
    void printFloat(float value);
    void printFloats(std::span<const float> values);
    void printPoint(const Point3& point);
    template <typename Integer>
    void printIntegers(std::span<const Integer> values);
    template <typename List, typename PrintOne>
    void printList(const List& records, PrintOne printOne);

    OutputBuffer& out_;
    QuotedTextWriter texts_;
    // File names on the disk and failure texts, already UTF-8.
    QuotedTextWriter utf8Texts_{CodePage::Utf8};
    CodePage page_;
    const ModelReadOutcome* outcome_;
};

}  // namespace

void printDocumentJson(const ModelData& data, int32_t result, OutputBuffer& out) {
    JsonPrinter(out, CodePage::ShiftJis, nullptr).printDocument(data, result);
}

void printModelDocumentJson(const ModelData& data, const ModelReadOutcome& outcome, OutputBuffer& out) {
    JsonPrinter(out, data.codePage, &outcome).printDocument(data, outcome.result);
}

namespace {

void JsonPrinter::printDocument(const ModelData& data, int32_t result) {
    out_.append("{\"result\": ");
    out_.appendInt(result);
    if (outcome_ != nullptr) {
        out_.append(", \"codePage\": \"");
        out_.append(codePageLabel(page_));
        out_.append("\", \"stoppedAt\": ");
        if (result == ParseOk) {
            out_.append("null");
        } else {
            out_.append("{\"line\": ");
            out_.appendInt(outcome_->lineNumber);
            out_.append(", \"expected\": ");
            utf8Texts_.write(outcome_->failureText, out_);
            out_.append('}');
        }
    }
    out_.append(", \"scene\": ");
    printScene(data.scene);
    out_.append(", \"materials\": ");
    printList(data.materials, [this](const MaterialRecord& m) { printMaterial(m); });
    out_.append(", \"objects\": ");
    const ShapePlan plan = outcome_ != nullptr ? planModelShapes(data) : ShapePlan{};
    size_t index = 0;
    printList(data.objects, [&](const ObjectRecord& o) {
        printObject(o, index < plan.objects.size() ? &plan.objects[index] : nullptr);
        ++index;
    });
    out_.append("}\n");
}

void JsonPrinter::printScene(const SceneRecord& scene) {
    out_.append("{\"pos\":");
    printPoint(scene.pos);
    out_.append(", \"angles\":");
    printFloats(scene.angles);
    out_.append(", \"lookat\":");
    printPoint(scene.lookat);
    out_.append(", \"amb\":");
    printFloats(scene.amb);
    out_.append('}');
}

void JsonPrinter::printMaterial(const MaterialRecord& material) {
    out_.append("{\"name\": ");
    texts_.write(material.name, out_);
    out_.append(", \"col\":");
    printFloats(material.col);
    const std::pair<const char*, float> factors[] = {{", \"dif\":", material.dif},
                                                     {", \"amb\":", material.amb},
                                                     {", \"emi\":", material.emi},
                                                     {", \"spc\":", material.spc},
                                                     {", \"power\":", material.power}};
    for (const auto& [key, value] : factors) {
        out_.append(key);
        printFloat(value);
    }
    out_.append(", \"tex\": ");
    texts_.write(material.tex, out_);
    out_.append(", \"aplane\": ");
    texts_.write(material.aplane, out_);
    out_.append(", \"bump\": ");
    texts_.write(material.bump, out_);
    if (outcome_ != nullptr) {
        printFileFound("texFile", material.tex);
        printFileFound("aplaneFile", material.aplane);
        out_.append(", \"proj_type\": ");
        out_.appendInt(material.projType);
        out_.append(", \"proj_pos\":");
        printFloats(material.projPos);
        out_.append(", \"proj_scale\":");
        printFloats(material.projScale);
        out_.append(", \"proj_angle\":");
        printFloats(material.projAngle);
    }
    out_.append('}');
}

// The file's path on disk, or its name in the archive; a model from an
// archive also tells which of the two, as "archive", "disk" or null.
void JsonPrinter::printFileFound(const char* key, const RecordText& name) {
    out_.append(", \"");
    out_.append(key);
    out_.append("\": ");
    const TextureFileSearch search =
        name.empty() ? TextureFileSearch{}
                     : findTextureFile(outcome_->folder, name.view(), iconvName(page_), outcome_->archive);
    if (search.entry != nullptr)
        utf8Texts_.write(search.entry->shownName, out_);
    else if (!search.found.empty())
        utf8Texts_.write(search.found.native(), out_);
    else
        out_.append("null");
    if (outcome_->archive == nullptr) return;
    out_.append(", \"");
    out_.append(key);
    out_.append("In\": ");
    out_.append(search.entry != nullptr ? "\"archive\"" : search.found.empty() ? "null" : "\"disk\"");
}

void JsonPrinter::printObject(const ObjectRecord& object, const ShownShape* shape) {
    out_.append("{\"name\": ");
    texts_.write(object.name, out_);
    out_.append(", \"scale\":");
    printPoint(object.scale);
    out_.append(", \"rotation\":");
    printPoint(object.rotation);
    out_.append(", \"translation\":");
    printPoint(object.translation);
    if (outcome_ != nullptr) printShape(object, shape);
    out_.append(", \"vertices\": ");
    printList(object.vertices, [this](const VertexRecord& v) {
        const float values[] = {v.x, v.y, v.z, v.weight};
        printFloats(values);
    });
    out_.append(", \"faces\": ");
    if (outcome_ == nullptr) {
        printList(object.faces, [this](const FaceRecord& f) { printFace(f); });
    } else {
        out_.append('[');
        for (size_t f = 0; f < object.faces.size(); ++f) {
            if (f > 0) out_.append(", ");
            printCorners(object.faces.corners(f));
        }
        out_.append(']');
    }
    out_.append('}');
}

// The object's curved surface and lathe keys as read, and what the viewer
// makes of them: null for an object it draws as modelled or not at all.
void JsonPrinter::printShape(const ObjectRecord& object, const ShownShape* shape) {
    const std::pair<const char*, int32_t> keys[] = {{", \"patch\": ", object.patch},
                                                    {", \"segment\": ", object.segment},
                                                    {", \"lathe\": ", object.lathe},
                                                    {", \"lathe_axis\": ", object.latheAxis},
                                                    {", \"lathe_seg\": ", object.latheSeg}};
    for (const auto& [key, value] : keys) {
        out_.append(key);
        out_.appendInt(value);
    }
    out_.append(", \"shownAs\": ");
    if (shape == nullptr || !shape->shaped()) {
        out_.append("null");
        return;
    }
    out_.append("{\"latheSteps\": ");
    out_.appendInt(shape->latheSteps);
    out_.append(", \"level\": ");
    out_.appendInt(shape->level);
    out_.append(", \"triangles\": ");
    out_.appendInt(shape->triangles);
    out_.append('}');
}

void JsonPrinter::printFace(const FaceRecord& face) {
    out_.append("{\"n\": ");
    out_.appendInt(face.vertexCount);
    out_.append(", \"m\": ");
    out_.appendInt(face.materialIndex);
    out_.append(", \"v\":");
    printIntegers<int32_t>(face.vertexIndex);
    out_.append(", \"uv\":[");
    for (int corner = 0; corner < 4; ++corner) {
        if (corner > 0) out_.append(',');
        printFloats(face.uv[corner]);
    }
    out_.append("], \"col\":");
    printIntegers<uint32_t>(face.color);
    out_.append('}');
}

// Every corner, without the classic record's empty slots.
void JsonPrinter::printCorners(const FaceCorners& face) {
    out_.append("{\"n\": ");
    out_.appendInt(static_cast<int64_t>(face.size()));
    out_.append(", \"m\": ");
    out_.appendInt(face.materialIndex);
    out_.append(", \"v\":");
    printIntegers(face.vertices);
    out_.append(", \"uv\":[");
    for (size_t corner = 0; corner < face.size(); ++corner) {
        if (corner > 0) out_.append(',');
        const float uv[] = {face.uv(corner).u, face.uv(corner).v};
        printFloats(uv);
    }
    out_.append("], \"col\":[");
    for (size_t corner = 0; corner < face.size(); ++corner) {
        if (corner > 0) out_.append(',');
        out_.appendInt(face.colour(corner));
    }
    out_.append("]}");
}

// Nine significant digits read back to the same 32-bit float. JSON has no
// numbers for infinities and NaN (binary vertex blocks can hold them), so
// those become strings.
void JsonPrinter::printFloat(float value) {
    if (std::isnan(value))
        out_.append("\"nan\"");
    else if (std::isinf(value))
        out_.append(value > 0 ? "\"inf\"" : "\"-inf\"");
    else
        out_.appendFloat(value, 9);
}

void JsonPrinter::printFloats(std::span<const float> values) {
    out_.append('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out_.append(',');
        printFloat(values[i]);
    }
    out_.append(']');
}

void JsonPrinter::printPoint(const Point3& point) {
    const float values[] = {point.x, point.y, point.z};
    printFloats(values);
}

template <typename Integer>
void JsonPrinter::printIntegers(std::span<const Integer> values) {
    out_.append('[');
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out_.append(',');
        out_.appendInt(values[i]);
    }
    out_.append(']');
}

template <typename List, typename PrintOne>
void JsonPrinter::printList(const List& records, PrintOne printOne) {
    out_.append('[');
    for (size_t i = 0; i < records.size(); ++i) {
        if (i > 0) out_.append(", ");
        printOne(records[i]);
    }
    out_.append(']');
}

}  // namespace
