// Names and file names reach the output as quoted UTF-8 whatever bytes the
// model holds.
#include <gtest/gtest.h>

#include <string>

#include "json_text_checks.h"
#include "tools/mqoinfo/quoted_text.h"

namespace {

std::string quoted(std::string_view cp932Bytes) {
    OutputBuffer out;
    QuotedTextWriter().write(cp932Bytes, out);
    return out.text();
}

TEST(QuotedText, shiftJisBecomesEscapedUtf8AndEachUndecodableByteOneReplacement) {
    // テーブル: the trail byte of its long vowel mark is '['. Half-width
    // katakana are single bytes.
    EXPECT_EQ(quoted("\x83\x65\x81\x5B\x83\x75\x83\x8B \xB1\xB2"), "\"テーブル ｱｲ\"");
    // A lead byte whose partner is no trail byte leaves the partner to be
    // read on its own; the last one is cut off by the end of the text.
    EXPECT_EQ(quoted("\x80|\xA0|\xFD|\xFF|\x81 x|\x81\"x|\x81"),
              "\"\uFFFD|\uFFFD|\uFFFD|\uFFFD|\uFFFD x|\uFFFD\\\"x|\uFFFD\"");
    EXPECT_EQ(quoted(std::string_view("a\"b\\c\0\x01\t\n\x1F\x7F", 11)),
              "\"a\\\"b\\\\c\\u0000\\u0001\\u0009\\u000a\\u001f\x7F\"");
}

TEST(QuotedText, everyPairOfBytesGivesValidUtf8) {
    QuotedTextWriter writer;
    OutputBuffer out;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const char pair[] = {static_cast<char>(first), static_cast<char>(second), 'z'};
            writer.write(std::string_view(pair, 3), out);
        }
    }
    EXPECT_TRUE(isValidUtf8(out.text()));
}

}  // namespace
