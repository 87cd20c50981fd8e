#include "truetype/NameTableReader.h"

#include "runtime/OpenFontFile.h"

#include "runtime/Failure.h"
#include "truetype/CollectionHeader.h"
#include "truetype/NameTable.h"

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
std::optional<std::string> englishName(runtime::FontFileReader& font, std::int64_t offsetTableAt) {
    const std::optional<NameTableLocation> table = locateNameTable(font, offsetTableAt);
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

} // namespace

runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font,
                                          std::int64_t offsetTableAt) {
    try {
        std::optional<std::string> name = englishName(font, offsetTableAt);
        if (!name) {
            return {.failure = runtime::Failure(runtime::FailureNumber::Overflow)};
        }
        return {.name = std::move(*name)};
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
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

} // namespace truetype
