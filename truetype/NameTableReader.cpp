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

// Looks at one record for the lookup; false when a field it reads overflows.
bool considerRecord(NameRecord& record, std::optional<std::int64_t>& chosen) {
    const std::uint8_t platform = record.platform();
    if (platform >= 4) {
        return true;
    }
    // All three are read, in this order, although only the name ID takes part in the choice:
    // an encoding or language ID of 32768 or more fails the lookup.
    if (!record.encoding() || !record.language()) {
        return false;
    }
    const std::optional<std::int16_t> nameId = record.nameId();
    if (!nameId) {
        return false;
    }
    if (platform == 3 && *nameId == 4) {
        chosen = record.recordOffset();
    } else if ((platform == 0 || platform == 1) && *nameId == 4 && !chosen) {
        chosen = record.recordOffset();
    }
    return true;
}

// The full name, decoded; none for an overflow, which most damaged files end in: the lookup
// reports it without unwinding.
std::optional<std::string> englishName(runtime::FontFileReader& font, std::int64_t offsetTableAt,
                                       std::int64_t tableOffsetsFrom) {
    const std::optional<NameTableLocation> table =
        locateNameTable(font, offsetTableAt, tableOffsetsFrom);
    if (!table) {
        return std::nullopt;
    }
    std::optional<std::int64_t> chosen; // the offset of the chosen record
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
    NameRecord record(font, *chosen);
    const std::optional<std::int16_t> length = record.length();
    if (!length) {
        return std::nullopt;
    }
    const std::optional<std::int16_t> offset = record.stringOffset();
    if (!offset) {
        return std::nullopt;
    }
    std::string name;
    appendRecordText(name, font, stringPlace(font, *table, *length, *offset));
    return name;
}

// The name of the font at offsetTableAt as a result; never throws.
runtime::FullName nameResult(runtime::FontFileReader& font, std::int64_t offsetTableAt,
                             std::int64_t tableOffsetsFrom) {
    try {
        std::optional<std::string> name = englishName(font, offsetTableAt, tableOffsetsFrom);
        if (!name) {
            return {.failure = runtime::Failure(runtime::FailureNumber::Overflow)};
        }
        return {.name = std::move(*name)};
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

} // namespace

runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font,
                                          std::int64_t offsetTableAt) {
    return nameResult(font, offsetTableAt, 0);
}

runtime::FullName TTEnglishName(const std::string& TTPath) {
    return runtime::nameOfFontFile(
        TTPath, [](runtime::FontFileReader& font) { return TTEnglishNameFromReader(font); });
}

runtime::FullName TTCEnglishNameFromReader(runtime::FontFileReader& font) {
    try {
        CollectionHeader collection(font);
        return TTEnglishNameFromReader(font, collection.offsetTableAt(0));
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

runtime::FullName TTCEnglishName(const std::string& path) {
    return runtime::nameOfFontFile(path, TTCEnglishNameFromReader);
}

runtime::FullName SuitcaseEnglishNameFromReader(runtime::FontFileReader& font) {
    try {
        SuitcaseMap suitcase(font);
        const std::int64_t first = suitcase.fontAt(0);
        return nameResult(font, first, first);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

} // namespace truetype
