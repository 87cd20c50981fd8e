#include "truetype/NameTableReport.h"

#include "fontcore/OpenFontFile.h"

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "text/Text.h"
#include "truetype/CollectionHeader.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTable.h"
#include "truetype/SuitcaseMap.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace truetype {

namespace {

using text::kCrLf;

// Every string of a name table lies within 64 KiB of its storage start, so a real report
// stays small. Records can point at the same string over and over, though: 32767 records of
// 32767 bytes each would make a report of more than a gigabyte from a font of 400 KB. A report
// reads at most so many string bytes, directory entries and name records, and makes at most so
// much text, as the file's own size can back when each is read once (a string byte is a byte of
// the file, an entry or a record at least 12), and never less than the fixed floors below; a
// file that needs more (the same font or string listed over and over) is refused as out of
// memory, like any report that could not be built. So a suitcase of 65,535 small fonts is
// reported in full, while one font listed 65,535 times over is refused.
constexpr std::int64_t kStringBytesFloor = 4 * 1024 * 1024;
constexpr std::int64_t kStructuresFloor = 512 * 1024;
constexpr std::int64_t kStructureSize = 12;
constexpr std::int64_t kTextFloor = 32 * 1024 * 1024;
// The text of a font's lines is a few times its bytes: labels, and each byte as up to three of
// UTF-8; a collection's fonts each add a heading and a title with the path.
constexpr std::int64_t kTextPerFileByte = 8;

// What one report may still read and make; beyond it the report is refused as out of memory.
class ReportBudget {
public:
    explicit ReportBudget(platform::FontFileReader& font)
        : ReportBudget(static_cast<std::int64_t>(
              std::min<std::uint64_t>(font.size(), std::uint64_t{1} << 40))) {}

    void spendStringBytes(std::int64_t count) { spend(stringBytes_, count); }
    void spendStructures(std::int64_t count) { spend(structures_, count); }
    void checkText(std::size_t size) const {
        if (size > static_cast<std::size_t>(text_)) {
            outOfMemory();
        }
    }

private:
    explicit ReportBudget(std::int64_t fileSize)
        : stringBytes_(std::max(kStringBytesFloor, fileSize)),
          structures_(std::max(kStructuresFloor, fileSize / kStructureSize)),
          text_(std::max(kTextFloor, fileSize * kTextPerFileByte)) {}

    [[noreturn]] static void outOfMemory() {
        throw platform::Failure(platform::FailureNumber::OutOfMemory);
    }
    static void spend(std::int64_t& left, std::int64_t count) {
        left -= count;
        if (left < 0) {
            outOfMemory();
        }
    }

