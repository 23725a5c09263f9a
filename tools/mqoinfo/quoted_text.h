// Writes a record's text (a name or a file name) as a quoted JSON string in
// UTF-8, whatever bytes the model put in it.
#pragma once

#include <string>
#include <string_view>

#include "mqo/code_page.h"
#include "mqo/records.h"
#include "tools/mqoinfo/output_buffer.h"

class QuotedTextWriter {
public:
    // Texts are written in `page`.
    explicit QuotedTextWriter(CodePage page = CodePage::ShiftJis) : decoder(page) {}

    void write(const RecordText& text, OutputBuffer& out) { write(text.view(), out); }
    void write(std::string_view bytes, OutputBuffer& out);

private:
    Utf8Decoder decoder;
    std::string utf8;  // reused, so that a big model's names cost no allocations
};

// Appends `utf8` between quotes with quote, backslash and control characters
// escaped.
void appendJsonString(std::string_view utf8, OutputBuffer& out);
