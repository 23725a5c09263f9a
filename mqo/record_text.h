// A name or file name kept in a model's records: at most 255 bytes of text,
// held on the heap only when it is not empty, so that a record without a
// name costs one pointer for it.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

class RecordText {
public:
    // Longer texts keep their first 255 bytes.
    static constexpr size_t MAX_LENGTH = 255;

    RecordText() = default;
    // Keeps `text` up to its first NUL, cut to MAX_LENGTH bytes.
    explicit RecordText(std::string_view text) { assign(text); }
    RecordText(const RecordText& other) : RecordText(other.view()) {}
    RecordText(RecordText&&) noexcept = default;
    RecordText& operator=(const RecordText& other) { return *this = other.view(); }
    RecordText& operator=(RecordText&&) noexcept = default;
    RecordText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    // The text with its terminating NUL; "" when empty.
    const char* c_str() const { return text_ ? text_.get() : ""; }
    std::string_view view() const { return text_ ? std::string_view(text_.get()) : std::string_view(); }
    bool empty() const { return text_ == nullptr; }

private:
    void assign(std::string_view text);

    std::unique_ptr<char[]> text_;
};
