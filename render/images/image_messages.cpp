#include "render/images/image_messages.h"

#include <cstdarg>
#include <cstdio>

namespace {

thread_local ImageMessageCollector* current = nullptr;

}  // namespace

void tellImageMessage(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    if (current == nullptr) {
        std::vprintf(format, arguments);
    } else {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        current->text_ += text;
    }
    va_end(arguments);
}

ImageMessageCollector::ImageMessageCollector() : outer_(current) {
    current = this;
}

ImageMessageCollector::~ImageMessageCollector() {
    current = outer_;
}

std::string ImageMessageCollector::oneLine() const {
    std::string said = text_;
    while (!said.empty() && said.back() == '\n') said.pop_back();
    for (char& c : said)
        if (c == '\n') c = ';';
    return said;
}
