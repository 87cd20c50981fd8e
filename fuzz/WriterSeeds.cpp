#include "fuzz/WriterSeeds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "support/CollectionWriter.h"
#include "support/PfbWriter.h"
#include "support/SuitcaseWriter.h"
#include "support/TrueTypeWriter.h"
#include "support/Woff2Writer.h"
#include "support/WoffWriter.h"
#include "truetype/SfntLayout.h"

namespace fuzzing {

namespace {

using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

std::vector<Seed> trueTypeSeeds() {
    std::vector<Seed> seeds;
    const auto font = [&](std::string name, const NameTableLayout& names) {
        seeds.push_back({std::move(name), testsupport::trueTypeFont(names)});
    };

    font("windows-name", {0, {{3, 1, 0x0409, 4, utf16be(u"Example Sans Bold")}}});
    font("mac-then-windows", {0,
                              {{1, 0, 0, 4, "Mac Name"},
                               {3, 1, 0x0409, 1, utf16be(u"Family")},
                               {3, 1, 0x0409, 4, utf16be(u"Windows Name")}}});
    font("languages", {0,
                       {{3, 1, 0x0409, 4, utf16be(u"English")},
                        {3, 1, 0x040C, 4, utf16be(u"Fran\u00E7ais")},
                        {3, 1, 0x0C0C, 4, utf16be(u"Qu\u00E9bec")},
                        {3, 1, 0x0411, 4, utf16be(u"\u65E5\u672C")}}});
    font("mac-then-unicode",
         {0, {{1, 0, 0, 4, "Caf\x8E Mac"}, {0, 3, 0, 4, utf16be(u"Unicode Name")}}});
    // For the Unicode decoding: a surrogate pair, an unpaired one and an odd last byte.
    font("surrogates",
         {0,
          {{0, 4, 0, 4, utf16be(u"Emoji \U0001F600")},
           {3, 1, 0x0409, 4, utf16be(u"\u0428\u0440") + std::string("\xD8\x00\x41", 3)}}});
    font("iso-only", {0, {{2, 0, 0, 4, "Iso Name"}, {7, 1, 0, 4, "Platform seven"}}});
    font("empty-table", {});
    font("every-name-id", [] {
        NameTableLayout names;
        for (std::uint16_t id = 0; id < 26; ++id) {
            names.records.push_back({3, 1, 0x0409, id, utf16be(u"Value of a name")});
        }
        return names;
    }());
    font("format-1", [] {
        NameTableLayout names{1, {{3, 1, 0x0409, 4, utf16be(u"Tagged")}}};
        names.records.push_back({0, 4, 0x8000, 4, utf16be(u"Language tag")});
        names.languageTags = {utf16be(u"en-GB")};
        return names;
    }());
    font("string-beyond-end", [] {
        NameTableLayout names{0, {{3, 1, 0x0409, 4, utf16be(u"Short")}}};
        names.records[0].length = 0x7000;
        names.records[0].offset = 0x7000;
        return names;
    }());
    font("length-overflow", [] {
        NameTableLayout names{0, {{3, 1, 0x0409, 4, utf16be(u"Name")}}};
        names.records[0].length = 0x8000;
        return names;
    }());
    font("count-overflow", [] {
        NameTableLayout names{0, {{3, 1, 0x0409, 4, utf16be(u"Name")}}};
        names.count = 0x8000;
        return names;
    }());
    font("large-count", [] {
        NameTableLayout names{0, {{3, 1, 0x0409, 4, utf16be(u"Name")}}};
        names.count = 0x7FFF;
        return names;
    }());
    font("platform-259", {0, {{0x0103, 1, 0x0409, 4, utf16be(u"High byte ignored")}}});
    font("nuls-and-blanks", {0, {{3, 1, 0x0409, 4, std::string("\0 \0A\0 \0\0\0", 10)}}});

    const NameTableLayout named{0, {{3, 1, 0x0409, 4, utf16be(u"Found")}}};
    seeds.push_back({"upper-case-tag", testsupport::trueTypeBytes(
                                           {{{"NAME", nameTableBytes(named), std::nullopt}}})});
    seeds.push_back(
        {"offset-high-byte",
         testsupport::trueTypeBytes({{{"name", std::string(256, '\0') + nameTableBytes(named),
                                       std::array<std::uint8_t, 4>{0x01, 0x00, 0x00, 0x1C}}}})});
    seeds.push_back({"no-name-table", testsupport::trueTypeBytes(
                                          {{{"head", std::string(54, '\x02'), std::nullopt},
                                            {"post", std::string(32, '\x03'), std::nullopt}}})});
    seeds.push_back({"twenty-bytes", std::string(20, '\x01')});
    seeds.push_back({"text", "This is not a font at all.\n"});
    seeds.push_back({"empty", ""});
    return seeds;
}

// Collections, suitcases, web fonts and OpenType fonts: the TrueType targets read every input
// every way.
std::vector<Seed> collectionSeeds() {
    using testsupport::fontCollection;
    using testsupport::trueTypeFontNamed;
    namespace sfnt = truetype::sfnt;
    const std::string first = trueTypeFontNamed(u"First of Two");
    const std::string second = trueTypeFontNamed(u"Second of Two");
    // The two offsets of the header exchanged: each points at the other font.
    std::string crossed = fontCollection({.fonts = {first, second}});
    const auto offset = [&crossed](std::int64_t i) {
        return crossed.begin() + sfnt::tableDirectoryOffsetAt(i);
    };
    std::swap_ranges(offset(0), offset(1), offset(1));
    // A name table of 32767 records, listed again and again: more than one report may read.
    NameTableLayout many{0, {{3, 1, 0x0409, 4, utf16be(u"Again")}}};
    many.count = 0x7FFF;
    constexpr std::uint32_t kListed = 1000;
    const std::vector<std::uint32_t> again(
        kListed, static_cast<std::uint32_t>(sfnt::tableDirectoryOffsetAt(kListed)));
    // A WOFF whose name table inflates past its declared length.
    testsupport::WoffLayout inflatesPast = testsupport::woffLayoutOf(first);
    for (testsupport::WoffTableLayout& table : inflatesPast.tables) {
        table.origLength -= table.stored.size() < table.origLength ? 1 : 0;
    }
    return {
        {"otto-tag", testsupport::openTypeFont(trueTypeFontNamed(u"OpenType Name"))},
        {"collection-two-fonts", fontCollection({.fonts = {first, second}})},
        {"collection-version-2", fontCollection({.fonts = {first, second}, .version = 0x00020000})},
        {"collection-count-0", fontCollection({.fonts = {first}, .count = 0})},
        {"collection-offsets-crossed", crossed},
        {"collection-offsets-at-header",
         fontCollection({.fonts = {first}, .count = 2, .offsets = {0, 4}})},
        {"collection-huge-count", fontCollection({.fonts = {first}, .count = 0xFFFFFFFF})},
        {"collection-same-font-again",
         fontCollection(
             {.fonts = {testsupport::trueTypeFont(many)}, .count = kListed, .offsets = again})},
        {"collection-tag-only", "ttcf"},
        {"suitcase-two-fonts", testsupport::dataForkSuitcase({.fonts = {first, second}})},
        {"suitcase-count-past-the-end",
         testsupport::dataForkSuitcase({.fonts = {first}, .fontCountLessOne = 0xFFFF})},
        {"woff-deflated", testsupport::woffFont(first)},
        {"woff-stored-raw", testsupport::woffFont(second, false)},
        {"woff-inflates-past", testsupport::woffBytes(inflatesPast)},
        {"woff2-two-tables", testsupport::woff2Bytes({.sfnt = first})},
        {"woff2-name-transformed", testsupport::woff2Bytes({.sfnt = second, .nameTransform = 1})},
    };
}

// WOFF files, well-formed and each with one field of the wrapper wrong.
std::vector<Seed> woffSeeds() {
    const std::string font = testsupport::trueTypeFontNamed(u"Wrapped in WOFF");
    const auto changed = [&font](auto change) {
        testsupport::WoffLayout layout = testsupport::woffLayoutOf(font);
        change(layout);
        return testsupport::woffBytes(layout);
    };
    // 8 KB of stream that inflates to a `name` table of 8 MiB, past what a lookup inflates.
    testsupport::WoffLayout huge = testsupport::woffLayoutOf(font, false);
    for (testsupport::WoffTableLayout& table : huge.tables) {
        if (table.tag == "name") {
            table.stored =
                testsupport::deflatedWithZeros(table.stored, (8U << 20) - table.origLength);
            table.origLength = 8U << 20;
        }
    }
    return {
        {"name-inflates-huge", testsupport::woffBytes(huge)},
        {"deflated", testsupport::woffFont(font)},
        {"stored-raw", testsupport::woffFont(font, false)},
        {"length-short", changed([](auto& layout) { layout.length = 44; })},
        {"huge-sfnt", changed([](auto& layout) { layout.totalSfntSize = 0xFFFFFFF0; })},
        {"table-past-end", changed([](auto& layout) { layout.tables.back().offset = 0x7FFFFFF0; })},
        {"compressed-longer",
         changed([](auto& layout) { layout.tables.back().compLength = 0x00100000; })},
        {"empty-directory", changed([](auto& layout) { layout.tables.clear(); })},
    };
}

// WOFF2 files, well-formed and each with one field of the wrapper wrong.
std::vector<Seed> woff2Seeds() {
    const std::string font = testsupport::trueTypeFontNamed(u"Wrapped in WOFF2");
    const std::string other = testsupport::trueTypeFontNamed(u"Second in WOFF2");
    return {
        {"plain", testsupport::woff2Bytes({.sfnt = font})},
        {"collection", testsupport::woff2Bytes({.sfnt = font, .collection = {font, other}})},
        {"name-transformed", testsupport::woff2Bytes({.sfnt = font, .nameTransform = 1})},
        {"huge-sfnt", testsupport::woff2Bytes({.sfnt = font, .totalSfntSize = 0xFFFFFFF0})},
        {"name-length-huge",
         testsupport::woff2Bytes({.sfnt = font, .nameLength = testsupport::base128(0x7FFFFFFF)})},
        {"stream-cut", testsupport::woff2Bytes({.sfnt = font, .stream = "\x1b\x03"})},
        {"length-short", testsupport::woff2Bytes({.sfnt = font, .length = 48})},
        // A few hundred bytes whose stream inflates to 64 MiB of zeros before the name table.
        {"zeros-before-name", testsupport::woff2Bytes({.sfnt = font, .leadingZeros = 64U << 20})},
    };
}

std::vector<Seed> type1Seeds() {
    using testsupport::pfbFont;
    using testsupport::typicalClearText;
    std::vector<Seed> seeds;
    seeds.push_back({"typical-cr", pfbFont(typicalClearText("Example Serif Bold"))});
    seeds.push_back({"typical-lf", pfbFont(typicalClearText("Example Serif", "Example Serif",
                                                            "Regular", "002.000", "\n"))});
    seeds.push_back({"typical-crlf", pfbFont(typicalClearText("Caf\xE9 Italic", "Caf\xE9", "Italic",
                                                              "001.001", "\r\n"))});
    seeds.push_back({"empty-value", pfbFont(typicalClearText(""))});
    seeds.push_back({"blanks", pfbFont(typicalClearText("  Times Roman  "))});
    seeds.push_back({"escaped-parenthesis", pfbFont(typicalClearText("A \\) B"))});
    seeds.push_back(
        {"no-opening-parenthesis", pfbFont("%!FontType1\r11 dict begin\r/FullName Name) def\r")});
    seeds.push_back({"no-full-name", pfbFont("%!PS-AdobeFont-1.0: X\r/FamilyName (X) def\r")});
    seeds.push_back({"no-begin", pfbFont("%!PS-AdobeFont-1.0\r/version (1) /FullName (F) "
                                         "/FamilyName (F) /Weight (W)\r")});
    seeds.push_back({"window-edge", pfbFont(std::string(2960, ' ') + "/FullName (Cut Off)")});
    seeds.push_back({"hundred-bytes", pfbFont("%!\r/FullName (Short) begin").substr(0, 100)});
    seeds.push_back({"truetype-bytes", testsupport::trueTypeFontNamed(u"Not Type 1")});
    seeds.push_back({"one-byte", "\x80"});
    seeds.push_back({"empty", ""});
    return seeds;
}

std::vector<Seed> htmlLineSeeds() {
    return {
        {"plain", htmlLineInput("Example Sans Bold", "/home/user/fonts/example.ttf")},
        {"forbidden", htmlLineInput(" a\\b/c:d*e?f\"g<h>i|j.k ", "/fonts/x.pfb")},
        {"markup", htmlLineInput("Tom & Jerry <1> \"x\"", "/a&b<c>d\"e/100%/#1?.ttf")},
        {"controls", htmlLineInput("tab\there\r\n", "/a\tb\r\n\x7F.ttf")},
        {"utf8", htmlLineInput("Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "/fonts/caf\xC3\xA9.ttf")},
        {"error-text", htmlLineInput("error: Overflow", "/fonts/broken.ttf")},
        {"nul", htmlLineInput(std::string("A\0B", 3), "/fonts/nul.pfb")},
        {"empty", ""},
    };
}

} // namespace

std::string htmlLineInput(std::string_view name, std::string_view path) {
    const std::string_view cut = name.substr(0, std::min<std::size_t>(name.size(), 255));
    std::string input(1, static_cast<char>(cut.size()));
    input += cut;
    input += path;
    return input;
}

std::vector<Seed> writerSeeds(std::string_view targetId) {
    if (targetId == "tt_name" || targetId == "tt_report") {
        std::vector<Seed> seeds = trueTypeSeeds();
        for (Seed& seed : collectionSeeds()) {
            seeds.push_back(std::move(seed));
        }
        return seeds;
    }
    if (targetId == "t1_name" || targetId == "t1_report") {
        return type1Seeds();
    }
    if (targetId == "woff") {
        return woffSeeds();
    }
    if (targetId == "woff2") {
        return woff2Seeds();
    }
    if (targetId == "html_line") {
        return htmlLineSeeds();
    }
    return {};
}

} // namespace fuzzing
