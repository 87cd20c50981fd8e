// Readable names: the full-name record chosen by the user's language and English, the locale
// names turned into the table's language IDs, and the details pane's labels.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fontlist/FontTypes.h"
#include "fontlist/ReadableNames.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using fontcore::NameDecoding;
using fontcore::NameLanguage;
using testsupport::NameRecordLayout;
using testsupport::utf16be;

NameRecordLayout win(std::uint16_t language, std::u16string_view name, std::uint16_t nameId = 4,
                     std::uint16_t encoding = 1) {
    return {3, encoding, language, nameId, utf16be(name)};
}

NameRecordLayout mac(std::uint16_t language, std::string name, std::uint16_t encoding = 0) {
    return {1, encoding, language, 4, std::move(name)};
}

std::string fontOf(std::vector<NameRecordLayout> records) {
    testsupport::NameTableLayout names;
    names.records = std::move(records);
    return testsupport::trueTypeFont(names);
}

TEST(ReadableNames, ChooseTheUsersLanguageThenEnglishThenTheByteWiseRecord) {
    struct Case {
        const char* what;
        const char* locale;
        std::vector<NameRecordLayout> records;
        std::string name;
    };
    const Case cases[] = {
        {"the exact Windows language first",
         "fr_CA.UTF-8",
         {win(0x0C0C, u"CA"), win(0x040C, u"FR"), win(0x0409, u"US")},
         "CA"},
        {"else the same primary language",
         "fr_CA",
         {win(0x040C, u"FR"), win(0x0409, u"US"), win(0x0411, u"JA")},
         "FR"},
        {"a Macintosh Roman record in the user's language",
         "fr_FR",
         {mac(1, "Fran\x8D"
                 "ais"),
          win(0x0409, u"US")},
         "Français"},
        {"Windows before the Macintosh in the same language",
         "fr_CA",
         {win(0x080C, u"BE"), mac(1, "Mac")},
         "BE"},
        {"else US English",
         "de_DE",
         {win(0x0809, u"GB"), win(0x0409, u"US"), win(0x0411, u"JA")},
         "US"},
        {"else any English on Windows",
         "de_DE",
         {win(0x0411, u"JA"), win(0x0809, u"GB"), win(0x040C, u"FR")},
         "GB"},
        {"else English on the Macintosh", "de_DE", {mac(0, "Mac"), win(0x0411, u"JA")}, "Mac"},
        {"else the byte-wise record, decoded",
         "de_DE",
         {win(0x0411, u"日本"), win(0x0412, u"한국"), mac(11, "\x93\xfa", 1)},
         "한국"},
        {"strings this reader cannot decode take no part",
         "en_US",
         {win(0x0409, u"PRC", 4, 3), win(0x0412, u"KO"), mac(0, "Mac", 1)},
         "KO"},
        {"no language in the C locale: English first",
         "C",
         {win(0x040C, u"FR"), win(0x0409, u"US"), win(0x0411, u"JA")},
         "US"},
        {"an ID of 32768 or more fails as before",
         "fr_FR",
         {win(0x040C, u"FR"), win(0x8000, u"X", 1)},
         "error: Overflow"},
    };
    const testsupport::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.write("font.ttf", fontOf(c.records));
        EXPECT_EQ(fontlist::nameOf(path, fontlist::readableNamesIn(c.locale)).value().text(),
                  c.name)
            << c.what;
    }
}

TEST(ReadableNames, LocaleNamesBecomeTheTablesLanguageIds) {
    const struct {
        const char* locale;
        NameDecoding decoding;
    } cases[] = {
        {"fr_FR.UTF-8", NameDecoding::readableIn({0x040C, 0x0C, 1})},
        {"de_AT@euro", NameDecoding::readableIn({0x0C07, 0x07, 2})},
        {"ja_JP", NameDecoding::readableIn({0x0411, 0x11, 11})},
        {"zh_TW.UTF-8", NameDecoding::readableIn({0x0404, 0x04, 19})},
        {"zh_CN.GB18030", NameDecoding::readableIn({0x0804, 0x04, 33})},
        {"nb_NO", NameDecoding::readableIn({0x0414, 0x14, 9})},
        {"C.UTF-8", NameDecoding::Readable},
        {"", NameDecoding::Readable},
    };
    for (const auto& c : cases) {
        const NameDecoding got = fontlist::readableNamesIn(c.locale);
        EXPECT_EQ(got, c.decoding)
            << c.locale << ": " << std::hex << got.language.windowsId << ' '
            << got.language.windowsPrimary << std::dec << ' ' << got.language.macCode;
    }
}

// Languages the label table has not (in a region other than their default one too) and a name
// ID past it: named under readable names only.
TEST(ReadableNames, ThePaneNamesLanguagesAndLaterNameIds) {
    const testsupport::TempDir dir;
    const std::string path = dir.write(
        "font.ttf",
        fontOf({win(0x1004, u"SG"), win(0x0411, u"JA"), win(0x0409, u"Sample", 19), mac(11, "M")}));
    const std::string lines = "Win Unicode Chinese (Singapore) Full Font Name | SG\r\n"
                              "Win Unicode Japanese Full Font Name | JA\r\n"
                              "Win Unicode ENU Sample Text | Sample\r\n"
                              "Mac Japanese Full Font Name | M\r\n";
    const std::string byteWise = "Win Unicode 1004 Full Font Name | SG\r\n"
                                 "Win Unicode 0411 Full Font Name | JA\r\n"
                                 "Win Unicode ENU Sample\r\n"
                                 "Mac 0b Full Font Name | M\r\n";
    const std::string readable = fontlist::reportOf(path, NameDecoding::Readable).value().text;
    EXPECT_TRUE(readable.ends_with(lines)) << readable;
    const std::string report = fontlist::reportOf(path).value().text;
    EXPECT_TRUE(report.ends_with(byteWise)) << report;
}

} // namespace
