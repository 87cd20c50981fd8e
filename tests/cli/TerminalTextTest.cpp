#include "cli/TerminalText.h"

#include <string_view>

#include <gtest/gtest.h>

namespace {

using cli::LineBreaks;

TEST(TerminalText, ShowsEveryByteThatCouldActOnTheTerminalEscaped) {
    const struct {
        std::string_view text;
        LineBreaks lineBreaks;
        std::string_view shown;
    } cases[] = {
        // A title-setting sequence, tab, DEL and the last C0 character.
        {"Evil\x1B]0;x\aFont\t\x7F\x1F", LineBreaks::Escaped,
         "Evil\\x1b]0;x\\x07Font\\x09\\x7f\\x1f"},
        // C1 controls (CSI among them) as code points; U+00A0, the next character, stays.
        {"\xC2\x9Bm\xC2\x80\xC2\xA0", LineBreaks::Escaped, "\\u009bm\\u0080\xC2\xA0"},
        // Bidirectional controls and separators by code point; their neighbours stay.
        {"a\xE2\x80\xAE\xE2\x81\xA9\xE2\x80\x8E\xE2\x80\xA8\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xAA",
         LineBreaks::Kept, "a\\u202e\\u2069\\u200e\\u2028\\u2029\xE2\x80\xAF\xE2\x81\xAA"},
        // Bytes of no valid sequence: stray, overlong, surrogate, past U+10FFFF, cut short.
        {"\xFF \xC0\xAF \xE0\x9F\xBF \xED\xA0\x80 \xF4\x90\x80\x80 \xE2\x82", LineBreaks::Escaped,
         "\\xff \\xc0\\xaf \\xe0\\x9f\\xbf \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80 \\xe2\\x82"},
        {"\xD0\x96\xED\x9F\xBF\xF4\x8F\xBF\xBF a\\b", LineBreaks::Escaped,
         "\xD0\x96\xED\x9F\xBF\xF4\x8F\xBF\xBF a\\b"},
        // Line breaks stay only where asked; a lone CR never does.
        {"a\r\nb\nc\rd", LineBreaks::Kept, "a\r\nb\nc\\x0dd"},
        {"a\r\nb\n", LineBreaks::Escaped, "a\\x0d\\x0ab\\x0a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cli::terminalText(c.text, c.lineBreaks), c.shown)
            << testing::PrintToString(c.text);
    }
}

} // namespace
