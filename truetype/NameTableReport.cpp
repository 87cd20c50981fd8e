#include "truetype/NameTableReport.h"

#include "platform/Failure.h"
#include "text/Text.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTable.h"
#include "truetype/ReadBudget.h"
#include "truetype/ReadableLabels.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace truetype {

namespace {

using text::kCrLf;

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
                       std::int64_t times, LanguageLabels& languages, ReadBudget& budget,
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
                      ReadBudget& budget, fontcore::NameDecoding decoding) {
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
    ReadBudget budget(faces.bytes());
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
