#include "truetype/NameTableReport.h"

#include "runtime/OpenFontFile.h"

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/Text.h"
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

using runtime::text::kCrLf;

// Every string of a name table lies within 64 KiB of its storage start, so a real report
// stays small. Records can point at the same string over and over, though: 32767 records of
// 32767 bytes each would make a report of more than a gigabyte from a font of 400 KB. The
// report reads at most this many string bytes from the file in all; a table that needs more is
// refused as out of memory, like any report that could not be built.
constexpr std::int64_t kStringBytesLimit = 4 * 1024 * 1024;
// A collection's header, or a suitcase's map, can list the same font tens of thousands of
// times. Its fonts share one limit on the string bytes and one on the directory entries and
// name records read (a font's own are at most 2048 and 32767), and the report one on its size.
constexpr std::int64_t kStructuresLimit = 512 * 1024;
constexpr std::size_t kCollectionTextLimit = 32 * 1024 * 1024;

// What one report may still read; beyond it the report is refused as out of memory.
class ReportBudget {
public:
    void spendStringBytes(std::int64_t count) { spend(stringBytes_, count); }
    void spendStructures(std::int64_t count) { spend(structures_, count); }

private:
    static void spend(std::int64_t& left, std::int64_t count) {
        left -= count;
        if (left < 0) {
            throw runtime::Failure(runtime::FailureNumber::OutOfMemory);
        }
    }

    std::int64_t stringBytes_ = kStringBytesLimit;
    std::int64_t structures_ = kStructuresLimit;
};

// A field the report needs; an overflow fails the report.
std::int16_t orOverflow(std::optional<std::int16_t> field) {
    if (!field) {
        throw runtime::Failure(runtime::FailureNumber::Overflow);
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
void appendRecordLines(std::string& text, runtime::FontFileReader& font,
                       const NameTableLocation& table, NameRecord& record, std::uint8_t platform,
                       std::int64_t times, LanguageLabels& languages, ReportBudget& budget,
                       runtime::NameDecoding decoding) {
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
std::string reportText(runtime::FontFileReader& font, const std::string& fontPath,
                       std::int64_t offsetTableAt, ReportBudget& budget,
                       runtime::NameDecoding decoding, std::int64_t tableOffsetsFrom = 0) {
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
std::string fontsReportText(runtime::FontFileReader& font, const std::string& fontPath,
                            Fonts& fonts, runtime::NameDecoding decoding) {
    ReportBudget budget;
    const std::string ofCount = " of " + std::to_string(fonts.fontCount());
    std::string text;
    for (std::int64_t i = 0; i < fonts.fontCount(); ++i) {
        text += "Font " + std::to_string(i + 1) + ofCount;
        text += kCrLf;
        const std::int64_t offsetTableAt = fonts.offsetTableAt(i);
        text += reportText(font, fontPath, offsetTableAt, budget, decoding,
                           fonts.tableOffsetsFrom(offsetTableAt));
        if (text.size() > kCollectionTextLimit) {
            throw runtime::Failure(runtime::FailureNumber::OutOfMemory);
        }
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

runtime::FontReport TTReportFromReader(runtime::FontFileReader& font, const std::string& fontPath,
                                       runtime::NameDecoding decoding) {
    try {
        ReportBudget budget;
        return {reportText(font, fontPath, 0, budget, decoding), false};
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

runtime::FontReport TTReport(const std::string& fontPath, runtime::NameDecoding decoding) {
    return runtime::reportOfFontFile(
        fontPath, [decoding](runtime::FontFileReader& font, const std::string& path) {
            return TTReportFromReader(font, path, decoding);
        });
}

runtime::FontReport TTCReportFromReader(runtime::FontFileReader& font, const std::string& fontPath,
                                        runtime::NameDecoding decoding) {
    try {
        CollectionFonts fonts{CollectionHeader(font)};
        return {fontsReportText(font, fontPath, fonts, decoding), false};
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

runtime::FontReport TTCReport(const std::string& fontPath, runtime::NameDecoding decoding) {
    return runtime::reportOfFontFile(
        fontPath, [decoding](runtime::FontFileReader& font, const std::string& path) {
            return TTCReportFromReader(font, path, decoding);
        });
}

runtime::FontReport SuitcaseReportFromReader(runtime::FontFileReader& font,
                                             const std::string& fontPath,
                                             runtime::NameDecoding decoding) {
    try {
        SuitcaseFonts fonts{SuitcaseMap(font)};
        return {fontsReportText(font, fontPath, fonts, decoding), false};
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

} // namespace truetype
