// WOFF files: the wrapped font's name and report, stored raw or deflated, and what a damaged
// wrapper gives.
#include "fontlist/FontTypes.h"
#include "platform/FontFileReader.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "support/LookupCost.h"
#include "support/PythonPeer.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

namespace {

using testsupport::WoffLayout;
using Table = testsupport::WoffTableLayout;

// Long enough that deflating the `name` table makes it smaller.
const std::string kFont = testsupport::trueTypeFont(
    {.records = {{.platform = 1, .encoding = 0, .language = 0, .bytes = "Woff Mac Name"},
                 {.nameId = 1, .bytes = testsupport::utf16be(u"Woff Sans Woff Sans Woff Sans")},
                 {.bytes = testsupport::utf16be(u"Woff Sans Woff Sans Woff Sans Bold")}}});

fontcore::FontReport ttfReport(const std::string& bytes, const std::string& path) {
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return truetype::TTReportFromReader(reader, path);
}

testsupport::WoffTableLayout& nameTableOf(WoffLayout& layout) {
    for (testsupport::WoffTableLayout& table : layout.tables) {
        if (table.tag == "name") {
            return table;
        }
    }
    throw std::logic_error("no name table");
}

TEST(Woff, ReadsAsTheFontItWrapsStoredRawOrDeflated) {
    testsupport::TempDir dir;
    std::string real;
    if (std::ifstream in{"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", std::ios::binary}) {
        real.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (const std::string& font : {kFont, real}) {
        if (font.empty()) {
            continue;
        }
        const std::string ttf = dir.write("font.ttf", font);
        for (const bool compress : {false, true}) {
            WoffLayout layout = testsupport::woffLayoutOf(font, compress);
            const testsupport::WoffTableLayout& name = nameTableOf(layout);
            EXPECT_EQ(name.stored.size() < name.origLength, compress);
            const std::string woff = dir.write("font.woff", testsupport::woffBytes(layout));
            EXPECT_EQ(fontlist::nameOf(woff).value().text(), fontlist::nameOf(ttf).value().text());
            EXPECT_EQ(fontlist::reportOf(woff).value().text, ttfReport(font, woff).text);
        }
    }
    EXPECT_EQ(fontlist::nameOf(dir.file("font.woff")).value().text(),
              real.empty() ? "Woff Sans Woff Sans Woff Sans Bold" : "DejaVu Sans");
}

TEST(Woff, ADamagedWrapperGivesAFailureNeverACrash) {
    const struct {
        const char* fault;
        void (*damage)(WoffLayout&, Table& name);
    } cases[] = {
        {"bad signature", [](WoffLayout& l, Table&) { l.signature = "wOF3"; }},
        {"length is not the file's", [](WoffLayout& l, Table&) { l.length = 1000000; }},
        {"huge totalSfntSize", [](WoffLayout& l, Table&) { l.totalSfntSize = 0xF0000000; }},
        {"sfnt smaller than a table", [](WoffLayout& l, Table&) { l.totalSfntSize = 20; }},
        {"table past the end", [](WoffLayout&, Table& t) { t.offset = 0xFFFFFF00; }},
        {"table runs past the end",
         [](WoffLayout& l, Table& t) {
             l.totalSfntSize = 0x20000;
             t.compLength = t.origLength = 0x10000;
         }},
        {"compLength above origLength",
         [](WoffLayout&, Table& t) {
             t.origLength = static_cast<std::uint32_t>(t.stored.size()) - 1;
         }},
        {"inflates to less", [](WoffLayout&, Table& t) { t.origLength += 1; }},
        {"inflates to more", [](WoffLayout&, Table& t) { t.origLength -= 1; }},
        {"stream fails", [](WoffLayout&, Table& t) { t.stored[0] = 0; }},
        {"no name table",
         [](WoffLayout& l, Table&) {
             std::erase_if(l.tables, [](const Table& t) { return t.tag == "name"; });
         }},
    };
    testsupport::TempDir dir;
    const std::string path = dir.file("font.woff");
    const std::string overflow = "Overflow error encountered while reading font: \r\n" + path +
                                 "\r\nIf possible, please report problem to "
                                 "support@quillvane.example.org . Thanks!";
    for (const auto& c : cases) {
        WoffLayout layout = testsupport::woffLayoutOf(kFont);
        c.damage(layout, nameTableOf(layout));
        dir.write("font.woff", testsupport::woffBytes(layout));
        EXPECT_EQ(fontlist::nameOf(path).value().text(), "error: Overflow") << c.fault;
        EXPECT_EQ(fontlist::reportOf(path).value().text, overflow) << c.fault;
    }
    // Cut short inside its header.
    dir.write("font.woff", testsupport::woffFont(kFont).substr(0, 40));
    EXPECT_EQ(fontlist::nameOf(path).value().text(), "error: Overflow");
}

// A `name` table padded with zeros to a declared 256 MiB, from 260 KB of stream: refused by its
// declared length before anything is inflated, while one of 1 MiB still reads.
TEST(Woff, ANameTableDeclaredHugeIsRefusedCheaply) {
    testsupport::TempDir dir;
    const std::string path = dir.file("bomb.woff");
    for (const std::uint32_t length : {std::uint32_t{1} << 20, (256U << 20) - (64U << 10)}) {
        WoffLayout layout = testsupport::woffLayoutOf(kFont, false);
        Table& name = nameTableOf(layout);
        name.stored = testsupport::deflatedWithZeros(name.stored, length - name.origLength);
        name.origLength = length;
        dir.write("bomb.woff", testsupport::woffBytes(layout));
        std::string text;
        const testsupport::LookupCost cost =
            testsupport::costOf([&] { text = fontlist::nameOf(path).value().text(); });
        EXPECT_EQ(text,
                  length > (1U << 20) ? "error: Overflow" : "Woff Sans Woff Sans Woff Sans Bold");
        EXPECT_LT(cost.seconds, 0.5);
        EXPECT_LT(cost.peakGrowthBytes, 64 << 20);
    }
}

// fontTools, as a peer, reads the same full name from the writer's file.
TEST(Woff, FontToolsReadsTheSameName) {
    if (!testsupport::pythonHas("fontTools")) {
        GTEST_SKIP() << "no fontTools for /usr/bin/python3";
    }
    testsupport::TempDir dir;
    const std::string path = dir.write("font.woff", testsupport::woffFont(kFont));
    const std::optional<std::string> out = testsupport::pythonOutput(
        "import sys; from fontTools.ttLib import TTFont; "
        "print(TTFont(sys.argv[1], lazy=True)[\"name\"].getName(4, 3, 1, 0x409).toUnicode(), "
        "end=\"\")",
        {path});
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, fontlist::nameOf(path).value().text());
}

} // namespace
