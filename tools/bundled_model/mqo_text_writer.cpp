#include "tools/bundled_model/mqo_text_writer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

void appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendMaterial(std::string& out, const BuiltMaterial& material);
void appendObject(std::string& out, const BuiltObject& object);
void appendTextVertices(std::string& out, const BuiltObject& object);
void appendBinaryVertices(std::string& out, const BuiltObject& object);
void appendFace(std::string& out, const BuiltFace& face);
float withoutNegativeZero(float value);

}  // namespace

std::string writeModelText(const BuiltModel& model) {
    std::string out =
        "Metasequoia Document\r\n"
        "Format Text Ver 1.0\r\n"
        "\r\n"
        "Scene {\r\n"
        "\tpos 0.0000 0.0000 1500.0000\r\n"
        "\tlookat 0.0000 0.0000 0.0000\r\n"
        "\thead -0.5236\r\n"
        "\tpich 0.5236\r\n"
        "\tortho 0\r\n"
        "\tzoom2 5.0000\r\n"
        "\tamb 0.250 0.250 0.250\r\n"
        "}\r\n";
    appendFormat(out, "Material %zu {\r\n", model.materials.size());
    for (const BuiltMaterial& material : model.materials) appendMaterial(out, material);
    out += "}\r\n";
    for (const BuiltObject& object : model.objects) appendObject(out, object);
    out += "Eof\r\n";
    return out;
}

namespace {

void appendFormat(std::string& out, const char* format, ...) {
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    out.append(line, static_cast<size_t>(length));
}

void appendMaterial(std::string& out, const BuiltMaterial& m) {
    appendFormat(out,
                 "\t\"%s\" shader(3) col(%.3f %.3f %.3f %.3f) dif(%.3f) amb(%.3f) emi(%.3f) "
                 "spc(%.3f) power(%.2f)",
                 m.name.c_str(), m.col[0], m.col[1], m.col[2], m.col[3], m.dif, m.amb, m.emi, m.spc, m.power);
    if (!m.tex.empty()) appendFormat(out, " tex(\"%s\")", m.tex.c_str());
    if (!m.aplane.empty()) appendFormat(out, " aplane(\"%s\")", m.aplane.c_str());
    out += "\r\n";
}

void appendObject(std::string& out, const BuiltObject& object) {
    appendFormat(out, "Object \"%s\" {\r\n", object.name.c_str());
    out +=
        "\tdepth 0\r\n"
        "\tfolding 0\r\n"
        "\tscale 1.000000 1.000000 1.000000\r\n"
        "\trotation 0.000000 0.000000 0.000000\r\n"
        "\ttranslation 0.000000 0.000000 0.000000\r\n"
        "\tvisible 15\r\n"
        "\tlocking 0\r\n"
        "\tshading 1\r\n"
        "\tfacet 59.5\r\n"
        "\tcolor 0.898 0.498 0.698\r\n"
        "\tcolor_type 0\r\n";
    if (object.binaryVertices)
        appendBinaryVertices(out, object);
    else
        appendTextVertices(out, object);
    appendFormat(out, "\tface %zu {\r\n", object.faces.size());
    for (const BuiltFace& face : object.faces) appendFace(out, face);
    out += "\t}\r\n}\r\n";
}

void appendTextVertices(std::string& out, const BuiltObject& object) {
    appendFormat(out, "\tvertex %zu {\r\n", object.vertices.size());
    for (const Vec3& v : object.vertices) {
        appendFormat(out, "\t\t%.4f %.4f %.4f\r\n", withoutNegativeZero(v.x), withoutNegativeZero(v.y),
                     withoutNegativeZero(v.z));
    }
    out += "\t}\r\n";
}

// NOTE: the raw floats start right after the line feed of the Vector line
// and are followed directly by the block's closing line.
void appendBinaryVertices(std::string& out, const BuiltObject& object) {
    const size_t count = object.vertices.size();
    appendFormat(out, "\tBVertex %zu {\r\n\t\tVector %zu [%zu]\r\n", count, count, count * 12);
    for (const Vec3& v : object.vertices) {
        for (float coordinate : {v.x, v.y, v.z}) {
            uint32_t bits;
            memcpy(&bits, &coordinate, sizeof bits);
            for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(bits >> shift);
        }
    }
    out += "\t}\r\n";
}

void appendFace(std::string& out, const BuiltFace& face) {
    appendFormat(out, "\t\t%zu V(", face.corners.size());
    for (size_t k = 0; k < face.corners.size(); ++k) appendFormat(out, k == 0 ? "%d" : " %d", face.corners[k].vertex);
    appendFormat(out, ") M(%d) UV(", face.material);
    for (size_t k = 0; k < face.corners.size(); ++k) {
        appendFormat(out, k == 0 ? "%.5f %.5f" : " %.5f %.5f", withoutNegativeZero(face.corners[k].u),
                     withoutNegativeZero(face.corners[k].v));
    }
    out += ")";
    if (face.hasColours) {
        out += " COL(";
        for (size_t k = 0; k < face.corners.size(); ++k)
            appendFormat(out, k == 0 ? "%u" : " %u", face.corners[k].colour);
        out += ")";
    }
    out += "\r\n";
}

// "-0.0000" is a valid number but noise in a file people read.
float withoutNegativeZero(float value) {
    return value + 0.0f;
}

}  // namespace
