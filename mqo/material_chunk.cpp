// The Material chunk: one material per line, a name followed by attributes
// written as a keyword with its values in parentheses.
#include <utility>

#include "mqo/model_document.h"

namespace {

struct FactorAttribute {
    std::string_view keyword;
    float MaterialRecord::*field;
};

struct TextAttribute {
    std::string_view keyword;
    char (MaterialRecord::*field)[RECORD_TEXT_SIZE];
};

constexpr FactorAttribute factorAttributes[] = {
    {"dif", &MaterialRecord::dif}, {"amb", &MaterialRecord::amb},     {"spc", &MaterialRecord::spc},
    {"emi", &MaterialRecord::emi}, {"power", &MaterialRecord::power},
};

constexpr TextAttribute textAttributes[] = {
    {"tex", &MaterialRecord::tex},
    {"aplane", &MaterialRecord::aplane},
    {"bump", &MaterialRecord::bump},
};

}  // namespace

// A material's index is its line's position among all material lines, the
// number faces refer to; the count on the chunk head is not needed.
void ModelDocument::readMaterialChunk() {
    for (;;) {
        if (readChunkLine() == 0) continue;
        if (reader_.keywordIs("}", 1)) return;
        MaterialRecord material;
        copyRecordText(material.name, reader_.tokenAt(0));
        for (int i = 1; i < reader_.tokenCount();) i = readMaterialAttribute(material, i);
        addMaterial(std::move(material));
    }
}

// Reads the attribute at token `i` and returns the position of the next one.
// NOTE: a malformed attribute ends the walk (the position jumps to the end of
// the line) yet keeps the material and what was read before it.
int ModelDocument::readMaterialAttribute(MaterialRecord& material, int i) {
    const int count = reader_.tokenCount();
    auto enclosed = [&](int last) {
        return reader_.tokenIs(i + 1, "(") && reader_.tokenIs(last, ")");
    };
    if (reader_.tokenIs(i, "col") && i + 6 < count) {
        if (!enclosed(i + 6)) return count;
        for (int k = 0; k < 4; ++k) material.col[k] = static_cast<float>(reader_.floatAt(i + 2 + k));
        return i + 7;
    }
    for (const FactorAttribute& attribute : factorAttributes) {
        if (!reader_.tokenIs(i, attribute.keyword) || i + 3 >= count) continue;
        if (!enclosed(i + 3)) return count;
        material.*attribute.field = static_cast<float>(reader_.floatAt(i + 2));
        return i + 4;
    }
    for (const TextAttribute& attribute : textAttributes) {
        if (!reader_.tokenIs(i, attribute.keyword) || i + 3 >= count) continue;
        if (!enclosed(i + 3)) return count;
        copyRecordText(material.*attribute.field, reader_.tokenAt(i + 2));
        return i + 4;
    }
    return skipUnknownAttribute(i);
}

// An attribute the viewer does not use, or a known one cut short: skipped up
// to its closing parenthesis, whatever it holds.
int ModelDocument::skipUnknownAttribute(int i) const {
    const int count = reader_.tokenCount();
    if (!reader_.tokenIs(i + 1, "(")) return count;
    for (int j = i + 2; j < count; ++j)
        if (reader_.tokenIs(j, ")")) return j + 1;
    return count;
}
