#include "mqo/material_list.h"

#include <algorithm>
#include <cstring>

// A packed material is a byte of flags (which texts it has, whether any
// number is not zero, whether it has a projection), its nine numbers as they
// lie in memory when one is not zero, its projection's type and nine numbers
// when it has one, then each text it has as a length byte and the text's
// bytes.
namespace {

constexpr size_t BLOCK_SIZE = size_t{1} << 16;
constexpr size_t NUMBER_COUNT = 9;
constexpr size_t NUMBER_BYTES = NUMBER_COUNT * sizeof(float);
constexpr uint8_t HAS_NUMBERS = 1 << 4;
constexpr uint8_t HAS_PROJECTION = 1 << 5;
constexpr size_t PROJECTION_BYTES = sizeof(int32_t) + 9 * sizeof(float);

RecordText MaterialRecord::*const TEXTS[] = {&MaterialRecord::name, &MaterialRecord::tex, &MaterialRecord::aplane,
                                             &MaterialRecord::bump};

void packNumbers(const MaterialRecord& material, char* out);
void unpackNumbers(const char* in, MaterialRecord& material);
bool projectionIsSet(const MaterialRecord& material);
void packProjection(const MaterialRecord& material, char* out);
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
    char packed[1 + NUMBER_BYTES + PROJECTION_BYTES + std::size(TEXTS) * (1 + RecordText::MAX_LENGTH)];
    size_t length = 1;
    uint8_t flags = 0;
    packNumbers(material, packed + length);
    if (std::any_of(packed + 1, packed + 1 + NUMBER_BYTES, [](char byte) { return byte != 0; })) {
        flags |= HAS_NUMBERS;
        length += NUMBER_BYTES;
    }
    if (projectionIsSet(material)) {
        flags |= HAS_PROJECTION;
        packProjection(material, packed + length);
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

// Anything but the record's own values: a material without a projection
// costs nothing more.
bool projectionIsSet(const MaterialRecord& material) {
    const MaterialRecord plain;
    return material.projType != plain.projType || !std::ranges::equal(material.projPos, plain.projPos) ||
           !std::ranges::equal(material.projScale, plain.projScale) ||
           !std::ranges::equal(material.projAngle, plain.projAngle);
}

void packProjection(const MaterialRecord& material, char* out) {
    memcpy(out, &material.projType, sizeof(int32_t));
    out += sizeof(int32_t);
    for (const float* triple : {material.projPos, material.projScale, material.projAngle}) {
        memcpy(out, triple, 3 * sizeof(float));
        out += 3 * sizeof(float);
    }
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
