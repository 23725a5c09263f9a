#include "tools/mqoinfo/summary_printer.h"

#include "model/curved_surface.h"
#include "model/lathe_surface.h"
#include "model/projected_uvs.h"
#include "model/shown_objects.h"
#include "model/texture_files.h"
#include "mqo/model_document.h"
#include "tools/mqoinfo/quoted_text.h"

namespace {

class SummaryPrinter {
public:
    // Without an outcome of the model reading the summary is the classic one.
    SummaryPrinter(OutputBuffer& out, CodePage page, const ModelReadOutcome* outcome)
        : out_(out), texts_(page), outcome_(outcome), page_(page) {}

    void printResult(int32_t result, int64_t lineNumber, const char* failureText);
    void printMaterials(const ModelData& data);
    // Returns the number of corners outside their object's vertices. With
    // a plan, says what the shaped objects become.
    int64_t printObjects(const ModelData& data, const ShapePlan* plan = nullptr);
    void printWarnings(int64_t outside);

private:
    void printNamedFile(const char* label, const RecordText& name);
    void printFileFound(const char* label, const RecordText& name);
    void printProjection(const MaterialRecord& material);
    void printShape(const ObjectRecord& object, const ShownShape& shape);

    OutputBuffer& out_;
    QuotedTextWriter texts_;
    // File names on the disk, shown as UTF-8 whatever bytes they hold.
    QuotedTextWriter utf8Texts_{CodePage::Utf8};
    const ModelReadOutcome* outcome_;
    CodePage page_;
};

}  // namespace

int64_t countCornersOutsideVertices(const ObjectRecord& object) {
    const int64_t vertexCount = static_cast<int64_t>(object.vertices.size());
    int64_t outside = 0;
    for (size_t f = 0; f < object.faces.size(); ++f)
        for (const int32_t index : object.faces.corners(f).vertices)
            if (index < 0 || index >= vertexCount) ++outside;
    return outside;
}

void printSummary(const ModelData& data, int32_t result, int64_t lineNumber, OutputBuffer& out) {
    SummaryPrinter printer(out, CodePage::ShiftJis, nullptr);
    printer.printResult(result, lineNumber, nullptr);
    printer.printMaterials(data);
    printer.printWarnings(printer.printObjects(data));
}

void printModelSummary(const ModelData& data, const ModelReadOutcome& outcome, OutputBuffer& out) {
    SummaryPrinter printer(out, data.codePage, &outcome);
    out.append("code page: ");
    out.append(codePageLabel(data.codePage));
    out.append('\n');
    printer.printResult(outcome.result, outcome.lineNumber, outcome.failureText);
    printer.printMaterials(data);
    const ShapePlan plan = planModelShapes(data);
    printer.printWarnings(printer.printObjects(data, &plan));
}

