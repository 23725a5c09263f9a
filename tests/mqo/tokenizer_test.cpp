#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mqo/line_readers.h"

namespace {

std::vector<std::string> tokensOf(const LineTokenizer& tokenizer) {
    std::vector<std::string> tokens;
    for (int i = 0; i < tokenizer.tokenCount(); ++i) tokens.emplace_back(tokenizer.tokenAt(i));
    return tokens;
}

std::vector<std::string> splitText(std::string_view line) {
    LineTokenizer tokenizer;
    tokenizer.split(line);
    return tokensOf(tokenizer);
}

// Every line the reader yields, as its tokens; stops at the end of the bytes.
template <typename Reader>
std::vector<std::vector<std::string>> readAll(std::string_view bytes) {
    ModelSource source(bytes);
    Reader reader(source);
    std::vector<std::vector<std::string>> lines;
    while (reader.readLine() >= 0) lines.push_back(tokensOf(reader));
    EXPECT_EQ(reader.tokenCount(), -1);
    return lines;
}

using Tokens = std::vector<std::string>;

}  // namespace

TEST(Tokenizer, cutsAtSeparatorsDelimitersAndQuotes) {
    EXPECT_EQ(splitText("col(1 0.5 0.25 1)"), (Tokens{"col", "(", "1", "0.5", "0.25", "1", ")"}));
    EXPECT_EQ(splitText("\t\"my mat\" dif(0.8)"), (Tokens{"my mat", "dif", "(", "0.8", ")"}));
    EXPECT_EQ(splitText("a:b;c=d,e[f]{g}"),
              (Tokens{"a", ":", "b", ";", "c", "=", "d", ",", "e", "[", "f", "]", "{", "g", "}"}));
    EXPECT_EQ(splitText("ab\"cd\"ef"), (Tokens{"ab", "cd", "ef"}));
    EXPECT_EQ(splitText("\"{a} (b)\""), (Tokens{"{a} (b)"}));
    EXPECT_EQ(splitText("x \"\" y"), (Tokens{"x", "", "y"}));
    EXPECT_EQ(splitText("x \""), (Tokens{"x"}));
    EXPECT_EQ(splitText("x \"open quote"), (Tokens{"x", "open quote"}));
    EXPECT_EQ(splitText(" \t  "), Tokens{});
    EXPECT_EQ(splitText("a b\r\nc"), (Tokens{"a", "b"}));
    EXPECT_EQ(splitText("a \"b\nc\""), (Tokens{"a", "b"}));
    EXPECT_EQ(splitText(std::string_view("a\0b", 3)), (Tokens{"a"}));
    EXPECT_EQ(splitText("\x01\x7f\xa0\xfd"), (Tokens{"\x01\x7f\xa0\xfd"}));
}

TEST(Tokenizer, keepsShiftJisPairsWhole) {
    // Trail bytes that look like brackets, braces, a backslash or a quote.
    EXPECT_EQ(splitText("x\x83[y \x95\\ \x83]\x83{\x83}"), (Tokens{"x\x83[y", "\x95\\", "\x83]\x83{\x83}"}));
    EXPECT_EQ(splitText("\"\x95\" \x95\"\""), (Tokens{"\x95\" \x95\""}));
    EXPECT_EQ(splitText("\xe0 \xfc("), (Tokens{"\xe0 \xfc("}));
    // A line feed or carriage return after a lead byte is its trail byte.
    EXPECT_EQ(splitText("a\x95\nb\x95\rc d"), (Tokens{"a\x95\nb\x95\rc", "d"}));
    // Only the end of the text cuts a pair; the lead byte stays.
    EXPECT_EQ(splitText("ab\x95"), (Tokens{"ab\x95"}));
    EXPECT_EQ(splitText(std::string_view("\"ab\x95\0c\"", 7)), (Tokens{"ab\x95"}));
    // 0x80, 0xA0 to 0xDF and 0xFD to 0xFF are single bytes.
    EXPECT_EQ(splitText("\x80(\xdf(\xfd("), (Tokens{"\x80", "(", "\xdf", "(", "\xfd", "("}));
}