    std::int64_t stringBytes_;
    std::int64_t structures_;
    std::int64_t text_;
};

// A field the report needs; an overflow fails the report.
std::int16_t orOverflow(std::optional<std::int16_t> field) {
    if (!field) {
        throw platform::Failure(platform::FailureNumber::Overflow);
    }
    return *field;
}

// The language label of the records, remembered for the last language ID: a table holds a
// few languages, mostly in runs.
class LanguageLabels {
public:
    const std::string& of(std::int16_t languageId) {
        if (!label_ || languageId != languageId_) {
            label_ = FontLang(FontHex(languageId));
            languageId_ = languageId;
        }
        return *label_;
    }

private:
    std::int16_t languageId_ = 0;
    std::optional<std::string> label_;
};

// Appends the line of a record to text, times over, its string bytes spent from the budget once.
void appendRecordLines(std::string& text, platform::FontFileReader& font,
                       const NameTableLocation& table, NameRecord& record, std::uint8_t platform,
                       std::int64_t times, LanguageLabels& languages, ReportBudget& budget,
                       fontcore::NameDecoding decoding) {
    const std::int16_t encoding = orOverflow(record.encoding());
    const std::string& language = languages.of(orOverflow(record.language()));
    const std::int16_t nameId = orOverflow(record.nameId());
    const std::int16_t length = orOverflow(record.length());
    const StringPlace place = stringPlace(font, table, length, orOverflow(record.stringOffset()));
    budget.spendStringBytes(place.count);
    const std::size_t lineStart = text.size();
    text += PlatEnc(platform, encoding);
    text += ' ';
    text += language;
    text += ' ';
    text += NameField(nameId);
    appendRecordText(text, font, place, stringEncodingOf(decoding, platform, encoding));
    text += kCrLf;
    const std::size_t lineLength = text.size() - lineStart;
    text.reserve(text.size() + lineLength * static_cast<std::size_t>(times - 1));
    for (std::int64_t k = 1; k < times; ++k) {
        text.append(text, lineStart, lineLength);
    }
}

// The lines of the report of the font whose offset table lies at offsetTableAt; any failure
// passes to the caller, which discards what was built.
std::string reportText(platform::FontFileReader& font, const std::string& fontPath,
                       std::int64_t offsetTableAt, ReportBudget& budget,
                       fontcore::NameDecoding decoding, std::int64_t tableOffsetsFrom = 0) {
    std::string text = "NAME Table Info for " + fontPath;
    text += kCrLf;
    const NameTableLocation table = TTFindNameTable(font, offsetTableAt, tableOffsetsFrom);
    budget.spendStructures(table.entriesRead + std::max<std::int64_t>(table.recordCount, 0));
    text += "Name Records | " + std::to_string(table.recordCount);
    text += kCrLf;
    LanguageLabels languages;
    forEachRecord(font, table, [&](NameRecord& record, std::int64_t times) {
        const std::uint8_t platform = record.platform();
        if (platform < 4) { // the others are counted but get no line
            appendRecordLines(text, font, table, record, platform, times, languages, budget,
                              decoding);
        }
        return Walk::Next;
    });
    return text;
}

// The report of a file of several fonts: for each, in order, its heading and its report.
// fonts gives fontCount(), offsetTableAt(i) for each font, and where that font's table offsets
// count from.
template <typename Fonts>
std::string fontsReportText(platform::FontFileReader& font, const std::string& fontPath,
                            Fonts& fonts, fontcore::NameDecoding decoding) {
    ReportBudget budget(font);
    const std::string ofCount = " of " + std::to_string(fonts.fontCount());
    std::string text;
    for (std::int64_t i = 0; i < fonts.fontCount(); ++i) {
        text += "Font " + std::to_string(i + 1) + ofCount;
        text += kCrLf;
        const std::int64_t offsetTableAt = fonts.offsetTableAt(i);
        text += reportText(font, fontPath, offsetTableAt, budget, decoding,
                           fonts.tableOffsetsFrom(offsetTableAt));
        budget.checkText(text.size());
    }
    return text;
}

// A collection's fonts count their table offsets from the start of the file.
struct CollectionFonts {
    CollectionHeader header;
    std::int64_t fontCount() const noexcept { return header.fontCount(); }
    std::int64_t offsetTableAt(std::int64_t i) { return header.offsetTableAt(i); }
    static std::int64_t tableOffsetsFrom(std::int64_t) { return 0; }
};

// A suitcase's fonts are whole fonts, counting their table offsets from their own start.
struct SuitcaseFonts {
    SuitcaseMap map;
    std::int64_t fontCount() const noexcept { return map.fontCount(); }
    std::int64_t offsetTableAt(std::int64_t i) { return map.fontAt(i); }
    static std::int64_t tableOffsetsFrom(std::int64_t offsetTableAt) { return offsetTableAt; }
};

} // namespace

fontcore::FontReport TTReportFromReader(platform::FontFileReader& font, const std::string& fontPath,
                                        fontcore::NameDecoding decoding) {
    try {
        ReportBudget budget(font);
        return {reportText(font, fontPath, 0, budget, decoding), false};
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

fontcore::FontReport TTReport(const std::string& fontPath, fontcore::NameDecoding decoding) {
    return fontcore::reportOfFontFile(
        fontPath, [decoding](platform::FontFileReader& font, const std::string& path) {
            return TTReportFromReader(font, path, decoding);
        });
}

fontcore::FontReport TTCReportFromReader(platform::FontFileReader& font,
                                         const std::string& fontPath,
                                         fontcore::NameDecoding decoding) {
    try {
        CollectionFonts fonts{CollectionHeader(font)};
        return {fontsReportText(font, fontPath, fonts, decoding), false};
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

fontcore::FontReport TTCReport(const std::string& fontPath, fontcore::NameDecoding decoding) {
    return fontcore::reportOfFontFile(
        fontPath, [decoding](platform::FontFileReader& font, const std::string& path) {
            return TTCReportFromReader(font, path, decoding);
        });
}

fontcore::FontReport SuitcaseReportFromReader(platform::FontFileReader& font,
                                              const std::string& fontPath,
                                              fontcore::NameDecoding decoding) {
    try {
        SuitcaseFonts fonts{SuitcaseMap(font)};
        return {fontsReportText(font, fontPath, fonts, decoding), false};
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

} // namespace truetype
