// The "Unicode names" decoding of sfnt name strings: the chosen record by its platform, the
// report, wrapped and collected fonts, the byte-wise rule kept, and fontTools as a peer.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fontlist/FontTypes.h"
#include "support/CollectionWriter.h"
#include "support/PythonPeer.h"
#include "support/SuitcaseWriter.h"
#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"
#include "support/WoffWriter.h"

namespace {

using fontcore::NameDecoding;
using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

std::string lookup(const std::string& fontBytes, NameDecoding decoding) {
    testsupport::TempDir dir;
    return fontlist::nameOf(dir.write("font.ttf", fontBytes), decoding).value().text();
}

std::string fontOf(std::vector<NameRecordLayout> records) {
    NameTableLayout names;
    names.records = std::move(records);
    return testsupport::trueTypeFont(names);
}

NameRecordLayout record(std::uint16_t platform, std::uint16_t encoding, std::string bytes,
                        std::uint16_t language = 0x0409) {
    return NameRecordLayout{platform, encoding, language, 4, std::move(bytes)};
}

NameRecordLayout windows(std::string bytes) {
    return record(3, 1, std::move(bytes));
}

struct DecodingCase {
    const char* what;
    std::vector<NameRecordLayout> records;
    std::string unicode;  // the name under the Unicode decoding
    std::string byteWise; // and by the byte-wise rule, where the case pins it
};

TEST(UnicodeNames, TheChosenRecordIsDecodedByItsPlatformAndEncoding) {
    using S = std::string;
    const DecodingCase cases[] = {
        {"Cyrillic", {windows(utf16be(u"Шрифт Жирный"))}, "Шрифт Жирный", ""},
        {"CJK", {record(3, 1, utf16be(u"ゴシック体 太字"), 0x0411)}, "ゴシック体 太字", ""},
        {"surrogate pair, Unicode platform", {record(0, 4, utf16be(u"Q 😀"), 0)}, "Q 😀", ""},
        {"U+5E73", {windows(utf16be(u"平"))}, "平", "^s"},
        {"Latin-1 alike both ways", {windows(utf16be(u"Café"))}, "Café", "Café"},
        {"unpaired high surrogate", {windows(S("\xD8\x3D\x00\x41", 4))}, "\uFFFDA", ""},
        {"low surrogate alone at the end", {windows(S("\x00\x41\xDE\x00", 4))}, "A\uFFFD", ""},
        {"odd length", {windows(S("\x00\x41\x00", 3))}, "A\uFFFD", ""},
        {"U+0000 dropped", {windows(S("\x00\x41\x00\x00\x00\x42", 6))}, "AB", ""},
        {"Mac Roman", {record(1, 0, "Caf\x8E \xA5", 0)}, "Café •", "CafŽ ¥"},
        {"other Macintosh encodings", {record(1, 1, "\x83\x53", 0)}, "ƒS", "ƒS"},
        {"the chosen one's", {windows(utf16be(u"Жир")), record(1, 0, "M", 0)}, "Жир", ""},
    };
    for (const DecodingCase& c : cases) {
        const std::string font = fontOf(c.records);
        EXPECT_EQ(lookup(font, NameDecoding::Readable), c.unicode) << c.what;
        if (!c.byteWise.empty()) {
            EXPECT_EQ(lookup(font, NameDecoding::ByteWise), c.byteWise) << c.what;
        }
    }
}

// Past the end of the file every byte reads as zero: a UTF-16 unit that the end cuts in two
// keeps its high-order byte.
TEST(UnicodeNames, AStringCutByTheEndOfTheFileInsideAUnit) {
    const std::string whole = testsupport::trueTypeFontNamed(u"AĀB");
    const std::size_t end = whole.rfind(utf16be(u"AĀB")) + 3; // 0x00 0x41 0x01 | 0x00 ...
    EXPECT_EQ(lookup(whole.substr(0, end), NameDecoding::Readable), "AĀ");
}

// Wrapped and collected fonts read their names and reports with the decoding too.
TEST(UnicodeNames, ReachEveryKindOfSfntFileAndItsReport) {
    const std::string font = testsupport::trueTypeFontNamed(u"ゴシック体");
    testsupport::TempDir dir;
    for (const std::string& path :
         {dir.write("a.ttf", font), dir.write("b.otf", testsupport::openTypeFont(font)),
          dir.write("c.ttc", testsupport::fontCollection({.fonts = {font}})),
          dir.write("d.woff", testsupport::woffFont(font)),
          dir.write("e.dfont", testsupport::dataForkSuitcase({.fonts = {font}}))}) {
        EXPECT_EQ(fontlist::nameOf(path, NameDecoding::Readable).value().text(), "ゴシック体")
            << path;
        const std::string report = fontlist::reportOf(path, NameDecoding::Readable).value().text;
        EXPECT_NE(report.find("Full Font Name | ゴシック体\r\n"), std::string::npos) << path;
    }
}

#ifndef _WIN32
// The lines of a text, each without its CR LF or LF.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    }
    return lines;
}
#endif

// fontTools, as a peer, decodes every record of the same table: each line of the report ends
// with its decoding, and the name is that of the record the lookup chooses.
TEST(UnicodeNames, AgreeWithFontToolsOnEveryRecord) {
#ifdef _WIN32
    GTEST_SKIP() << "fontTools runs on the Debian host only";
#else
    if (!testsupport::pythonHas("fontTools")) {
        GTEST_SKIP() << "no fontTools for /usr/bin/python3 (python3-fonttools)";
    }
    testsupport::TempDir dir;
    // In the order fontTools keeps them: by platform, encoding, language and name ID.
    const std::string path =
        dir.write("font.ttf", fontOf({record(0, 4, utf16be(u"Quill 😀 Sans"), 0),
                                      record(1, 0, "Quill \xA5 Caf\x8E \xD0 \xDB", 0),
                                      {3, 1, 0x0409, 1, utf16be(u"Ελληνικά")},
                                      record(3, 1, utf16be(u"Шрифт Жирный")),
                                      record(3, 1, utf16be(u"ゴシック体 太字"), 0x0411)}));
    const std::optional<std::string> peerOutput = testsupport::pythonOutput(
        "import sys; from fontTools.ttLib import TTFont; "
        "out = \"\".join(r.toUnicode() + \"\\n\" for r in TTFont(sys.argv[1])[\"name\"].names); "
        "sys.stdout.buffer.write(out.encode(\"utf-8\"))",
        {path});
    ASSERT_TRUE(peerOutput);
    const std::string& out = *peerOutput;
    const std::vector<std::string> peer = linesOf(out);
    const std::vector<std::string> report =
        linesOf(fontlist::reportOf(path, NameDecoding::Readable).value().text);
    ASSERT_EQ(peer.size(), 5u) << out;
    ASSERT_EQ(report.size(), 2 + peer.size());
    for (std::size_t i = 0; i < peer.size(); ++i) {
        EXPECT_TRUE(report[2 + i].ends_with(" | " + peer[i])) << report[2 + i] << " / " << peer[i];
    }
    EXPECT_EQ(fontlist::nameOf(path, NameDecoding::Readable).value().text(), peer[3]); // US English
#endif
}

} // namespace