namespace {

void SummaryPrinter::printResult(int32_t result, int64_t lineNumber, const char* failureText) {
    out_.append("result: ");
    out_.appendInt(result);
    if (result != ParseOk) {
        if (const char* message = parseFailureMessage(result)) {
            out_.append(' ');
            out_.append(message);
        }
        out_.append(", reading stopped at line ");
        out_.appendInt(lineNumber);
        if (failureText != nullptr) {
            out_.append(": ");
            out_.append(failureText);
        }
    }
    out_.append('\n');
}

void SummaryPrinter::printMaterials(const ModelData& data) {
    out_.append("materials: ");
    out_.appendInt(static_cast<int64_t>(data.materials.size()));
    out_.append('\n');
    int64_t index = 0;
    for (const MaterialRecord& material : data.materials) {
        out_.append("  ");
        out_.appendInt(index++);
        out_.append(' ');
        texts_.write(material.name, out_);
        out_.append(" colour");
        for (float component : material.col) {
            out_.append(' ');
            out_.appendFloat(component, 6);
        }
        printNamedFile(", texture ", material.tex);
        printNamedFile(", alpha plane ", material.aplane);
        printNamedFile(", bump map ", material.bump);
        if (outcome_ != nullptr) printProjection(material);
        out_.append('\n');
        printFileFound("    texture ", material.tex);
        printFileFound("    alpha plane ", material.aplane);
    }
}

int64_t SummaryPrinter::printObjects(const ModelData& data, const ShapePlan* plan) {
    out_.append("objects: ");
    out_.appendInt(static_cast<int64_t>(data.objects.size()));
    out_.append('\n');
    int64_t index = 0;
    int64_t allOutside = 0;
    for (const ObjectRecord& object : data.objects) {
        out_.append("  ");
        out_.appendInt(index);
        out_.append(' ');
        texts_.write(object.name, out_);
        out_.append(' ');
        out_.appendInt(static_cast<int64_t>(object.vertices.size()));
        out_.append(" vertices, ");
        out_.appendInt(static_cast<int64_t>(object.faces.size()));
        out_.append(" faces");
        const int64_t outside = countCornersOutsideVertices(object);
        if (outside > 0) {
            out_.append(", ");
            out_.appendInt(outside);
            out_.append(" corners outside the vertices");
        }
        if (plan != nullptr && static_cast<size_t>(index) < plan->objects.size())
            printShape(object, plan->objects[index]);
        ++index;
        out_.append('\n');
        allOutside += outside;
    }
    return allOutside;
}

void SummaryPrinter::printWarnings(int64_t outside) {
    out_.append("warnings: ");
    out_.appendInt(outside);
    out_.append(" face corners outside their object's vertices\n");
}

void SummaryPrinter::printNamedFile(const char* label, const RecordText& name) {
    if (name.empty()) return;
    out_.append(label);
    texts_.write(name, out_);
}

// The projection that gives the material's faces their texture coordinates.
void SummaryPrinter::printProjection(const MaterialRecord& material) {
    if (material.projType == 0) return;
    const char* name = projectionName(material.projType);
    out_.append(", ");
    out_.append(name != nullptr ? name : "unknown");
    out_.append(" projection");
    if (!hasProjection(material)) {
        out_.append(" (not used)");
        return;
    }
    const std::pair<const char*, const float*> parts[] = {
        {" from", material.projPos}, {", size", material.projScale}, {", turned", material.projAngle}};
    for (const auto& [label, values] : parts) {
        out_.append(label);
        for (int k = 0; k < 3; ++k) {
            out_.append(' ');
            out_.appendFloat(values[k], 6);
        }
    }
}

// A lathe in how many steps, a curved surface refined how many times, and
// the triangles drawn.
void SummaryPrinter::printShape(const ObjectRecord& object, const ShownShape& shape) {
    const bool lathe = object.lathe != 0, curved = curvedLevel(object) > 0;
    if (!lathe && !curved) return;
    if (object.visible == 0) {
        out_.append(lathe ? ", lathe" : ", curved surface");
        out_.append(", hidden");
        return;
    }
    if (lathe) {
        out_.append(", lathe");
        if (shape.latheSteps > 0) {
            out_.append(" of ");
            out_.appendInt(shape.latheSteps);
            out_.append(" steps about ");
            out_.append("xyz"[latheAxisOf(object)]);
        } else {
            out_.append(" left as its profile");
        }
    }
    if (curved) {
        out_.append(shape.level > 0 ? ", curved surface refined " : ", curved surface shown as its control cage");
        if (shape.level == 1) out_.append("once");
        if (shape.level > 1) {
            out_.appendInt(shape.level);
            out_.append(" times");
        }
        if (shape.level < shape.askedLevel) {
            out_.append(" of ");
            out_.appendInt(shape.askedLevel);
            out_.append(" asked");
        }
    }
    out_.append(": ");
    out_.appendInt(shape.triangles);
    out_.append(" triangles");
}

// Where the viewer in model mode finds the file `name`, or where it looked.
// For a model from an archive each file found is said to be in the archive
// or on disk.
void SummaryPrinter::printFileFound(const char* label, const RecordText& name) {
    if (outcome_ == nullptr || name.empty()) return;
    const TextureFileSearch search =
        findTextureFile(outcome_->folder, name.view(), iconvName(page_), outcome_->archive);
    out_.append(label);
    texts_.write(name, out_);
    if (search.entry != nullptr) {
        out_.append(" is ");
        utf8Texts_.write(search.entry->shownName, out_);
        out_.append(" in the archive");
    } else if (!search.found.empty()) {
        out_.append(" is ");
        utf8Texts_.write(search.found.native(), out_);
        if (outcome_->archive != nullptr) out_.append(" on disk");
    } else {
        out_.append(" not found; looked in");
        for (size_t i = 0; i < search.folders.size(); ++i) {
            out_.append(i == 0 ? " " : ", ");
            utf8Texts_.write(search.folders[i].native(), out_);
        }
    }
    out_.append('\n');
}

}  // namespace
