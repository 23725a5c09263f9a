#include "mqo/record_text.h"

#include <algorithm>
#include <cstring>

// NOTE: `text` may be this text's own bytes (a record assigned to itself):
// the old bytes are released only after they have been copied.
void RecordText::assign(std::string_view text) {
    size_t length = std::min(text.size(), MAX_LENGTH);
    if (length > 0)
        if (const void* nul = memchr(text.data(), '\0', length)) length = static_cast<const char*>(nul) - text.data();
    if (length == 0) {
        text_.reset();
        return;
    }
    std::unique_ptr<char[]> copy(new char[length + 1]);
    std::copy_n(text.data(), length, copy.get());
    copy[length] = '\0';
    text_ = std::move(copy);
}
