// The materials of a model, packed: a material line of two bytes costs about
// a dozen bytes here, where a MaterialRecord with its texts costs far more.
// Materials go in as records and come out as records again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "mqo/material_record.h"
#include "mqo/record_iterator.h"

class MaterialList {
public:
    using Iterator = RecordIterator<MaterialList, MaterialRecord>;

    size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    // The material at `index`, below size(), without images: the list keeps
    // what the file says, never what was loaded for it.
    MaterialRecord operator[](size_t index) const;
    void push_back(const MaterialRecord& material);
    Iterator begin() const { return {*this, 0}; }
    Iterator end() const { return {*this, size()}; }

private:
    // Where each material's bytes start: block * BLOCK_SIZE + offset.
    std::deque<uint64_t> starts_;
    // Packed materials; none spans two blocks.
    std::vector<std::vector<char>> blocks_;
};
