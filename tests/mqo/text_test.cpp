// Text as the reader meets it: lines cut into tokens, in the byte pairs of
// each code page, numbers read from their digits, and names turned into
// UTF-8 for people to read.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "mqo/code_page.h"
#include "mqo/line_readers.h"
#include "mqo/number_text.h"
#include "tests/mqo/model_text.h"
#include "tests/tools/json_text_checks.h"

namespace {

using Tokens = std::vector<std::string>;
using Lines = std::vector<Tokens>;

Tokens tokensOf(const LineTokenizer& tokenizer) {
    Tokens tokens;
    for (int i = 0; i < tokenizer.tokenCount(); ++i) tokens.emplace_back(tokenizer.tokenAt(i));
    return tokens;
}

Tokens splitText(std::string_view line) {
    LineTokenizer tokenizer;
    tokenizer.split(line);
    return tokensOf(tokenizer);
}

// Every line the reader yields, as its tokens; stops at the end of the bytes.
template <typename Reader>
Lines readAll(std::string_view bytes) {
    ModelSource source(bytes);
    Reader reader(source);
    Lines lines;
    while (reader.readLine() >= 0) lines.push_back(tokensOf(reader));
    EXPECT_EQ(reader.tokenCount(), -1);
    return lines;
}

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
    const std::tuple<CodePage, const char*, Tokens> cases[] = {
        // A name whose last byte is a lead byte keeps its closing quote.
        {CodePage::ShiftJis, "\"\x83\" {", {"\x83", "{"}},
        {CodePage::ShiftJis, "\x83[\x83\x7F(", {"\x83[\x83\x7F", "("}},
        {CodePage::Uhc, "\"\xB9\xD9\xC4\xFB\" {", {"\xB9\xD9\xC4\xFB", "{"}},
        {CodePage::Uhc, "\xC4\x5A(\xC4[", {"\xC4\x5A", "(", "\xC4", "["}},
        {CodePage::Gbk, "\x81\\ \x81}x\x81\"", {"\x81\\", "\x81}x\x81"}},
        {CodePage::Big5, "\xB3\\ \xA4{x \xA4(", {"\xB3\\", "\xA4{x", "\xA4", "("}},
        {CodePage::Utf8, "\"\xE6\x9C\xA8\" \xE3\x81[", {"\xE6\x9C\xA8", "\xE3\x81", "["}},
    };
    for (const auto& [page, line, tokens] : cases) {
        LineTokenizer tokenizer;
        tokenizer.pairBytesAs(page);
        tokenizer.split(line);
        EXPECT_EQ(tokensOf(tokenizer), tokens) << line;
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
    EXPECT_EQ(readAll<BufferedLineReader>("a b\r\n\n  \nc"), (Lines{{"a", "b"}, {}, {}, {"c"}}));
    // A lone carriage return hides the rest of its piece.
    EXPECT_EQ(readAll<BufferedLineReader>("a\rb\rc\nd"), (Lines{{"a"}, {"d"}}));
    // A lead byte before a line feed takes it, then the next piece begins.
    EXPECT_EQ(readAll<BufferedLineReader>("a\x95\nb\n"), (Lines{{"a\x95\n"}, {"b"}}));
    EXPECT_EQ(readAll<BufferedLineReader>(std::string_view("a\0b c\nd", 7)), (Lines{{"a"}, {"d"}}));

    EXPECT_EQ(readAll<BufferedLineReader>(std::string(8189, 'x') + " yz w\n"),
              (Lines{{std::string(8189, 'x')}, {"yz", "w"}}));
}

TEST(StreamLineReader, endsLinesAtCarriageReturnsToo) {
    EXPECT_EQ(readAll<StreamLineReader>("a\rb\r\nc\n\nd"), (Lines{{"a"}, {"b"}, {"c"}, {}, {"d"}}));
    EXPECT_EQ(readAll<StreamLineReader>("a\x95\rb\nc\x95"), (Lines{{"a\x95\rb"}, {"c\x95"}}));
    EXPECT_EQ(readAll<StreamLineReader>(std::string(9000, 'q')), (Lines{{std::string(9000, 'q')}}));
}

TEST(NumberText, integersWrapInThirtyTwoBits) {
    EXPECT_EQ(decimalToInt32("42"), 42);
    EXPECT_EQ(decimalToInt32(" \t\v\f\r\n+7x"), 7);
    EXPECT_EQ(decimalToInt32("-12.9"), -12);
    EXPECT_EQ(decimalToInt32("2147483648"), INT32_MIN);
    EXPECT_EQ(decimalToInt32("4294967295"), -1);
    EXPECT_EQ(decimalToInt32("4294967296"), 0);
    EXPECT_EQ(decimalToInt32("-4294967297"), -1);
    EXPECT_EQ(decimalToInt32("99999999999999999999"), static_cast<int32_t>(1661992959u));
    for (const char* text : {"", "-", "+-1", "x1", "0x1A", "- 1"}) EXPECT_EQ(decimalToInt32(text), 0) << text;
}

// Leading zeros are not significant, however many there are.
TEST(NumberText, decimalsAreCorrectlyRoundedAndNeverHexOrNamed) {
    const double infinity = std::numeric_limits<double>::infinity();
    const std::string zeros(400, '0');
    const std::pair<std::string, double> cases[] = {
        {"1.5", 1.5},
        {"-.5", -0.5},
        // The most digits read the short way, and one more.
        {"-12345678901234.5", -12345678901234.5},
        {"1234567890123456.7", 1234567890123456.7},
        {"5.", 5},
        {"+2.5e3x", 2500},
        {"1e", 1},
        {"1e+", 1},
        {"2E-2", 0.02},
        {"  \t0.1", 0.1},
        {"1,5", 1},
        {"-1e400", -infinity},
        {"4.9e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"0.000000000000000000000000000000000000000000000000000000000000001e63", 1},
        {zeros + "1.5", 1.5},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(decimalToDouble(text), value) << text;
    for (const std::string& text : std::initializer_list<std::string>{"1e400", "1e99999999999999999999", "1" + zeros})
        EXPECT_EQ(decimalToDouble(text), infinity) << text;
    for (const std::string& text : std::initializer_list<std::string>{".", "-.", "0x1A", "inf", "-nan", "e5", "1e-400",
                                                                      "0." + zeros + "1e50", zeros + "1e-330"})
        EXPECT_EQ(decimalToDouble(text), 0) << text;
    EXPECT_TRUE(std::signbit(decimalToDouble("-1e-400")));
    EXPECT_TRUE(std::signbit(decimalToDouble("-0.000")));
}

// A stored value is the double rounded again to a float: this text lies just
// above the midpoint between 1 and the next float, but its nearest double is
// that midpoint, which rounds to even.
TEST(NumberText, storedValuesAreRoundedTwice) {
    ParsedModel model = parseBody("Material 1 {\n\"m\" dif(1.000000059604644775390625000001) amb(1e39)\n}\n");
    EXPECT_EQ(model.material().dif, 1.0f);
    EXPECT_EQ(model.material().amb, std::numeric_limits<float>::infinity());
}

TEST(CodePage, namesBecomeUtf8AndEachUndecodableByteOneReplacement) {
    const std::tuple<CodePage, std::string, std::string> cases[] = {
        // テーブル: the trail byte of its long vowel mark is '['. Half-width
        // katakana are single bytes.
        {CodePage::ShiftJis, "\x83\x65\x81\x5B\x83\x75\x83\x8B \xB1\xB2", "テーブル ｱｲ"},
        // A lead byte whose partner is no trail byte leaves the partner to be
        // read on its own; the last one is cut off by the end of the text.
        {CodePage::ShiftJis, "\x80|\xA0|\xFD|\xFF|\x81 x|\x81\"x|\x81",
         "\uFFFD|\uFFFD|\uFFFD|\uFFFD|\uFFFD x|\uFFFD\"x|\uFFFD"},
        {CodePage::Uhc, "\xC0\xDA\xB5\xBF\xC2\xF7", "자동차"},
        {CodePage::Gbk, "\xC4\xBE\x81\x5C", "木乗"},
        {CodePage::Big5, "\xB3\x5C\xA5\x5C", "許功"},
        {CodePage::Utf8, "木\xFF目", "木\uFFFD目"},
        // Beyond U+10FFFF, a surrogate, an overlong form.
        {CodePage::Utf8, "\xF6\x9B\x96\x8D|\xED\xA0\x80|\xC0\x80",
         "\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD"},
    };
    for (const auto& [page, bytes, utf8] : cases) EXPECT_EQ(toUtf8(bytes, page), utf8) << codePageLabel(page);
}

TEST(CodePage, everyPairOfBytesGivesValidUtf8) {
    for (CodePage page : {CodePage::ShiftJis, CodePage::Gbk, CodePage::Uhc, CodePage::Big5, CodePage::Utf8}) {
        Utf8Decoder decoder(page);
        std::string out;
        for (int first = 0; first < 256; ++first) {
            for (int second = 0; second < 256; ++second) {
                const char pair[] = {static_cast<char>(first), static_cast<char>(second), 'z'};
                decoder.append(std::string_view(pair, 3), out);
            }
        }
        EXPECT_TRUE(isValidUtf8(out)) << codePageLabel(page);
    }
}

}  // namespace
