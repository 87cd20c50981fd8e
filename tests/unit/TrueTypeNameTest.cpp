// The full-name lookup over fonts built by the TrueType writer: the record choice, the 16-bit
// overflow rules, the string decoding and the directory search.
#include "truetype/NameTableReader.h"

#include <dirent.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "support/TrueTypeWriter.h"

namespace {

using testsupport::NameRecordLayout;
using testsupport::NameTableLayout;
using testsupport::utf16be;

std::string lookup(const std::string& fontBytes) {
    testsupport::TempDir dir;
    return truetype::TTEnglishName(dir.write("font.ttf", fontBytes)).text();
}

NameRecordLayout record(std::uint16_t platform, std::uint16_t nameId, std::string bytes,
                        std::uint16_t encoding = 1, std::uint16_t language = 0x0409) {
    return NameRecordLayout{platform, encoding, language, nameId, std::move(bytes)};
}

struct ChoiceCase {
    const char* what;
    std::vector<NameRecordLayout> records;
    std::string expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << c.what;
}

class RecordChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(RecordChoice, PicksTheRightRecord) {
    NameTableLayout names;
    names.records = GetParam().records;
    EXPECT_EQ(lookup(testsupport::trueTypeFont(names)), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, RecordChoice,
    ::testing::Values(
        ChoiceCase{"Windows after Macintosh wins",
                   {record(1, 4, "Mac Name", 0, 0), record(3, 4, utf16be(u"Win Name"))},
                   "Win Name"},
        ChoiceCase{"the last Windows record wins, whatever its language",
                   {record(3, 4, utf16be(u"English"), 1, 0x0409),
                    record(3, 4, utf16be(u"Canadien"), 1, 0x0C0C)},
                   "Canadien"},
        ChoiceCase{"the first of Macintosh and Unicode wins without Windows",
                   {record(1, 4, "Mac First", 0, 0), record(0, 4, utf16be(u"Unicode"), 3, 0)},
                   "Mac First"},
        ChoiceCase{"Unicode first wins over a later Macintosh record",
                   {record(0, 4, utf16be(u"Unicode"), 3, 0), record(1, 4, "Mac", 0, 0)},
                   "Unicode"},
        ChoiceCase{"Windows symbol encoding qualifies",
                   {record(3, 4, utf16be(u"Symbolic"), 0)},
                   "Symbolic"},
        ChoiceCase{"records of platform 2 never qualify", {record(2, 4, "Iso", 0, 0)}, ""},
        ChoiceCase{"other name IDs do not qualify",
                   {record(3, 1, utf16be(u"Family")), record(3, 6, utf16be(u"PSName"))},
                   ""},
        ChoiceCase{"the platform is read from its low byte: 259 is Windows",
                   {record(1, 4, "Mac", 0, 0), record(259, 4, utf16be(u"Low Byte"))},
                   "Low Byte"},
        ChoiceCase{"platform 4 and up are skipped unread",
                   {record(7, 4, "Seven", 0xFFFF, 0xFFFF), record(3, 4, utf16be(u"Win"))},
                   "Win"},
        ChoiceCase{"an empty table gives the empty text", {}, ""}));

// Every failure of the lookup is the text "error: " followed by the description.
TEST(TrueTypeName, SixteenBitFieldsOfThirtyTwoThousandSevenHundredSixtyEightOrMoreOverflow) {
    const auto withRecords = [](std::vector<NameRecordLayout> records) {
        NameTableLayout names;
        names.records = std::move(records);
        return testsupport::trueTypeFont(names);
    };
    const NameRecordLayout good = record(3, 4, utf16be(u"Good"));

    NameTableLayout bigCount;
    bigCount.records = {good};
    bigCount.count = 0x8000;
    EXPECT_EQ(lookup(testsupport::trueTypeFont(bigCount)), "error: Overflow");

    // Encoding, language and name ID of any record of platform 0 to 3, chosen or not, and
    // also after a qualifying record has been seen.
    EXPECT_EQ(lookup(withRecords({good, record(3, 1, "x", 0x8000)})), "error: Overflow");
    EXPECT_EQ(lookup(withRecords({good, record(0, 1, "x", 3, 0x8000)})), "error: Overflow");
    EXPECT_EQ(lookup(withRecords({good, record(2, 0xFFFF, "x", 0)})), "error: Overflow");
    // The same fields of a platform-4 record are never read.
    EXPECT_EQ(lookup(withRecords({good, record(4, 0xFFFF, "x", 0x8000, 0x8000)})), "Good");

    // Length and offset count only for the chosen record.
    NameRecordLayout longString = good;
    longString.length = 0x8000;
    EXPECT_EQ(lookup(withRecords({longString})), "error: Overflow");
    NameRecordLayout farString = good;
    farString.offset = 0x8000;
    EXPECT_EQ(lookup(withRecords({farString})), "error: Overflow");
    NameRecordLayout unchosen = record(3, 1, "x");
    unchosen.length = 0xFFFF;
    EXPECT_EQ(lookup(withRecords({unchosen, good})), "Good");
    // 32767 is still a value.
    NameRecordLayout edge = record(3, 4, utf16be(u"Edge"), 0x7FFF, 0x7FFF);
    EXPECT_EQ(lookup(withRecords({edge})), "Edge");
}

TEST(TrueTypeName, FilesWithoutNameTableOverflowAfterTwoThousandFortyEightEntries) {
    EXPECT_EQ(lookup(""), "error: Overflow");
    EXPECT_EQ(lookup(std::string(20, '\x01')), "error: Overflow");
    EXPECT_EQ(lookup("This is a plain text file, not a font.\n"), "error: Overflow");
    EXPECT_EQ(lookup(testsupport::trueTypeBytes({{{"head", std::string(54, '\0'), {}}}})),
              "error: Overflow");
}

TEST(TrueTypeName, DirectorySearchIgnoresTableCountAndCase) {
    NameTableLayout names;
    names.records = {record(3, 4, utf16be(u"Found"))};
    const std::string table = testsupport::nameTableBytes(names);

    testsupport::FontLayout capitals{{{"head", std::string(54, '\0'), {}}, {"NAME", table, {}}}};
    EXPECT_EQ(lookup(testsupport::trueTypeBytes(capitals)), "Found");

    // The declared number of tables is never consulted.
    testsupport::FontLayout zeroTables = capitals;
    zeroTables.numTables = 0;
    EXPECT_EQ(lookup(testsupport::trueTypeBytes(zeroTables)), "Found");

    // Only the three low-order bytes of the offset count: 0x01 0x00 0x01 0x00 is offset 256.
    std::string font = testsupport::trueTypeBytes(
        {{{"name", "", std::array<std::uint8_t, 4>{0x01, 0x00, 0x01, 0x00}}}});
    font.resize(256, '\0');
    font += table;
    EXPECT_EQ(lookup(font), "Found");

    // Entry 2047 is the last one looked at.
    std::string far(12 + 16 * 2048 + 16, '\0');
    const auto place = [&far, &table](std::size_t entry) {
        std::string copy = far;
        const std::size_t at = 12 + 16 * entry;
        copy.replace(at, 4, "name");
        const std::uint32_t offset = static_cast<std::uint32_t>(copy.size());
        copy.replace(at + 8, 4, testsupport::bigEndian32(offset));
        return copy + table;
    };
    EXPECT_EQ(lookup(place(2047)), "Found");
    EXPECT_EQ(lookup(place(2048)), "error: Overflow");
}

TEST(TrueTypeName, StringsAreTakenByteForByteWithoutNuls) {
    const auto named = [](std::string bytes, std::uint16_t platform = 3) {
        NameTableLayout names;
        names.records = {record(platform, 4, std::move(bytes), platform == 1 ? 0 : 1)};
        return lookup(testsupport::trueTypeFont(names));
    };
    // U+00E9 is stored as 0x00 0xE9; the zero drops out and 0xE9 is the Windows-1252 e acute.
    EXPECT_EQ(named(utf16be(u"Caf\u00E9")), "Caf\xC3\xA9");
    // U+5E73 comes out as its two bytes, 0x5E and 0x73.
    EXPECT_EQ(named(utf16be(u"\u5E73")), "^s");
    // A Macintosh byte is not converted from the Macintosh character set: 0x8E is the
    // Windows-1252 character Z caron.
    EXPECT_EQ(named("Caf\x8E", 1), "Caf\xC5\xBD");
    EXPECT_EQ(named(std::string("A\0B\0\0", 5)), "AB");
    EXPECT_EQ(named(utf16be(u"  Spaced  ")), "  Spaced  ");
    EXPECT_EQ(named(""), "");
}

TEST(TrueTypeName, StringBeyondEndOfFileReadsAsNothing) {
    NameTableLayout names;
    NameRecordLayout beyond = record(3, 4, "");
    beyond.length = 40;
    beyond.offset = 0x7000;
    names.records = {beyond};
    EXPECT_EQ(lookup(testsupport::trueTypeFont(names)), "");

    // A font cut short in the middle of its string keeps the part that is there.
    const std::string whole = testsupport::trueTypeFontNamed(u"Truncated");
    const std::size_t end = whole.rfind(utf16be(u"Truncated")) + 2 * 5;
    EXPECT_EQ(lookup(whole.substr(0, end)), "Trunc");
}

TEST(TrueTypeName, MissingPathIsAnErrorAndCreatesNothing) {
    testsupport::TempDir dir;
    const std::string missing = dir.file("missing.ttf");
    EXPECT_EQ(truetype::TTEnglishName(missing).text(), "error: File not found");
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(truetype::TTEnglishName(dir.str()).text(), "error: Path/File access error");
}

TEST(TrueTypeName, ReadsFromMemoryLikeFromFile) {
    const std::string font = testsupport::trueTypeFontNamed(u"In Memory");
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(font.data()), font.size()));
    EXPECT_EQ(truetype::TTEnglishNameFromReader(reader).text(), "In Memory");
}

