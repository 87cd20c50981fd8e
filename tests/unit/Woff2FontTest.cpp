// WOFF2 fonts: the name table comes back as the font stores it, and every damaged or hostile
// wrapper gives Overflow.
#include "truetype/Woff2Font.h"
#include "fontlist/FontTypes.h"
#include "platform/FontFileReader.h"
#include "truetype/NameTableReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/FailureNumber.h"
#include "support/LookupCost.h"
#include "support/PythonPeer.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/Woff2Writer.h"

namespace {

using testsupport::Woff2Layout;

std::span<const std::uint8_t> bytesOf(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::vector<std::uint8_t> sfntOf(const std::string& woff2) {
    platform::FontFileReader reader(bytesOf(woff2));
    return truetype::woff2Sfnt(reader);
}

// The bytes of the table the font's directory lists under tag.
std::string tableOf(const std::string& font, const std::string& tag) {
    const auto u32 = [&](std::size_t at) {
        return (std::uint32_t{static_cast<std::uint8_t>(font[at])} << 24) |
               (std::uint32_t{static_cast<std::uint8_t>(font[at + 1])} << 16) |
               (std::uint32_t{static_cast<std::uint8_t>(font[at + 2])} << 8) |
               static_cast<std::uint8_t>(font[at + 3]);
    };
    const std::size_t tables = (u32(4) >> 16);
    for (std::size_t record = 12; record < 12 + 16 * tables; record += 16) {
        if (font.substr(record, 4) == tag) {
            return font.substr(u32(record + 8), u32(record + 12));
        }
    }
    return {};
}

std::string randomBytes(std::size_t size) {
    std::mt19937 random(25);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    return bytes;
}

const std::string kFont = testsupport::trueTypeFont(
    {.records = {{.platform = 1, .encoding = 0, .language = 0, .bytes = "Quill Mac"},
                 {.bytes = testsupport::utf16be(u"Quill Sans Bold")}}});

TEST(Woff2Font, GivesTheNameTableByteForByteAndItsName) {
    const std::string name = tableOf(kFont, "name");
    // The name table among others, after a large incompressible one, and before one.
    const std::string big = randomBytes(256 << 10);
    const std::string fonts[] = {
        kFont,
        testsupport::trueTypeBytes(
            {.tables = {{"head", std::string(54, '\x02')}, {"CFF ", big}, {"name", name}}}),
        testsupport::trueTypeBytes(
            {.tables = {{"head", std::string(54, '\x02')}, {"name", name}, {"zzzz", big}}}),
    };
    for (const std::string& font : fonts) {
        const std::string woff2 = testsupport::woff2Bytes({.sfnt = font});
        platform::FontFileReader reader(bytesOf(woff2));
        const std::vector<std::uint8_t> sfnt = truetype::woff2Sfnt(reader);
        ASSERT_EQ(sfnt.size(), 28 + name.size());
        EXPECT_EQ(std::string(sfnt.begin() + 28, sfnt.end()), name);
        platform::FontFileReader wrapped(sfnt);
        EXPECT_EQ(truetype::TTEnglishNameFromReader(wrapped).text(), "Quill Sans Bold");
        if (&font == &fonts[2]) {
            // Inflating stops with the name table: the stream of the large table after it is
            // never read.
            EXPECT_LT(reader.fetchCount(), 4u);
        }
    }
    // Without a name table: an sfnt of no tables, which the lookup takes as it takes such a
    // TrueType font.
    const std::string nameless =
        testsupport::trueTypeBytes({.tables = {{"head", std::string(54, '\x02')}}});
    const std::vector<std::uint8_t> none = sfntOf(testsupport::woff2Bytes({.sfnt = nameless}));
    EXPECT_EQ(none.size(), 12u);
    platform::FontFileReader empty(none);
    platform::FontFileReader original(bytesOf(nameless));
    EXPECT_EQ(truetype::TTEnglishNameFromReader(empty).text(),
              truetype::TTEnglishNameFromReader(original).text());
    // A collection: its first font's name table, found through the collection directory.
    const std::vector<std::uint8_t> first = sfntOf(testsupport::woff2Bytes(
        {.collection = {kFont, testsupport::trueTypeFontNamed(u"Second Font")}}));
    platform::FontFileReader firstFont(first);
    EXPECT_EQ(truetype::TTEnglishNameFromReader(firstFont).text(), "Quill Sans Bold");
}

TEST(Woff2Font, DamagedOrHostileWrappersOverflow) {
    const std::string stream =
        testsupport::brotliCompressed(std::string(54, '\x02') + tableOf(kFont, "name"));
    // The name table last in the stream: it must end with the table.
    const std::string nameLast = testsupport::trueTypeBytes(
        {.tables = {{"head", std::string(54, '\x02')}, {"name", tableOf(kFont, "name")}}});
    const std::uint32_t nameLength = static_cast<std::uint32_t>(tableOf(kFont, "name").size());
    const std::string good = testsupport::woff2Bytes({.sfnt = kFont});
    const Woff2Layout cases[] = {
        {.sfnt = kFont, .signature = "wOFF"},
        {.sfnt = kFont, .length = static_cast<std::uint32_t>(good.size() + 1)},
        {.sfnt = kFont, .nameLength = std::string("\x80\x81", 2)},                 // leading zero
        {.sfnt = kFont, .nameLength = std::string("\x81\x80\x80\x80\x80\x00", 6)}, // 6 bytes
        {.sfnt = kFont, .nameLength = std::string("\x90\x80\x80\x80\x00", 5)},     // past 32 bits
        {.sfnt = kFont, .totalCompressedSize = 0x7FFFFFFF},
        {.sfnt = kFont, .totalSfntSize = (256U << 20) + 1},
        {.sfnt = kFont, .nameTransform = 1},
        {.sfnt = kFont, .stream = std::string(200, '\xFF')},            // not brotli
        {.sfnt = kFont, .stream = stream.substr(0, stream.size() / 2)}, // cut short
        {.sfnt = kFont, .stream = stream},                              // ends before the name does
        {.sfnt = nameLast, .nameLength = testsupport::base128(nameLength - 1)}, // inflates past
    };
    for (const Woff2Layout& layout : cases) {
        try {
            sfntOf(testsupport::woff2Bytes(layout));
            ADD_FAILURE() << "no failure for case " << (&layout - cases);
        } catch (const platform::Failure& failure) {
            EXPECT_TRUE(failure.is(platform::FailureNumber::Overflow)) << (&layout - cases);
        }
    }
}

// A 255 MiB table of zeros before the name table, in a file of a few hundred bytes: refused by
// what it declares against the file's size before anything is inflated. A table of zeros that
// any file may declare (just under 1 MiB) is inflated and the name read.
TEST(Woff2Font, AHugeTableBeforeTheNameIsRefusedCheaply) {
    testsupport::TempDir dir;
    const std::string path = dir.file("bomb.woff2");
    for (const std::uint32_t zeros : {(1U << 20) - 4096, 255U << 20}) {
        const std::string bomb = testsupport::woff2Bytes({.sfnt = kFont, .leadingZeros = zeros});
        EXPECT_LT(bomb.size(), 2000u);
        dir.write("bomb.woff2", bomb);
        std::string text;
        const testsupport::LookupCost cost =
            testsupport::costOf([&] { text = fontlist::nameOf(path).value().text(); });
        EXPECT_EQ(text, zeros > (1U << 20) ? "error: Overflow" : "Quill Sans Bold");
        EXPECT_LT(cost.seconds, 0.1);
        EXPECT_LT(cost.peakGrowthBytes, 64 << 20);
    }
}

#ifndef _WIN32
std::string woff2Name(const std::string& path) {
    platform::FontFileReader reader(path);
    const std::vector<std::uint8_t> sfnt = truetype::woff2Sfnt(reader);
    platform::FontFileReader wrapped(sfnt);
    return truetype::TTEnglishNameFromReader(wrapped).text();
}
#endif

// fontTools as a peer: it reads the writer's file with the same full name, and its WOFF2 of a
// real Debian font (glyf, loca and hmtx transformed) reads with the TrueType font's name.
TEST(Woff2Font, AgreesWithFontTools) {
#ifdef _WIN32
    GTEST_SKIP() << "fontTools runs on the Debian host only";
#else
    if (!testsupport::pythonHas("fontTools, brotli")) {
        GTEST_SKIP() << "/usr/bin/python3 lacks fontTools or brotli (python3-fonttools, "
                        "python3-brotli)";
    }
    testsupport::TempDir dir;
    const std::string path = dir.write("quill.woff2", testsupport::woff2Bytes({.sfnt = kFont}));
    EXPECT_EQ(
        testsupport::pythonOutput("import sys; from fontTools.ttLib import TTFont; "
                                  "print(TTFont(sys.argv[1])[\"name\"].getName(4, 3, 1, 0x409))",
                                  {path}),
        "Quill Sans Bold\n");
    EXPECT_EQ(woff2Name(path), "Quill Sans Bold");
    const std::string real = "/usr/share/fonts/truetype/dejavu/DejaVuSans-ExtraLight.ttf";
    if (std::filesystem::exists(real)) {
        const std::string converted = dir.file("extralight.woff2");
        ASSERT_TRUE(testsupport::pythonOutput(
            "import sys; from fontTools.ttLib import woff2; woff2.compress(*sys.argv[1:])",
            {real, converted}));
        EXPECT_EQ(woff2Name(converted), truetype::TTEnglishName(real).text());
    }
#endif
}

} // namespace
