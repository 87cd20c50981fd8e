#include "type1/HeaderWindow.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FontFileReader.h"
#include "support/PfbWriter.h"
#include "support/TempDir.h"
#include "text/Text.h"

namespace {

using testsupport::pfbFont;
using testsupport::pfbSegment;
using testsupport::PfbSegmentType;
using testsupport::typicalClearText;

using namespace std::string_view_literals;

std::string utf8(const char8_t* literal) {
    return std::string(reinterpret_cast<const char*>(literal));
}

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// --- The entry lookup on a window ------------------------------------------------------------

TEST(Type1EntryValue, CutsFromTheParenthesisAfterTheKeyToTheFirstClosingOne) {
    const struct {
        std::string_view window;
        std::string_view expected;
    } cases[] = {
        {"\x00%!PS /FullName (Courier Bold) readonly def"sv, "Courier Bold"},
        {"/fullname (x) readonly def", "x"},
        {"/FULLNAME (x) readonly def", "x"},
        {"/FullName () readonly def", ""},
        {"/FullName (  Times Roman  ) readonly def", "  Times Roman  "},
        // An escaped parenthesis still ends the value; the backslash is its last character.
        {"/FullName (Foo \\) Bar) readonly def", "Foo \\"},
        // Parentheses of entries before the key do not count.
        {"/Notice (Copyright (c) 1990) /FullName (Later) readonly def", "Later"},
        // Only the first occurrence of the key is used.
        {"/FullName (First) /FullName (Second)", "First"},
        // The value is raw bytes: no unescaping, no decoding, line breaks kept.
        {"/FullName (Caf\xE9\r\\050x) def", "Caf\xE9\r\\050x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(type1::T1EntryValue(c.window, "/FullName"), c.expected) << c.window;
    }
    EXPECT_EQ(type1::T1EntryValue("/Version (2.1) /Weight (Bold)", "/version"), "2.1");
}

TEST(Type1EntryValue, WithoutOpeningParenthesisTheValueIsEverythingBeforeTheClosingOne) {
    // The search for "(" finds nothing, so the cut starts at the window's first byte.
    const std::string_view window = "\x00%!PS-AdobeFont-1.0: X\r/FullName Foo) readonly def"sv;
    EXPECT_EQ(type1::T1EntryValue(window, "/FullName"), window.substr(0, window.find(')')));
}

// Where the cut would be an invalid argument (failure 5), there is no value.
TEST(Type1EntryValue, MissingPiecesGiveNoValue) {
    const std::string_view windows[] = {
        "%!PS /FamilyName (Nothing) readonly def", // no key
        "/FullName Foo) (Bar)",                    // ")" before "("
        "/FullName (Unclosed",                     // no ")" after the key
        "(a) /FullName (b",                        // the only ")" lies before the key
    };
    for (const std::string_view window : windows) {
        EXPECT_EQ(type1::T1EntryValue(window, "/FullName"), std::nullopt) << window;
    }
}

// --- The header window -----------------------------------------------------------------------

TEST(Type1HeaderWindow, StartsAtByteSix) {
    // Without a "(" the value starts at the window's first byte: the last byte of the segment
    // length ("Q" here), not the one before it, nor the clear text after it.
    const std::string file = "\x80\x01NOPQ%!x /FullName tail) def\r";
    platform::FontFileReader reader(bytesOf(file));
    EXPECT_EQ(type1::T1NameFromReader(reader).text(), "Q%!x /FullName tail");
}

TEST(Type1Name, ClosingParenthesisMustLieWithinByte3005) {
    // The window ends with byte 3005 of the file: a value closed there is read, one closed at
    // byte 3006 is not.
    for (const std::int64_t closeAt : {3005, 3006}) {
        const std::string entry = "/FullName (Edge";
        std::string clear = "%!PS-AdobeFont-1.0: Edge\r";
        // The clear text starts at byte 7; pad so that the ")" lands on byte closeAt.
        clear.append(static_cast<std::size_t>(closeAt - 7) - clear.size() - entry.size(), ' ');
        clear += entry + ") readonly def\r";
        const std::string file = pfbFont(clear, "");
        ASSERT_EQ(file[static_cast<std::size_t>(closeAt - 1)], ')');
        platform::FontFileReader reader(bytesOf(file));
        EXPECT_EQ(type1::T1NameFromReader(reader).text(),
                  closeAt == 3005 ? "Edge" : "error: Invalid procedure call or argument");
    }
}

// --- Lookups of files ------------------------------------------------------------------------

TEST(Type1Name, ReadsTheFullNameOfPfbFiles) {
    std::string hundredBytes = pfbSegment(PfbSegmentType::ClearText,
                                          "%!PS-AdobeFont-1.0: Tiny\r/FullName (Tiny Font) def\r");
    hundredBytes.resize(100, ' ');
    const struct {
        std::string_view label;
        std::string file;
        std::string expected;
    } cases[] = {
        {"typical", pfbFont(typicalClearText("Courier Bold")), "Courier Bold"},
        {"LF lines", pfbFont(typicalClearText("Lf Sans", "Lf", "Book", "1.0", "\n")), "Lf Sans"},
        {"blanks kept", pfbFont(typicalClearText("  Times Roman  ")), "  Times Roman  "},
        {"empty", pfbFont(typicalClearText("")), ""},
        {"Windows-1252", pfbFont(typicalClearText("Caf\xE9 \x80uro")), utf8(u8"Café €uro")},
        {"100-byte file", hundredBytes, "Tiny Font"},
        // A TrueType file given the .pfb extension has no /FullName entry.
        {"TrueType bytes",
         std::string("\x00\x01\x00\x00\x00\x04\x00\x40\x00\x02\x00\x00name\x12\x34\x56\x78", 20),
         "error: Invalid procedure call or argument"},
        {"empty file", "", "error: Invalid procedure call or argument"},
    };
    testsupport::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.write("font.pfb", c.file);
        EXPECT_EQ(type1::T1Name(path).text(), c.expected) << c.label;
    }
}

TEST(Type1Name, FilesThatCannotBeOpenedGiveTheirFailure) {
    testsupport::TempDir dir;
    const std::string missing = dir.file("missing.pfb");
    EXPECT_EQ(type1::T1Name(missing).text(), "error: File not found");
    EXPECT_FALSE(std::filesystem::exists(missing)); // looking never creates the file
    EXPECT_EQ(type1::T1Name(dir.file("no-such-dir/font.pfb")).text(), "error: File not found");
    EXPECT_EQ(type1::T1Name(dir.str()).text(), "error: Path/File access error");
    EXPECT_EQ(type1::T1Name(dir.write("plain.txt", "x") + "/font.pfb").text(),
              "error: Path not found");
}

TEST(Type1Name, NonAsciiPathIsOpenedAsUtf8) {
    testsupport::TempDir dir;
    const std::string path =
        dir.write(utf8(u8"Schrift Äöü.pfb"), pfbFont(typicalClearText("Schrift")));
    EXPECT_EQ(type1::T1Name(path).text(), "Schrift");
}

// What the lookup must give: the value cut from the whole window, 3000 bytes from the sixth,
// zero bytes past the end of the file included.
std::string nameFromWholeWindow(std::string_view bytes) {
    std::string window(3000, '\0');
    bytes.substr(std::min<std::size_t>(5, bytes.size())).copy(window.data(), window.size());
    const std::optional<std::string_view> value = type1::T1EntryValue(window, "/FullName");
    return value ? text::decodeWindows1252(*value) : "error: Invalid procedure call or argument";
}

TEST(Type1Name, ArbitraryBytesGiveTheNameOfTheWholeWindowAndNeverThrow) {
    // Windows made of the pieces the searches look for, in random order among random bytes.
    const std::string_view pieces[] = {"/FullName", "(", ")", "%!", "begin", "\\", " ", "\r"};
    std::mt19937 random(20240601);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            if (random() % 3 == 0) {
                bytes.push_back(static_cast<char>(random() % 256));
            } else {
                bytes += pieces[random() % std::size(pieces)];
            }
        }
        platform::FontFileReader reader(bytesOf(bytes));
        std::string name;
        EXPECT_NO_THROW(name = type1::T1NameFromReader(reader).text());
        EXPECT_EQ(name, nameFromWholeWindow(bytes)) << bytes;
        if (name.starts_with("error: ")) {
            EXPECT_EQ(name, "error: Invalid procedure call or argument");
        }
    }
}

// --- Fonts installed on the system -----------------------------------------------------------

const std::filesystem::path kSystemType1 = "/usr/share/fonts/X11/Type1";

TEST(Type1RealFonts, FullNamesOfInstalledFonts) {
    if (!std::filesystem::exists(kSystemType1 / "C059-Bold.pfb")) {
        GTEST_SKIP() << "the URW base 35 Type 1 fonts are not installed";
    }
    // As their /FullName entries read.
    const struct {
        const char* file;
        const char* fullName;
    } fonts[] = {
        {"C059-Bold.pfb", "C059 Bold"},
        {"NimbusSans-Regular.pfb", "Nimbus Sans"},
        {"NimbusMonoPS-BoldItalic.pfb", "Nimbus Mono PS Bold Italic"},
        {"URWBookman-Light.pfb", "URW Bookman Light"},
        {"URWGothic-Book.pfb", "URW Gothic Book"},
        {"Z003-MediumItalic.pfb", "Z003 Medium Italic"},
        {"StandardSymbolsPS.pfb", "Standard Symbols PS"},
    };
    for (const auto& font : fonts) {
        EXPECT_EQ(type1::T1Name((kSystemType1 / font.file).string()).text(), font.fullName)
            << font.file;
    }
}

} // namespace