// In the model reading a lead byte takes only a trail byte of its code page.
TEST(Tokenizer, pairsBytesAsTheCodePageSays) {
    const struct {
        CodePage page;
        const char* line;
        Tokens tokens;
    } cases[] = {
        // A name whose last byte is a lead byte keeps its closing quote.
        {CodePage::ShiftJis, "\"\x83\" {", {"\x83", "{"}},
        {CodePage::ShiftJis, "\x83[\x83\x7F(", {"\x83[\x83\x7F", "("}},
        {CodePage::Uhc, "\"\xB9\xD9\xC4\xFB\" {", {"\xB9\xD9\xC4\xFB", "{"}},
        {CodePage::Uhc, "\xC4\x5A(\xC4[", {"\xC4\x5A", "(", "\xC4", "["}},
        {CodePage::Gbk, "\x81\\ \x81}x\x81\"", {"\x81\\", "\x81}x\x81"}},
        {CodePage::Big5, "\xB3\\ \xA4{x \xA4(", {"\xB3\\", "\xA4{x", "\xA4", "("}},
        {CodePage::Utf8, "\"\xE6\x9C\xA8\" \xE3\x81[", {"\xE6\x9C\xA8", "\xE3\x81", "["}},
    };
    for (const auto& c : cases) {
        LineTokenizer tokenizer;
        tokenizer.pairBytesAs(c.page);
        tokenizer.split(c.line);
        EXPECT_EQ(tokensOf(tokenizer), c.tokens) << c.line;
    }
}

TEST(Tokenizer, answersQueriesOnTheCurrentLineOnly) {
    LineTokenizer tokenizer;
    tokenizer.split("Scene");
    EXPECT_FALSE(tokenizer.keywordIs("Scene", 2));
    tokenizer.split("\xc9Te 12abc 4294967296 -4294967295 word");
    EXPECT_TRUE(tokenizer.keywordIs("\xc9tE", 5));
    EXPECT_FALSE(tokenizer.tokenIs(0, "\xe9te"));  // only A-Z are folded
    EXPECT_EQ(tokenizer.intAt(1) + tokenizer.intAt(2) + tokenizer.intAt(3), 12 + 0 + 1);
    EXPECT_EQ(tokenizer.floatAt(4), 0.0);
    // A shorter line hides the longer line's tokens.
    tokenizer.split("a");
    EXPECT_FALSE(tokenizer.tokenIs(1, "12abc"));
    EXPECT_EQ(tokenizer.intAt(1), 0);
    EXPECT_EQ(tokenizer.floatAt(-1), 0.0);
}

TEST(BufferedLineReader, readsLinePiecesAsTheyEndInTheFile) {
    using Lines = std::vector<Tokens>;
    EXPECT_EQ(readAll<BufferedLineReader>("a b\r\n\n  \nc"), (Lines{{"a", "b"}, {}, {}, {"c"}}));
    // A lone carriage return hides the rest of its piece.
    EXPECT_EQ(readAll<BufferedLineReader>("a\rb\rc\nd"), (Lines{{"a"}, {"d"}}));
    // A lead byte before a line feed takes it, then the next piece begins.
    EXPECT_EQ(readAll<BufferedLineReader>("a\x95\nb\n"), (Lines{{"a\x95\n"}, {"b"}}));
    EXPECT_EQ(readAll<BufferedLineReader>(std::string_view("a\0b c\nd", 7)), (Lines{{"a"}, {"d"}}));

    std::string longLine = std::string(8189, 'x') + " yz w\n";
    Lines pieces = readAll<BufferedLineReader>(longLine);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (Tokens{std::string(8189, 'x')}));
    EXPECT_EQ(pieces[1], (Tokens{"yz", "w"}));
}

TEST(StreamLineReader, endsLinesAtCarriageReturnsToo) {
    using Lines = std::vector<Tokens>;
    EXPECT_EQ(readAll<StreamLineReader>("a\rb\r\nc\n\nd"), (Lines{{"a"}, {"b"}, {"c"}, {}, {"d"}}));
    EXPECT_EQ(readAll<StreamLineReader>("a\x95\rb\nc\x95"), (Lines{{"a\x95\rb"}, {"c\x95"}}));
    EXPECT_EQ(readAll<StreamLineReader>(std::string(9000, 'q')), (Lines{{std::string(9000, 'q')}}));
}
