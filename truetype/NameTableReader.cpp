#include "truetype/NameTableReader.h"

#include "fontcore/OpenFontFile.h"

#include "platform/Failure.h"
#include "truetype/CollectionHeader.h"
#include "truetype/Int16.h"
#include "truetype/NameTable.h"
#include "truetype/SuitcaseMap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace truetype {

namespace {

// The record the lookup chose, and what tells how its string is encoded.
struct ChosenRecord {
    std::int64_t offset = 0;
    std::uint8_t platform = 0;
    std::int16_t encoding = 0;
};

// Takes the record at recordOffset as the full name where its fields make it the choice: the
// first of platform 0 or 1 with name ID 4, unless a platform 3 one with name ID 4 follows (the
// last of those wins).
void choose(std::uint8_t platform, std::int16_t encoding, std::int16_t nameId,
            std::int64_t recordOffset, std::optional<ChosenRecord>& chosen) {
    if (nameId != 4) {
        return;
    }
    if (platform == 3 || ((platform == 0 || platform == 1) && !chosen)) {
        chosen = ChosenRecord{recordOffset, platform, encoding};
    }
}

// Looks at one record for the lookup; false when a field it reads overflows.
bool considerRecord(NameRecord& record, std::optional<ChosenRecord>& chosen) {
    const std::uint8_t platform = record.platform();
    if (platform >= 4) {
        return true;
    }
    // All three are read, in this order, although only the name ID takes part in the choice:
    // an encoding or language ID of 32768 or more fails the lookup.
    const std::optional<std::int16_t> encoding = record.encoding();
    if (!encoding || !record.language()) {
        return false;
    }
    const std::optional<std::int16_t> nameId = record.nameId();
    if (!nameId) {
        return false;
    }
    choose(platform, *encoding, *nameId, record.recordOffset(), chosen);
    return true;
}

// The same from the record's bytes 1 to 7 (the platform's low-order byte, then the encoding,
// language and name IDs) where one page holds them all, as it does for nearly every record:
// the fields are taken straight from the page rather than one call at a time.
bool considerRecordBytes(const std::uint8_t* fields, std::int64_t recordOffset,
                         std::optional<ChosenRecord>& chosen) {
    const std::uint8_t platform = fields[0];
    if (platform >= 4) {
        return true;
    }
    const std::optional<std::int16_t> encoding =
        truetype::int16::fromBytesOrNone(fields[1], fields[2]);
    const std::optional<std::int16_t> language =
        truetype::int16::fromBytesOrNone(fields[3], fields[4]);
    const std::optional<std::int16_t> nameId =
        truetype::int16::fromBytesOrNone(fields[5], fields[6]);
    if (!encoding || !language || !nameId) {
        return false;
    }
    choose(platform, *encoding, *nameId, recordOffset, chosen);
    return true;
}

// Walks the records for the full name; false when a field overflows. Bytes 1 to 7 of a record
// are the first it reads, so taking them from the page that holds byte 1 fetches what reading
// them field by field would. A record whose byte 1 lies past the end of the file reads as
// zeros, as every later one does: none of them is chosen or overflows.
bool chooseRecord(platform::FontFileReader& font, const NameTableLocation& table,
                  std::optional<ChosenRecord>& chosen) {
    constexpr std::size_t kFieldBytes = 7;
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t recordOffset = sfnt::nameRecordAt(table.tableOffset, j);
        const std::span<const std::uint8_t> page =
            font.pageFrom(readerPosition(recordOffset + sfnt::NameRecordLayout::platformID + 1));
        if (page.empty()) {
            return true;
        }
        if (page.size() >= kFieldBytes) {
            if (!considerRecordBytes(page.data(), recordOffset, chosen)) {
                return false;
            }
            continue;
        }
        NameRecord record(font, recordOffset); // its fields span two pages
        if (!considerRecord(record, chosen)) {
            return false;
        }
    }
    return true;
}

// The full name, decoded; none for an overflow, which most damaged files end in: the lookup
// reports it without unwinding.
std::optional<std::string> englishName(platform::FontFileReader& font, std::int64_t offsetTableAt,
                                       std::int64_t tableOffsetsFrom,
                                       fontcore::NameDecoding decoding) {
    const std::optional<NameTableLocation> table =
        locateNameTable(font, offsetTableAt, tableOffsetsFrom);
    if (!table) {
        return std::nullopt;
    }
    std::optional<ChosenRecord> chosen;
    if (!chooseRecord(font, *table, chosen)) {
        return std::nullopt;
    }
    if (!chosen) {
        return std::string();
    }
    // Only the chosen record's length and offset are read, after the search.
    NameRecord record(font, chosen->offset);
    const std::optional<std::int16_t> length = record.length();
    if (!length) {
        return std::nullopt;
    }
    const std::optional<std::int16_t> offset = record.stringOffset();
    if (!offset) {
        return std::nullopt;
    }
    std::string name;
    appendRecordText(name, font, stringPlace(font, *table, *length, *offset),
                     stringEncodingOf(decoding, chosen->platform, chosen->encoding));
    return name;
}

// The name of the font at offsetTableAt as a result; never throws.
fontcore::FullName nameResult(platform::FontFileReader& font, std::int64_t offsetTableAt,
                              std::int64_t tableOffsetsFrom, fontcore::NameDecoding decoding) {
    try {
        std::optional<std::string> name =
            englishName(font, offsetTableAt, tableOffsetsFrom, decoding);
        if (!name) {
            return {.failure = platform::Failure(platform::FailureNumber::Overflow)};
        }
        return {.name = std::move(*name)};
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

} // namespace

fontcore::FullName TTEnglishNameFromReader(platform::FontFileReader& font,
                                           std::int64_t offsetTableAt,
                                           fontcore::NameDecoding decoding) {
    return nameResult(font, offsetTableAt, 0, decoding);
}

fontcore::FullName TTEnglishName(const std::string& TTPath, fontcore::NameDecoding decoding) {
    return fontcore::nameOfFontFile(TTPath, [decoding](platform::FontFileReader& font) {
        return TTEnglishNameFromReader(font, 0, decoding);
    });
}

fontcore::FullName TTCEnglishNameFromReader(platform::FontFileReader& font,
                                            fontcore::NameDecoding decoding) {
    try {
        CollectionHeader collection(font);
        return TTEnglishNameFromReader(font, collection.offsetTableAt(0), decoding);
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

fontcore::FullName TTCEnglishName(const std::string& path, fontcore::NameDecoding decoding) {
    return fontcore::nameOfFontFile(path, [decoding](platform::FontFileReader& font) {
        return TTCEnglishNameFromReader(font, decoding);
    });
}

fontcore::FullName SuitcaseEnglishNameFromReader(platform::FontFileReader& font,
                                                 fontcore::NameDecoding decoding) {
    try {
        SuitcaseMap suitcase(font);
        const std::int64_t first = suitcase.fontAt(0);
        return nameResult(font, first, first, decoding);
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

} // namespace truetype
