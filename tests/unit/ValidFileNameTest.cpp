#include "fontlist/ValidFileName.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace {

using fontlist::SpacesOption;
using fontlist::ValidFileName;

std::string utf8(const char8_t* literal) {
    return std::string(reinterpret_cast<const char*>(literal));
}

TEST(ValidFileName, ConvertsUnderEachSpacesOption) {
    const struct {
        std::string_view name;
        SpacesOption option;
        std::string_view expected;
    } cases[] = {
        {"Arial Bold Italic", SpacesOption::NoChange, "Arial Bold Italic"},
        {"Arial Bold Italic", SpacesOption::ReplaceWithHyphen, "Arial-Bold-Italic"},
        {"Arial Bold Italic", SpacesOption::Remove, "ArialBoldItalic"},
        {"Futura Bk BT 1.0", SpacesOption::ReplaceWithHyphen, "Futura-Bk-BT-10"},
        // Runs of spaces are not merged.
        {"A  B", SpacesOption::NoChange, "A  B"},
        {"A  B", SpacesOption::ReplaceWithHyphen, "A--B"},
        {"A  B", SpacesOption::Remove, "AB"},
        {"Sans: Book / Condensed", SpacesOption::ReplaceWithHyphen, "Sans-Book--Condensed"},
        // A space turned into "-" is never dropped, also next to a dropped character.
        {"Foo ?", SpacesOption::NoChange, "Foo "},
        {"Foo ?", SpacesOption::ReplaceWithHyphen, "Foo-"},
        {"Foo ?", SpacesOption::Remove, "Foo"},
        {"", SpacesOption::NoChange, ""},
        {"...", SpacesOption::NoChange, ""},
        {"?*?**", SpacesOption::ReplaceWithHyphen, ""},
        {"   ", SpacesOption::Remove, ""},
        {"error: Overflow", SpacesOption::NoChange, "error Overflow"},
        {"error: Overflow", SpacesOption::ReplaceWithHyphen, "error-Overflow"},
        {"error: Overflow", SpacesOption::Remove, "errorOverflow"},
        {"ARIAL narrow", SpacesOption::NoChange, "ARIAL narrow"},
        // All nine forbidden characters, the full stop and every control character go (a
        // terminal escape sequence is left harmless); the rest passes, hyphens included.
        {"a\\b/c:d*e?f\"g<h>i|j.k", SpacesOption::NoChange, "abcdefghijk"},
        // UTF-16 Cyrillic read as single bytes gives 0x04 before each letter; UTF-8 stays.
        {"x-y_z\t\x01(1)\x1B]0;t\a\x1F\x7F~\x04\x16\xD0\x96", SpacesOption::Remove,
         "x-y_z(1)]0;t~\xD0\x96"},
        // No file name can hold a NUL: the path would end there.
        {std::string_view("Nul\0Name \0", 11), SpacesOption::ReplaceWithHyphen, "NulName-"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidFileName(c.name, c.option), c.expected)
            << '"' << c.name << "\" option " << static_cast<int>(c.option);
    }
}

// The C1 controls (the terminal's CSI and OSC among them; byte-wise names reach them through
// 0x81 0x8D 0x8F 0x90 0x9D), the bidirectional controls and the separators go; their
// neighbours in UTF-8 stay.
TEST(ValidFileName, DropsControlCharactersBeyondAscii) {
    EXPECT_EQ(ValidFileName(utf8(u8"A\u0080B\u009D]0;x\u009F \u00A0C"), SpacesOption::NoChange),
              utf8(u8"AB]0;x \u00A0C"));
    EXPECT_EQ(ValidFileName(utf8(u8"Invoice\u202Efdp\u200E\u200F\u202A\u2066\u2069\u2028"
                                 u8"\u2029x\u2027\u202F\u2065\u206A\u2010"),
                            SpacesOption::Remove),
              utf8(u8"Invoicefdpx\u2027\u202F\u2065\u206A\u2010"));
    // Cut short at the end of the name: kept as it is.
    EXPECT_EQ(ValidFileName("a\xE2\x80", SpacesOption::Remove), "a\xE2\x80");
}

TEST(ValidFileName, PassesLettersBeyondAsciiUnchanged) {
    EXPECT_EQ(
        ValidFileName(utf8(u8"Caf\u00E9 \u0160ans \u20AC.1"), SpacesOption::ReplaceWithHyphen),
        utf8(u8"Caf\u00E9-\u0160ans-\u20AC1"));
    EXPECT_EQ(ValidFileName(utf8(u8"\u65E5\u672C \u8A9E"), SpacesOption::Remove),
              utf8(u8"\u65E5\u672C\u8A9E"));
}

} // namespace
