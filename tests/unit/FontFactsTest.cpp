// A font's facts for the specimen page: the name records chosen by language and decoded as
// Unicode, every font of a collection, Type 1 header strings with their escapes, damaged files.
#include "fontlist/FontTypes.h"
#include "fontlist/ReadableNames.h"
#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fontcore::FaceFacts;
using testsupport::NameRecordLayout;
using testsupport::utf16be;

NameRecordLayout win(std::uint16_t nameId, std::uint16_t language, std::u16string_view text) {
    return {3, 1, language, nameId, utf16be(text)};
}

NameRecordLayout mac(std::uint16_t nameId, std::uint16_t language, std::string bytes) {
    return {1, 0, language, nameId, std::move(bytes)};
}

std::string fontOf(std::vector<NameRecordLayout> records) {
    testsupport::NameTableLayout names;
    names.records = std::move(records);
    return testsupport::trueTypeFont(names);
}

fontcore::FontFacts factsOf(const std::string& path, std::string_view locale = "C") {
    return fontlist::factsOf(path, fontlist::readableNamesIn(locale)).value();
}

// The fields a TrueType font fills of its only font, joined by "|"; the failure's text where
// there is one.
std::string sfntFields(const fontcore::FontFacts& facts) {
    if (facts.failure || facts.faces.size() != 1) {
        return facts.failure ? facts.failure->what() : "not one font";
    }
    const FaceFacts& face = facts.faces[0];
    return face.fullName + "|" + face.version + "|" + face.postScriptName + "|" +
           face.manufacturer + "|" + face.designer + "|" + face.licence + "|" + face.licenceUrl +
           face.familyName + face.weight + face.notice;
}

TEST(FontFacts, EachNameIdIsChosenByLanguageAndDecodedAsUnicode) {
    const std::string font = fontOf({
        win(4, 0x0409, u"Face US"),
        win(4, 0x040C, u"Face FR"),
        // A Macintosh Roman record beats no language but English on Windows.
        mac(5, 0, "Version 1.0 \xA5"),
        win(5, 0x0411, u"JA"),
        // Any English on Windows when neither the user's language nor US English is there.
        win(6, 0x0411, u"PS-JA"),
        win(6, 0x0809, {u"PS-\0GB", 6}),
        // No English at all: the byte-wise record, still decoded as UTF-16.
        win(8, 0x0411, u"日本"),
        win(8, 0x0412, u"한국"),
        // Platform 0 is UTF-16; an unpaired surrogate becomes U+FFFD.
        {0, 3, 0, 9, utf16be(u"D\xD800z")},
        {3, 1, 0x0409, 13, utf16be(u"Licence text")},
        // ID 14 is missing; ID 7 (trademark) is not read.
        win(7, 0x0409, u"TM"),
    });
    const testsupport::TempDir dir;
    const std::string path = dir.write("facts.ttf", font);
    // Full name, version, PostScript name, manufacturer, designer, licence and its URL; the
    // byte-wise decoding of the list makes no difference.
    const std::string us = "Face US|Version 1.0 •|PS-GB|한국|D\uFFFDz|Licence text|";
    EXPECT_EQ(sfntFields(factsOf(path, "C")), us);
    EXPECT_EQ(sfntFields(fontlist::factsOf(path, fontcore::NameDecoding::ByteWise).value()), us);
    EXPECT_EQ(sfntFields(factsOf(path, "fr_FR")), "Face FR" + us.substr(7));
}

