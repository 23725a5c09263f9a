// Where the picture readers' messages go: to the console, as the classic
// viewer has always printed them, or to a text the caller collects while it
// reads a picture, to word one report of its own.
#pragma once

#include <string>

// printf's format and arguments; the text goes to the console unless a
// collector is alive on this thread.
[[gnu::format(printf, 1, 2)]] void tellImageMessage(const char* format, ...);

// While it lives, the readers' messages on this thread gather in text().
class ImageMessageCollector {
public:
    ImageMessageCollector();
    ~ImageMessageCollector();
    ImageMessageCollector(const ImageMessageCollector&) = delete;
    ImageMessageCollector& operator=(const ImageMessageCollector&) = delete;

    const std::string& text() const { return text_; }
    // The text as one line, for a report of the caller's own: the line
    // feeds between messages become ";", the last one goes.
    std::string oneLine() const;

private:
    friend void tellImageMessage(const char* format, ...);

    std::string text_;
    ImageMessageCollector* outer_;
};
