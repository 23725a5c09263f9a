// The Material chunk: one material per line, a name followed by attributes
// written as a keyword with its values in parentheses.
#include "mqo/chunk_readers.h"

namespace {

struct FactorAttribute {
    std::string_view keyword;
    float MaterialRecord::*field;
};

struct TripleAttribute {
    std::string_view keyword;
    float (MaterialRecord::*field)[3];
};

struct TextAttribute {
    std::string_view keyword;
    RecordText MaterialRecord::*field;
};

constexpr FactorAttribute factorAttributes[] = {
    {"dif", &MaterialRecord::dif}, {"amb", &MaterialRecord::amb},     {"spc", &MaterialRecord::spc},
    {"emi", &MaterialRecord::emi}, {"power", &MaterialRecord::power},
};

constexpr TripleAttribute tripleAttributes[] = {
    {"proj_pos", &MaterialRecord::projPos},
    {"proj_scale", &MaterialRecord::projScale},
    {"proj_angle", &MaterialRecord::projAngle},
};

constexpr TextAttribute textAttributes[] = {
    {"tex", &MaterialRecord::tex},
    {"aplane", &MaterialRecord::aplane},
    {"bump", &MaterialRecord::bump},
};

struct IntegerAttribute {
    std::string_view keyword;
    int32_t MaterialRecord::*field;
};

struct ColourAttribute {
    std::string_view keyword;
    float (MaterialRecord::*colour)[3];
    bool MaterialRecord::*given;
};

// Attributes only a model reading takes; the classic one skips them as
// unknown.
constexpr IntegerAttribute integerAttributes[] = {
    {"shader", &MaterialRecord::shader},
    {"vcol", &MaterialRecord::vertexColours},
};

constexpr ColourAttribute colourAttributes[] = {
    {"amb_col", &MaterialRecord::ambientColour, &MaterialRecord::hasAmbientColour},
    {"emi_col", &MaterialRecord::emissionColour, &MaterialRecord::hasEmissionColour},
    {"spc_col", &MaterialRecord::specularColour, &MaterialRecord::hasSpecularColour},
};

int readMaterialAttribute(const LineTokenizer& line, MaterialRecord& material, int i, bool modelReading);
int readModelAttribute(const LineTokenizer& line, MaterialRecord& material, int i);
int skipUnknownAttribute(const LineTokenizer& line, int i);
bool holdsValues(const LineTokenizer& line, int i, int next, int valueCount);

}  // namespace

// A material's index is its line's position among all material lines, the
// number faces refer to; the count on the chunk head is not needed.
void readMaterialChunk(ChunkCursor& cursor, ModelData& data) {
    const LineTokenizer& line = cursor.line();
    const bool modelReading = cursor.mode() == ReadingMode::Model;
    for (;;) {
        if (cursor.readChunkLine("the Material chunk") == 0) continue;
        if (line.keywordIs("}", 1)) return;
        MaterialRecord material;
        material.name = line.tokenAt(0);
        for (int i = 1; i < line.tokenCount();) i = readMaterialAttribute(line, material, i, modelReading);
        data.appendMaterial(material);
    }
}

namespace {

// Reads the attribute at token `i` and returns the position of the next one.
// NOTE: a malformed attribute ends the walk (the position jumps to the end of
// the line) yet keeps the material and what was read before it.
int readMaterialAttribute(const LineTokenizer& line, MaterialRecord& material, int i, bool modelReading) {
    const int count = line.tokenCount();
    auto enclosed = [&](int last) {
        return line.tokenIs(i + 1, "(") && line.tokenIs(last, ")");
    };
    if (line.tokenIs(i, "col") && i + 6 < count) {
        if (!enclosed(i + 6)) return count;
        for (int k = 0; k < 4; ++k) material.col[k] = static_cast<float>(line.floatAt(i + 2 + k));
        return i + 7;
    }
    for (const FactorAttribute& attribute : factorAttributes) {
        if (!line.tokenIs(i, attribute.keyword) || i + 3 >= count) continue;
        if (!enclosed(i + 3)) return count;
        material.*attribute.field = static_cast<float>(line.floatAt(i + 2));
        return i + 4;
    }
    // NOTE: the walk goes on past a projection exactly where it went when
    // projections were unknown attributes; only one whose parentheses hold
    // just its numbers is read.
    if (line.tokenIs(i, "proj_type")) {
        const int next = skipUnknownAttribute(line, i);
        if (holdsValues(line, i, next, 1)) material.projType = line.intAt(i + 2);
        return next;
    }
    for (const TripleAttribute& attribute : tripleAttributes) {
        if (!line.tokenIs(i, attribute.keyword)) continue;
        const int next = skipUnknownAttribute(line, i);
        if (holdsValues(line, i, next, 3))
            for (int k = 0; k < 3; ++k) (material.*attribute.field)[k] = static_cast<float>(line.floatAt(i + 2 + k));
        return next;
    }
    for (const TextAttribute& attribute : textAttributes) {
        if (!line.tokenIs(i, attribute.keyword) || i + 3 >= count) continue;
        if (!enclosed(i + 3)) return count;
        material.*attribute.field = line.tokenAt(i + 2);
        return i + 4;
    }
    return modelReading ? readModelAttribute(line, material, i) : skipUnknownAttribute(line, i);
}

// A malformed one is skipped like an unknown attribute, so that the
// attributes after it are still read.
int readModelAttribute(const LineTokenizer& line, MaterialRecord& material, int i) {
    auto enclosed = [&](int last) {
        return line.tokenIs(i + 1, "(") && line.tokenIs(last, ")");
    };
    for (const IntegerAttribute& attribute : integerAttributes) {
        if (!line.tokenIs(i, attribute.keyword) || !enclosed(i + 3)) continue;
        material.*attribute.field = line.intAt(i + 2);
        return i + 4;
    }
    for (const ColourAttribute& attribute : colourAttributes) {
        if (!line.tokenIs(i, attribute.keyword) || !enclosed(i + 5)) continue;
        for (int k = 0; k < 3; ++k) (material.*attribute.colour)[k] = static_cast<float>(line.floatAt(i + 2 + k));
        material.*attribute.given = true;
        return i + 6;
    }
    return skipUnknownAttribute(line, i);
}

// An attribute the viewer does not use, or a known one cut short: skipped up
// to its closing parenthesis, whatever it holds.
int skipUnknownAttribute(const LineTokenizer& line, int i) {
    const int count = line.tokenCount();
    if (!line.tokenIs(i + 1, "(")) return count;
    for (int j = i + 2; j < count; ++j)
        if (line.tokenIs(j, ")")) return j + 1;
    return count;
}

// Whether the attribute at token `i`, skipped up to `next`, is its keyword,
// "(", `valueCount` values and ")".
bool holdsValues(const LineTokenizer& line, int i, int next, int valueCount) {
    return next == i + valueCount + 3 && line.tokenIs(i + 1, "(") && line.tokenIs(next - 1, ")");
}

}  // namespace
