// The materials of a model, packed: a material line of two bytes costs about
// a dozen bytes here, where a MaterialRecord with its texts costs far more.
// Materials go in as records and come out as records again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <vector>

#include "mqo/material_record.h"

class MaterialList {
public:
    // Yields each material as a record value, in order.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = MaterialRecord;
        using difference_type = std::ptrdiff_t;

        Iterator(const MaterialList& list, size_t index) : list_(&list), index_(index) {}
        MaterialRecord operator*() const { return (*list_)[index_]; }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return index_ == other.index_; }

    private:
        const MaterialList* list_;
        size_t index_;
    };

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
