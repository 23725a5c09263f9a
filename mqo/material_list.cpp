#include "mqo/material_list.h"

#include <algorithm>
#include <cstring>

// A packed material is a byte of flags (which texts it has, whether any
// number is not zero, whether it has a model reading's shading, whether it
// has a projection), its nine numbers as they lie in memory when one is not
// zero, its shading when it has one, its projection's type and nine numbers
// when it has one, then each text it has as a length byte and the text's
// bytes.
namespace {

constexpr size_t BLOCK_SIZE = size_t{1} << 16;
constexpr size_t NUMBER_COUNT = 9;
constexpr size_t NUMBER_BYTES = NUMBER_COUNT * sizeof(float);
constexpr uint8_t HAS_NUMBERS = 1 << 4;
constexpr uint8_t HAS_SHADING = 1 << 5;
constexpr uint8_t HAS_PROJECTION = 1 << 6;
constexpr size_t PROJECTION_BYTES = sizeof(int32_t) + 9 * sizeof(float);

// What a model reading adds to a material, packed as it lies in memory.
struct Shading {
    int32_t shader;
    int32_t vertexColours;
    bool given[3];
    float colours[3][3];
};
constexpr size_t SHADING_BYTES = sizeof(Shading);

RecordText MaterialRecord::*const TEXTS[] = {&MaterialRecord::name, &MaterialRecord::tex, &MaterialRecord::aplane,
                                             &MaterialRecord::bump};

void packNumbers(const MaterialRecord& material, char* out);
void unpackNumbers(const char* in, MaterialRecord& material);
bool packShading(const MaterialRecord& material, char* out);
void unpackShading(const char* in, MaterialRecord& material);
bool packProjection(const MaterialRecord& material, char* out);
void unpackProjection(const char* in, MaterialRecord& material);

}  // namespace

MaterialRecord MaterialList::operator[](size_t index) const {
    const uint64_t start = starts_[index];
    const char* in = blocks_[start / BLOCK_SIZE].data() + start % BLOCK_SIZE;
    MaterialRecord material;
    const uint8_t flags = static_cast<uint8_t>(*in++);
    if (flags & HAS_NUMBERS) {
        unpackNumbers(in, material);
        in += NUMBER_BYTES;
    }
    if (flags & HAS_SHADING) {
        unpackShading(in, material);
        in += SHADING_BYTES;
    }
    if (flags & HAS_PROJECTION) {
        unpackProjection(in, material);
        in += PROJECTION_BYTES;
    }
    for (size_t t = 0; t < std::size(TEXTS); ++t) {
        if (!(flags & (1 << t))) continue;
        const size_t length = static_cast<unsigned char>(*in++);
        material.*TEXTS[t] = std::string_view(in, length);
        in += length;
    }
    return material;
}

void MaterialList::push_back(const MaterialRecord& material) {
    char packed[1 + NUMBER_BYTES + SHADING_BYTES + PROJECTION_BYTES + std::size(TEXTS) * (1 + RecordText::MAX_LENGTH)];
    size_t length = 1;
    uint8_t flags = 0;
    packNumbers(material, packed + length);
    if (std::any_of(packed + 1, packed + 1 + NUMBER_BYTES, [](char byte) { return byte != 0; })) {
        flags |= HAS_NUMBERS;
        length += NUMBER_BYTES;
    }
    if (packShading(material, packed + length)) {
        flags |= HAS_SHADING;
        length += SHADING_BYTES;
    }
    if (packProjection(material, packed + length)) {
        flags |= HAS_PROJECTION;
        length += PROJECTION_BYTES;
    }
    for (size_t t = 0; t < std::size(TEXTS); ++t) {
        std::string_view text = (material.*TEXTS[t]).view();
        if (text.empty()) continue;
        flags |= static_cast<uint8_t>(1 << t);
        packed[length++] = static_cast<char>(text.size());
        memcpy(packed + length, text.data(), text.size());
        length += text.size();
    }
    packed[0] = static_cast<char>(flags);
    if (blocks_.empty() || blocks_.back().size() + length > BLOCK_SIZE) {
        blocks_.emplace_back();
        blocks_.back().reserve(BLOCK_SIZE);
    }
    std::vector<char>& block = blocks_.back();
    starts_.push_back((blocks_.size() - 1) * BLOCK_SIZE + block.size());
    block.insert(block.end(), packed, packed + length);
}

namespace {

void packNumbers(const MaterialRecord& material, char* out) {
    const float numbers[NUMBER_COUNT] = {material.col[0], material.col[1], material.col[2],
                                         material.col[3], material.dif,    material.amb,
                                         material.emi,    material.spc,    material.power};
    memcpy(out, numbers, NUMBER_BYTES);
}

void unpackNumbers(const char* in, MaterialRecord& material) {
    float numbers[NUMBER_COUNT];
    memcpy(numbers, in, NUMBER_BYTES);
    std::copy_n(numbers, 4, material.col);
    material.dif = numbers[4];
    material.amb = numbers[5];
    material.emi = numbers[6];
    material.spc = numbers[7];
    material.power = numbers[8];
}

// False, packing nothing, for a material with the defaults: most are.
bool packShading(const MaterialRecord& material, char* out) {
    Shading shading{};
    shading.shader = material.shader;
    shading.vertexColours = material.vertexColours;
    const bool given[3] = {material.hasAmbientColour, material.hasEmissionColour, material.hasSpecularColour};
    const float* colours[3] = {material.ambientColour, material.emissionColour, material.specularColour};
    bool any = shading.shader != 0 || shading.vertexColours != 0;
    for (int c = 0; c < 3; ++c) {
        shading.given[c] = given[c];
        std::copy_n(colours[c], 3, shading.colours[c]);
        any = any || given[c];
    }
    if (any) memcpy(out, &shading, SHADING_BYTES);
    return any;
}

void unpackShading(const char* in, MaterialRecord& material) {
    Shading shading;
    memcpy(&shading, in, SHADING_BYTES);
    material.shader = shading.shader;
    material.vertexColours = shading.vertexColours;
    material.hasAmbientColour = shading.given[0];
    material.hasEmissionColour = shading.given[1];
    material.hasSpecularColour = shading.given[2];
    std::copy_n(shading.colours[0], 3, material.ambientColour);
    std::copy_n(shading.colours[1], 3, material.emissionColour);
    std::copy_n(shading.colours[2], 3, material.specularColour);
}

// False, packing nothing, for a material with the record's own projection:
// most have none.
bool packProjection(const MaterialRecord& material, char* out) {
    const MaterialRecord plain;
    if (material.projType == plain.projType && std::ranges::equal(material.projPos, plain.projPos) &&
        std::ranges::equal(material.projScale, plain.projScale) &&
        std::ranges::equal(material.projAngle, plain.projAngle))
        return false;
    memcpy(out, &material.projType, sizeof(int32_t));
    out += sizeof(int32_t);
    for (const float* triple : {material.projPos, material.projScale, material.projAngle}) {
        memcpy(out, triple, 3 * sizeof(float));
        out += 3 * sizeof(float);
    }
    return true;
}

void unpackProjection(const char* in, MaterialRecord& material) {
    memcpy(&material.projType, in, sizeof(int32_t));
    in += sizeof(int32_t);
    for (float* triple : {material.projPos, material.projScale, material.projAngle}) {
        memcpy(triple, in, 3 * sizeof(float));
        in += 3 * sizeof(float);
    }
}

}  // namespace