TEST(FontFacts, EveryFontOfAFileHasItsOwn) {
    const std::vector<std::string> fonts{
        fontOf({win(4, 0x0409, u"First"), win(5, 0x0409, u"1.0")}),
        fontOf({win(4, 0x0409, u"Second"), win(14, 0x0409, u"https://example.org/l")})};
    struct Case {
        const char* file;
        std::string bytes;
        std::size_t faces;
    };
    const Case cases[] = {
        {"two.ttc", testsupport::fontCollection({.fonts = fonts}), 2},
        {"two.dfont", testsupport::dataForkSuitcase({.fonts = fonts}), 2},
        {"one.woff", testsupport::woffFont(fonts[1]), 1},
    };
    const testsupport::TempDir dir;
    for (const Case& c : cases) {
        const fontcore::FontFacts facts = factsOf(dir.write(c.file, c.bytes));
        ASSERT_FALSE(facts.failure) << c.file;
        ASSERT_EQ(facts.faces.size(), c.faces) << c.file;
        const FaceFacts& last = facts.faces.back();
        EXPECT_EQ(last.fullName, "Second") << c.file;
        EXPECT_EQ(last.licenceUrl, "https://example.org/l") << c.file;
        EXPECT_EQ(last.version, "") << c.file;
        if (c.faces == 2) {
            EXPECT_EQ(facts.faces[0].fullName, "First") << c.file;
            EXPECT_EQ(facts.faces[0].version, "1.0") << c.file;
        }
    }
}

TEST(FontFacts, Type1HeaderStringsHaveTheirEscapesResolved) {
    std::string clear = testsupport::typicalClearText("Test Sans Bold", "Test Sans", "Bold");
    // An escaped notice in octal and with balanced parentheses; a later /WeightVector entry.
    const std::string plain = "/Notice (A font made for tests)";
    clear.replace(clear.find(plain), plain.size(),
                  "/Notice (Copyright \\(c\\) \\2512024 (nested) A\\\\B\\\r\nC)");
    clear.replace(clear.find("/ItalicAngle"), 0, "/WeightVector [1] def\r");
    const testsupport::TempDir dir;
    for (const auto& [file, bytes] : {std::pair{"t.pfb", testsupport::pfbFont(clear)},
                                      {"t.pfa", testsupport::pfaFont(clear)},
                                      {"t.t1", testsupport::unixType1Font(clear)}}) {
        const fontcore::FontFacts facts = factsOf(dir.write(file, bytes));
        ASSERT_FALSE(facts.failure) << file;
        ASSERT_EQ(facts.faces.size(), 1U);
        const FaceFacts& face = facts.faces[0];
        EXPECT_EQ(face.notice, "Copyright (c) ©2024 (nested) A\\BC") << file;
        EXPECT_EQ(face.fullName, "Test Sans Bold") << file;
        EXPECT_EQ(face.familyName, "Test Sans") << file;
        EXPECT_EQ(face.weight, "Bold") << file;
        EXPECT_EQ(face.version, "001.000") << file;
    }
}

TEST(FontFacts, ADamagedFileGivesAFailure) {
    using platform::FailureNumber;
    // One font whose licence is 30,000 bytes, listed 200 times: 6 MB of strings from a file of
    // 30 KB.
    const std::string longLicence =
        fontOf({win(4, 0x0409, u"Long"), win(13, 0x0409, std::u16string(15000, u'x'))});
    struct Case {
        const char* file;
        std::string bytes;
        FailureNumber failure;
    };
    const Case cases[] = {
        {"noise.ttf", std::string(300, '\x7f'), FailureNumber::Overflow},
        {"bad.ttc", "ttcf" + std::string(8, '\xff'), FailureNumber::Overflow},
        {"noname.pfb", testsupport::pfbFont("%!PS-AdobeFont-1.0 /FontName"),
         FailureNumber::InvalidArgument},
        {"repeated.ttc",
         testsupport::fontCollection({.fonts = {longLicence},
                                      .count = 200,
                                      .offsets = std::vector<std::uint32_t>(200, 812)}),
         FailureNumber::OutOfMemory},
    };
    const testsupport::TempDir dir;
    for (const Case& c : cases) {
        const fontcore::FontFacts facts = factsOf(dir.write(c.file, c.bytes));
        ASSERT_TRUE(facts.failure) << c.file;
        EXPECT_EQ(facts.failure->number(), static_cast<int>(c.failure)) << c.file;
        EXPECT_TRUE(facts.faces.empty()) << c.file;
    }
}

} // namespace
