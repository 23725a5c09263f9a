// Names and file names reach the output as quoted UTF-8 whatever bytes the
// model holds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "json_text_checks.h"
#include "tools/mqoinfo/quoted_text.h"

namespace {

std::string quoted(std::string_view cp932Bytes) {
    OutputBuffer out;
    QuotedTextWriter writer;
    writer.write(cp932Bytes, out);
    return out.text();
}

TEST(QuotedText, shiftJisNamesBecomeUtf8) {
    // テーブル: the trail byte of its long vowel mark is '['.
    EXPECT_EQ(quoted("\x83\x65\x81\x5B\x83\x75\x83\x8B"), "\"テーブル\"");
    EXPECT_EQ(quoted("\xB1\xB2"), "\"ｱｲ\"");  // half-width katakana are single bytes
    EXPECT_EQ(quoted("Texture\\wood.bmp"), "\"Texture\\\\wood.bmp\"");
}

TEST(QuotedText, eachUndecodableByteBecomesOneReplacementCharacter) {
    EXPECT_EQ(quoted("\x80|\xA0|\xFD|\xFF"), "\"\uFFFD|\uFFFD|\uFFFD|\uFFFD\"");
    // A lead byte cut off by the end of the text.
    EXPECT_EQ(quoted("ab\x81"), "\"ab\uFFFD\"");
    // A lead byte whose partner is no trail byte: the partner still counts.
    EXPECT_EQ(quoted("\x81 x"), "\"\uFFFD x\"");
    EXPECT_EQ(quoted("\x81\"x"), "\"\uFFFD\\\"x\"");
}

TEST(QuotedText, quotesBackslashesAndControlCharactersAreEscaped) {
    EXPECT_EQ(quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(quoted(std::string_view("\x01\t\n\x1F\x7F", 5)), "\"\\u0001\\u0009\\u000a\\u001f\x7F\"");
    EXPECT_EQ(quoted(std::string_view("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(QuotedText, fieldEndsAtItsTerminatorOrAtItsLastByte) {
    char field[RECORD_TEXT_SIZE] = "wood.bmp";
    memset(field + 9, 'x', 10);  // bytes after the terminator are not text
    OutputBuffer out;
    QuotedTextWriter writer;
    writer.write(field, out);
    EXPECT_EQ(out.text(), "\"wood.bmp\"");

    memset(field, 'y', sizeof field);  // no terminator at all
    OutputBuffer full;
    writer.write(field, full);
    EXPECT_EQ(full.text(), "\"" + std::string(RECORD_TEXT_SIZE, 'y') + "\"");
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
