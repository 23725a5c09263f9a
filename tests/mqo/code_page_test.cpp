// Names reach people as UTF-8 from whatever code page the model is in,
// whatever bytes they hold.
#include <gtest/gtest.h>

#include <string>

#include "mqo/code_page.h"
#include "tests/tools/json_text_checks.h"

TEST(CodePage, namesBecomeUtf8AndEachUndecodableByteOneReplacement) {
    const struct {
        CodePage page;
        std::string bytes;
        std::string utf8;
    } cases[] = {
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
    };
    for (const auto& c : cases) EXPECT_EQ(toUtf8(c.bytes, c.page), c.utf8) << codePageLabel(c.page);
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
