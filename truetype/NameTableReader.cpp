#include "truetype/NameTableReader.h"

#include "runtime/OpenFontFile.h"

#include "runtime/Failure.h"
#include "truetype/CollectionHeader.h"
#include "truetype/NameTable.h"
#include "truetype/SuitcaseMap.h"

#include <optional>
#include <utility>

namespace truetype {

namespace {

// The record the lookup chose, and what tells how its string is encoded.
struct ChosenRecord {
    std::int64_t offset = 0;
    std::uint8_t platform = 0;
    std::int16_t encoding = 0;
};

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
    if (platform == 3 && *nameId == 4) {
        chosen = ChosenRecord{record.recordOffset(), platform, *encoding};
    } else if ((platform == 0 || platform == 1) && *nameId == 4 && !chosen) {
        chosen = ChosenRecord{record.recordOffset(), platform, *encoding};
    }
    return true;
}

// The full name, decoded; none for an overflow, which most damaged files end in: the lookup
// reports it without unwinding.
std::optional<std::string> englishName(runtime::FontFileReader& font, std::int64_t offsetTableAt,
                                       std::int64_t tableOffsetsFrom,
                                       runtime::NameDecoding decoding) {
    const std::optional<NameTableLocation> table =
        locateNameTable(font, offsetTableAt, tableOffsetsFrom);
    if (!table) {
        return std::nullopt;
    }
    std::optional<ChosenRecord> chosen;
    bool overflow = false;
    forEachRecord(font, *table, [&](NameRecord& record, std::int64_t) {
        overflow = !considerRecord(record, chosen);
        return overflow ? Walk::Stop : Walk::Next;
    });
    if (overflow) {
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
runtime::FullName nameResult(runtime::FontFileReader& font, std::int64_t offsetTableAt,
                             std::int64_t tableOffsetsFrom, runtime::NameDecoding decoding) {
    try {
        std::optional<std::string> name =
            englishName(font, offsetTableAt, tableOffsetsFrom, decoding);
        if (!name) {
            return {.failure = runtime::Failure(runtime::FailureNumber::Overflow)};
        }
        return {.name = std::move(*name)};
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

} // namespace

runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font, std::int64_t offsetTableAt,
                                          runtime::NameDecoding decoding) {
    return nameResult(font, offsetTableAt, 0, decoding);
}

runtime::FullName TTEnglishName(const std::string& TTPath, runtime::NameDecoding decoding) {
    return runtime::nameOfFontFile(TTPath, [decoding](runtime::FontFileReader& font) {
        return TTEnglishNameFromReader(font, 0, decoding);
    });
}

runtime::FullName TTCEnglishNameFromReader(runtime::FontFileReader& font,
                                           runtime::NameDecoding decoding) {
    try {
        CollectionHeader collection(font);
        return TTEnglishNameFromReader(font, collection.offsetTableAt(0), decoding);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

runtime::FullName TTCEnglishName(const std::string& path, runtime::NameDecoding decoding) {
    return runtime::nameOfFontFile(path, [decoding](runtime::FontFileReader& font) {
        return TTCEnglishNameFromReader(font, decoding);
    });
}

runtime::FullName SuitcaseEnglishNameFromReader(runtime::FontFileReader& font,
                                                runtime::NameDecoding decoding) {
    try {
        SuitcaseMap suitcase(font);
        const std::int64_t first = suitcase.fontAt(0);
        return nameResult(font, first, first, decoding);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

} // namespace truetype