std::string readFromMemory(const std::string& font) {
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(font.data()), font.size()));
    return truetype::TTEnglishNameFromReader(reader).text();
}

// A file of more than 64 KiB is read in 4 KiB pages. Directory entries and name records that
// lie across a page boundary are read byte by byte, the others straight from the page; both
// ways must give the same results, overflows included.
TEST(TrueTypeName, EntriesAndRecordsAcrossPageBoundariesReadAlike) {
    NameTableLayout names;
    names.records = {record(1, 4, "Mac Name", 0, 0), record(3, 1, utf16be(u"Copyright")),
                     record(3, 4, utf16be(u"Windows Name"))};
    NameTableLayout overflowing = names;
    overflowing.records.push_back(record(3, 2, "x", 0x8000));
    const std::string good = testsupport::nameTableBytes(names);
    const std::string bad = testsupport::nameTableBytes(overflowing);

    // The name table at every alignment of its records to the page boundary at 68 KiB.
    for (std::size_t at = 17 * 4096 - 40; at < 17 * 4096 + 4; ++at) {
        std::string font =
            testsupport::trueTypeBytes({{{"name", "", std::array<std::uint8_t, 4>{0, 0, 0, 0}}}});
        font.replace(12 + 8, 4, testsupport::bigEndian32(static_cast<std::uint32_t>(at)));
        font.resize(at, '\0');
        EXPECT_EQ(readFromMemory(font + good), "Windows Name") << "table at " << at;
        EXPECT_EQ(readFromMemory(font + bad), "error: Overflow") << "table at " << at;
    }

    // The name entry on either side of a page boundary; the first page boundary in the
    // directory falls inside entry 255.
    for (const std::size_t entry : {254, 255, 256, 511, 2047}) {
        std::string font(12 + 16 * 2048, '\0');
        for (std::size_t i = 0; i < entry; ++i) {
            font.replace(12 + 16 * i, 4, "glyf");
        }
        font.replace(12 + 16 * entry, 4, "NAME");
        font.replace(12 + 16 * entry + 8, 4, testsupport::bigEndian32(70000));
        font.resize(70000, '\0');
        EXPECT_EQ(readFromMemory(font + good), "Windows Name") << "entry " << entry;
    }
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(TrueTypeName, ClosesTheFileOnEveryPath) {
#ifdef _WIN32
    GTEST_SKIP() << "open files are counted in /proc/self/fd";
#endif
    testsupport::TempDir dir;
    NameTableLayout overflowing;
    overflowing.count = 0x9000;
    const std::vector<std::string> paths{
        dir.write("good.ttf", testsupport::trueTypeFontNamed(u"Good")),
        dir.write("text.ttf", "plain text"),
        dir.write("overflow.ttf", testsupport::trueTypeFont(overflowing)),
        dir.file("missing.ttf"),
    };
    const std::size_t before = openDescriptors();
    for (int round = 0; round < 200; ++round) {
        for (const std::string& path : paths) {
            truetype::TTEnglishName(path);
        }
    }
    EXPECT_EQ(openDescriptors(), before);
}

TEST(TrueTypeName, ReadsLittleOfALargeFont) {
    // A name table far into a large file costs a few fetches, not one per byte.
    NameTableLayout names;
    for (std::uint16_t id = 0; id < 20; ++id) {
        names.records.push_back(record(3, id, utf16be(u"String of a record")));
    }
    std::string font =
        testsupport::trueTypeBytes({{{"glyf", std::string(1 << 20, '\x55'), {}},
                                     {"name", testsupport::nameTableBytes(names), {}}}});
    platform::FontFileReader reader(
        std::span(reinterpret_cast<const std::uint8_t*>(font.data()), font.size()));
    EXPECT_EQ(truetype::TTEnglishNameFromReader(reader).text(), "String of a record");
    EXPECT_LE(reader.fetchCount(), 4u);
}

// Real fonts from Debian packages that the setup installs. Their names are those that
// fontconfig's fc-scan reports as the full name.
TEST(TrueTypeName, RealFontsGiveTheirFullNames) {
    const struct {
        const char* path;
        const char* name;
    } fonts[] = {
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "DejaVu Sans"},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", "DejaVu Sans Bold"},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", "DejaVu Serif"},
        {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", "Liberation Sans"},
        {"/usr/share/fonts/truetype/liberation2/LiberationSerif-BoldItalic.ttf",
         "Liberation Serif Bold Italic"},
        {"/usr/share/fonts/truetype/liberation2/LiberationMono-Bold.ttf", "Liberation Mono Bold"},
    };
    int read = 0;
    for (const auto& font : fonts) {
        if (!std::filesystem::exists(font.path)) {
            continue;
        }
        EXPECT_EQ(truetype::TTEnglishName(font.path).text(), font.name) << font.path;
        ++read;
    }
    if (read == 0) {
        GTEST_SKIP() << "no DejaVu or Liberation fonts installed";
    }
}

} // namespace
