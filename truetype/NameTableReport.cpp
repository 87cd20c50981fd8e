#include "truetype/NameTableReport.h"

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/Text.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTableReader.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace truetype {

namespace {

using runtime::text::kCrLf;

// Every string of a name table lies within 64 KiB of its storage start, so a real report
// stays small. Records can point at the same string over and over, though: 32767 records of
// 32767 bytes each would make a report of more than a gigabyte from a font of 400 KB. The
// report reads at most this many string bytes from the file in all; a table that needs more is
// refused as out of memory, like any report that could not be built.
constexpr std::int64_t kStringBytesLimit = 4 * 1024 * 1024;

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

// Appends the line of a record to text; stringBytes counts the string bytes read so far.
void appendRecordLine(std::string& text, runtime::FontFileReader& font,
                      const NameTableLocation& table, NameRecord& record, std::uint8_t platform,
                      LanguageLabels& languages, std::int64_t& stringBytes) {
    const std::int16_t encoding = orOverflow(record.encoding());
    const std::string& language = languages.of(orOverflow(record.language()));
    const std::int16_t nameId = orOverflow(record.nameId());
    const std::int16_t length = orOverflow(record.length());
    const StringPlace place = stringPlace(font, table, length, orOverflow(record.offset()));
    stringBytes += place.count;
    if (stringBytes > kStringBytesLimit) {
        throw runtime::Failure(runtime::FailureNumber::OutOfMemory);
    }
    text += PlatEnc(platform, encoding);
    text += ' ';
    text += language;
    text += ' ';
    text += NameField(nameId);
    appendRecordText(text, font, place);
    text += kCrLf;
}

// The lines of the report; any failure passes to the caller, which discards what was built.
std::string reportText(runtime::FontFileReader& font, const std::string& fontPath) {
    std::string text = "NAME Table Info for " + fontPath;
    text += kCrLf;
    const NameTableLocation table = TTFindNameTable(font);
    text += "Name Records | " + std::to_string(table.recordCount);
    text += kCrLf;
    std::int64_t stringBytes = 0;
    LanguageLabels languages;
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t R = recordPosition(table, j);
        NameRecord record(font, R);
        const std::uint8_t platform = record.platform();
        if (platform >= 4) {
            continue;
        }
        const std::size_t lineStart = text.size();
        appendRecordLine(text, font, table, record, platform, languages, stringBytes);
        if (recordsPastEnd(font, R)) {
            // This record and all that follow read as zero bytes: each gets this same line.
            const std::size_t lineLength = text.size() - lineStart;
            const auto copies = static_cast<std::size_t>(table.recordCount - j - 1);
            text.resize(text.size() + lineLength * copies);
            char* const line = text.data() + lineStart;
            for (std::size_t k = 1; k <= copies; ++k) {
                std::memcpy(line + k * lineLength, line, lineLength);
            }
            break;
        }
    }
    return text;
}

} // namespace

runtime::FontReport TTReportFromReader(runtime::FontFileReader& font, const std::string& fontPath) {
    try {
        return {reportText(font, fontPath), false};
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

runtime::FontReport TTReport(const std::string& fontPath) {
    try {
        // The existence test comes first, so that a file that has gone gives its own text.
        runtime::fs::fileAttributes(fontPath);
        runtime::FontFileReader font(fontPath);
        return TTReportFromReader(font, fontPath);
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

} // namespace truetype
