#include "bench/bench_model/bench_files.h"

#include <charconv>

#include "bench/bench_model/bench_geometry.h"

namespace {

constexpr size_t FLUSH_SIZE = size_t{1} << 20;

void putMqoObject(TextSink& out, const BenchShape& shape, int object);
void putMqoFace(TextSink& out, const BenchShape& shape, int object, int ring, const int (&corners)[3][2]);

}  // namespace

TextSink::TextSink(FILE* file) : file_(file) {}

TextSink::~TextSink() {
    finish();
}

void TextSink::put(std::string_view text) {
    bytes_ += text.size();
    if (file_ == nullptr) return;
    buffer_.append(text);
    if (buffer_.size() >= FLUSH_SIZE) finish();
}

void TextSink::putInt(long value) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    put(std::string_view(digits, end - digits));
}

void TextSink::putFixed(float value, int decimals) {
    char digits[64];
    auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals).ptr;
    put(std::string_view(digits, end - digits));
}

bool TextSink::finish() {
    if (file_ != nullptr && !buffer_.empty()) {
        failed_ |= fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size();
        buffer_.clear();
    }
    return !failed_;
}

void writeBenchMqo(TextSink& out, const BenchShape& shape) {
    out.put(
        "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n"
        "Scene {\r\n\tpos 0.0000 0.0000 1500.0000\r\n\tlookat 0.0000 0.0000 0.0000\r\n"
        "\thead -0.5236\r\n\tpich 0.5236\r\n\tamb 0.250 0.250 0.250\r\n}\r\n");
    out.put("Material 4 {\r\n");
    for (int m = 0; m < BENCH_MATERIALS; ++m) {
        out.put("\t\"bench");
        out.putInt(m);
        out.put("\" shader(3) col(");
        for (float c : BENCH_MATERIAL_COLOURS[m]) {
            out.putFixed(c, 3);
            out.put(" ");
        }
        out.put("1.000) dif(");
        out.putFixed(BENCH_DIFFUSE, 3);
        out.put(") amb(");
        out.putFixed(BENCH_AMBIENT, 3);
        out.put(") emi(0.000) spc(0.000) power(");
        out.putFixed(BENCH_POWER, 2);
        out.put(")\r\n");
    }
    out.put("}\r\n");
    for (int object = 0; object < BENCH_OBJECTS; ++object) putMqoObject(out, shape, object);
    out.put("Eof\r\n");
}

void writeBenchObj(TextSink& out, const BenchShape& shape) {
    out.put("# Benchmark model: the geometry of bench.mqo\nmtllib bench.mtl\n");
    long firstVertex = 1;
    for (int object = 0; object < BENCH_OBJECTS; ++object) {
        out.put("o ring");
        out.putInt(object);
        out.put("\n");
        for (int ring = 0; ring <= shape.rings; ++ring) {
            for (int segment = 0; segment <= shape.segments; ++segment) {
                const BenchVertex v = benchVertex(shape, object, ring, segment);
                out.put("v ");
                out.putFixed(v.x, 4);
                out.put(" ");
                out.putFixed(v.y, 4);
                out.put(" ");
                out.putFixed(v.z, 4);
                out.put("\nvt ");
                out.putFixed(benchU(shape, segment), 4);
                out.put(" ");
                out.putFixed(benchV(shape, ring), 4);
                out.put("\n");
            }
        }
        for (int ring = 0; ring < shape.rings; ++ring) {
            if (ring == 0 || benchMaterial(shape, object, ring) != benchMaterial(shape, object, ring - 1)) {
                out.put("usemtl bench");
                out.putInt(benchMaterial(shape, object, ring));
                out.put("\n");
            }
            for (int segment = 0; segment < shape.segments; ++segment) {
                forEachBenchTriangle(ring, segment, [&](const int(&corners)[3][2]) {
                    out.put("f");
                    for (const auto& corner : corners) {
                        const long index = firstVertex + benchVertexIndex(shape, corner[0], corner[1]);
                        out.put(" ");
                        out.putInt(index);
                        out.put("/");
                        out.putInt(index);
                    }
                    out.put("\n");
                });
            }
        }
        firstVertex += shape.verticesPerObject();
    }
}

void writeBenchMtl(TextSink& out) {
    for (int m = 0; m < BENCH_MATERIALS; ++m) {
        out.put("newmtl bench");
        out.putInt(m);
        out.put("\nKd");
        for (float c : BENCH_MATERIAL_COLOURS[m]) {
            out.put(" ");
            out.putFixed(c, 3);
        }
        out.put("\n\n");
    }
}

namespace {

void putMqoObject(TextSink& out, const BenchShape& shape, int object) {
    out.put("Object \"ring");
    out.putInt(object);
    out.put(
        "\" {\r\n\tdepth 0\r\n\tfolding 0\r\n\tscale 1.000000 1.000000 1.000000\r\n"
        "\trotation 0.000000 0.000000 0.000000\r\n\ttranslation 0.000000 0.000000 0.000000\r\n"
        "\tvisible 15\r\n\tlocking 0\r\n\tshading 1\r\n\tfacet 59.5\r\n\tcolor 0.898 0.498 0.698\r\n"
        "\tcolor_type 0\r\n\tvertex ");
    out.putInt(shape.verticesPerObject());
    out.put(" {\r\n");
    for (int ring = 0; ring <= shape.rings; ++ring) {
        for (int segment = 0; segment <= shape.segments; ++segment) {
            const BenchVertex v = benchVertex(shape, object, ring, segment);
            out.put("\t\t");
            out.putFixed(v.x, 4);
            out.put(" ");
            out.putFixed(v.y, 4);
            out.put(" ");
            out.putFixed(v.z, 4);
            out.put("\r\n");
        }
    }
    out.put("\t}\r\n\tface ");
    out.putInt(shape.trianglesPerObject());
    out.put(" {\r\n");
    for (int ring = 0; ring < shape.rings; ++ring)
        for (int segment = 0; segment < shape.segments; ++segment)
            forEachBenchTriangle(ring, segment,
                                 [&](const int(&corners)[3][2]) { putMqoFace(out, shape, object, ring, corners); });
    out.put("\t}\r\n}\r\n");
}

void putMqoFace(TextSink& out, const BenchShape& shape, int object, int ring, const int (&corners)[3][2]) {
    out.put("\t\t3 V(");
    for (int k = 0; k < 3; ++k) {
        if (k > 0) out.put(" ");
        out.putInt(benchVertexIndex(shape, corners[k][0], corners[k][1]));
    }
    out.put(") M(");
    out.putInt(benchMaterial(shape, object, ring));
    out.put(") UV(");
    for (int k = 0; k < 3; ++k) {
        if (k > 0) out.put(" ");
        out.putFixed(benchU(shape, corners[k][1]), 4);
        out.put(" ");
        out.putFixed(benchV(shape, corners[k][0]), 4);
    }
    out.put(")\r\n");
}

}  // namespace
