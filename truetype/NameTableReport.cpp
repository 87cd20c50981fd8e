#include "truetype/NameTableReport.h"

#include "platform/Failure.h"
#include "text/Text.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTable.h"
#include "truetype/ReadableLabels.h"

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
template <typename Field>
Field orOverflow(std::optional<Field> field) {
    if (!field) {
        throw platform::Failure(platform::FailureNumber::Overflow);
    }
    return *field;
}

// The language label of the records, remembered for the last language ID (and platform, for
// readable names): a table holds a few languages, mostly in runs.
class LanguageLabels {
public:
    explicit LanguageLabels(bool readable) : readable_(readable) {}

    const std::string& of(std::uint8_t platform, std::int16_t languageId) {
        if (!readable_) {
            platform = 0; // the byte-wise labels know no platforms
        }
        if (!label_ || languageId != languageId_ || platform != platform_) {
            label_ = readable_ ? readableLanguageLabel(platform, languageId)
                               : FontLang(FontHex(languageId));
            languageId_ = languageId;
            platform_ = platform;
        }
        return *label_;
    }

private:
    bool readable_;
    std::uint8_t platform_ = 0;
    std::int16_t languageId_ = 0;
    std::optional<std::string> label_;
};

// Appends the line of a record to text, times over, its string bytes spent from the budget once.
void appendRecordLines(std::string& text, platform::FontFileReader& font,
                       const NameTableLocation& table, const NameRecordFields& record,
                       std::int64_t times, LanguageLabels& languages, ReportBudget& budget,
                       fontcore::NameDecoding decoding) {
    const std::int16_t encoding = orOverflow(record.encoding);
    const std::string& language = languages.of(record.platform, orOverflow(record.language));
    const std::int16_t nameId = orOverflow(record.nameId);
    const StringPlace place = orOverflow(stringPlace(font, table, record));
    budget.spendStringBytes(place.count);
    const std::size_t lineStart = text.size();
    text += PlatEnc(record.platform, encoding);
    text += ' ';
    text += language;
    text += ' ';
    text += decoding.readable() ? readableNameField(nameId) : NameField(nameId);
    appendRecordText(text, font, place, stringEncodingOf(decoding, record.platform, encoding));
    text += kCrLf;
    const std::size_t lineLength = text.size() - lineStart;
    text.reserve(text.size() + lineLength * static_cast<std::size_t>(times - 1));
    for (std::int64_t k = 1; k < times; ++k) {
        text.append(text, lineStart, lineLength);
    }
}

// Appends the report of one font: a title line with the path, the record count, a line per
// record of platform 0 to 3.
void appendFaceReport(std::string& text, const Face& face, const std::string& fontPath,
                      ReportBudget& budget, fontcore::NameDecoding decoding) {
    text += "NAME Table Info for " + fontPath;
    text += kCrLf;
    const NameTableLocation table =
        orOverflow(findNameTable(face.font, face.offsetTableAt, face.tableOffsetsFrom));
    budget.spendStructures(table.entriesRead + std::max<std::int64_t>(table.recordCount, 0));
    text += "Name Records | " + std::to_string(table.recordCount);
    text += kCrLf;
    LanguageLabels languages(decoding.readable());
    forEachRecord(face.font, table, [&](const NameRecordFields& record, std::int64_t times) {
        if (record.platform < 4) { // the others are counted but get no line
            appendRecordLines(text, face.font, table, record, times, languages, budget, decoding);
        }
        return Walk::Next;
    });
}

} // namespace

fontcore::FontReport nameReport(platform::FontFileReader& file, SfntContainer container,
                                const std::string& fontPath, fontcore::NameDecoding decoding) {
    SfntFaces faces(file, container);
    ReportBudget budget(faces.bytes());
    std::string text;
    if (!faces.listsFaces()) {
        appendFaceReport(text, faces.face(0), fontPath, budget, decoding);
        return {.text = std::move(text)};
    }
    // A file of several fonts: for each, in order, its heading and its report.
    const std::string ofCount = " of " + std::to_string(faces.count());
    for (std::int64_t i = 0; i < faces.count(); ++i) {
        text += "Font " + std::to_string(i + 1) + ofCount;
        text += kCrLf;
        appendFaceReport(text, faces.face(i), fontPath, budget, decoding);
        budget.checkText(text.size());
    }
    return {.text = std::move(text)};
}

} // namespace truetype
