#include "truetype/NameTableReport.h"

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/Text.h"
#include "truetype/NameRecordLabels.h"
#include "truetype/NameTableReader.h"

#include <cstdint>

namespace truetype {

namespace {

constexpr const char* crlf = "\r\n";

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

// The line of a record; stringBytes counts the string bytes read so far.
std::string recordLine(runtime::FontFileReader& font, const NameTableLocation& table,
                       NameRecord& record, std::uint8_t platform, std::int64_t& stringBytes) {
    const std::int16_t encoding = orOverflow(record.encoding());
    const std::string languageKey = FontHex(orOverflow(record.language()));
    const std::int16_t nameId = orOverflow(record.nameId());
    const std::int16_t length = orOverflow(record.length());
    const StringPlace place = stringPlace(font, table, length, orOverflow(record.offset()));
    stringBytes += place.count;
    if (stringBytes > kStringBytesLimit) {
        throw runtime::Failure(runtime::FailureNumber::OutOfMemory);
    }
    const std::string string = TTRecordText(font, place);
    std::string line = PlatEnc(platform, encoding);
    line += ' ';
    line += FontLang(languageKey);
    line += ' ';
    line += NameField(nameId);
    line += runtime::text::decodeWindows1252(string);
    line += crlf;
    return line;
}

// The lines of the report; any failure passes to the caller, which discards what was built.
std::string reportText(runtime::FontFileReader& font, const std::string& fontPath) {
    std::string text = "NAME Table Info for " + fontPath + crlf;
    const NameTableLocation table = TTFindNameTable(font);
    text += "Name Records | " + std::to_string(table.recordCount) + crlf;
    std::int64_t stringBytes = 0;
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t R = recordPosition(table, j);
        NameRecord record(font, R);
        const std::uint8_t platform = record.platform();
        if (platform >= 4) {
            continue;
        }
        const std::string line = recordLine(font, table, record, platform, stringBytes);
        if (recordsPastEnd(font, R)) {
            // This record and all that follow read as zero bytes: each gets this same line.
            text.reserve(text.size() +
                         line.size() * static_cast<std::size_t>(table.recordCount - j));
            for (std::int64_t k = j; k < table.recordCount; ++k) {
                text += line;
            }
            break;
        }
        text += line;
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
