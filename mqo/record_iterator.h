// Walks a packed list of records, handing each out whole, by value and in
// order: the list keeps its own compact form.
#pragma once

#include <cstddef>
#include <iterator>

template <typename List, typename Record>
class RecordIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Record;
    using difference_type = std::ptrdiff_t;

    RecordIterator(const List& list, size_t index) : list_(&list), index_(index) {}
    Record operator*() const { return (*list_)[index_]; }
    RecordIterator& operator++() {
        ++index_;
        return *this;
    }
    bool operator==(const RecordIterator& other) const { return index_ == other.index_; }

private:
    const List* list_;
    size_t index_;
};
