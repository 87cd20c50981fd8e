#include "truetype/NameTableReader.h"

#include "runtime/Failure.h"
#include "runtime/Text.h"
#include "truetype/CollectionHeader.h"

#include <algorithm>
#include <array>
#include <utility>

namespace truetype {

namespace {

// Entry i of the table directory starts at position 16 * i + 13, reckoned in 16 bits: 16 * 2048
// overflows, so entries 0 to 2047 are the most that are looked at.
constexpr std::int64_t kEntryLimit = 32768 / sfnt::TableRecord::size;

// Whether the four characters of a tag are "name", without regard to case.
bool isNameTag(const std::array<std::uint8_t, 4>& tag) {
    static constexpr char name[] = "name";
    for (std::size_t i = 0; i < tag.size(); ++i) {
        if (runtime::text::foldByte(tag[i]) != static_cast<std::uint8_t>(name[i])) {
            return false;
        }
    }
    return true;
}

// The search of TTFindNameTable, with an overflow given as none instead of raised: most damaged
// files end there, and the lookup reports it without unwinding. The reader's own failures (a
// read that fails) are still raised.
std::optional<NameTableLocation> locateNameTable(runtime::FontFileReader& font,
                                                 std::int64_t offsetTableAt) {
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(font.size(), INT64_MAX));
    std::int64_t tableOffset = 0;
    std::int64_t i = 0;
    for (;; ++i) {
        if (i == kEntryLimit) {
            return std::nullopt;
        }
        const std::int64_t p = sfnt::tableRecordAt(offsetTableAt, i) + 1;
        // Past the end of the file every entry reads as zero bytes and none is tagged "name":
        // the search would walk on to entry 2048 and overflow there. It overflows now.
        if (p > size) {
            return std::nullopt;
        }
        // Every entry passed is read alike: its tag, then the three low-order bytes of its
        // offset (the high-order byte is ignored: offsets are taken modulo 2^24).
        StructureBytes<sfnt::TableRecord::size> entry(font, p);
        std::array<std::uint8_t, 4> tag{};
        for (std::size_t k = 0; k < tag.size(); ++k) {
            tag[k] = entry.at(sfnt::TableRecord::tableTag + static_cast<std::int64_t>(k));
        }
        const std::int64_t b1 = entry.at(sfnt::TableRecord::offset + 1);
        const std::int64_t b2 = entry.at(sfnt::TableRecord::offset + 2);
        const std::int64_t b3 = entry.at(sfnt::TableRecord::offset + 3);
        if (isNameTag(tag)) {
            tableOffset = b1 * 65536 + b2 * 256 + b3;
            break;
        }
    }
    NameTableLocation table;
    table.entriesRead = i + 1;
    table.tableOffset = tableOffset;
    const std::int64_t at = tableOffset + 1; // the position of the table's first byte
    StructureBytes<sfnt::NameHeader::size> header(font, at);
    table.storageStart = at + header.unsigned16(sfnt::NameHeader::storageOffset);
    const std::optional<std::int16_t> count = header.signed16(sfnt::NameHeader::count);
    if (!count) {
        return std::nullopt;
    }
    table.recordCount = *count;
    return table;
}

// Looks at one record for the lookup; false when a field it reads overflows.
bool considerRecord(NameRecord& record, std::int64_t R, std::int64_t& chosen) {
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
        chosen = R;
    } else if ((platform == 0 || platform == 1) && *nameId == 4 && chosen == 0) {
        chosen = R;
    }
    return true;
}

std::optional<std::int16_t> signed16At(runtime::FontFileReader& font, std::int64_t position) {
    const std::uint8_t high = font.byteAt(position);
    return runtime::int16::fromBytesOrNone(high, font.byteAt(position + 1));
}

// The name that lookUp gives over the file at path, which it opens for it (never creating it)
// and closes again; a failure to open it is the name's failure.
template <typename LookUp>
runtime::FullName nameOfFile(const std::string& path, LookUp lookUp) {
    try {
        runtime::FontFileReader font(path);
        return lookUp(font);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

// The full name, decoded; none for an overflow.
std::optional<std::string> englishName(runtime::FontFileReader& font, std::int64_t offsetTableAt) {
    const std::optional<NameTableLocation> table = locateNameTable(font, offsetTableAt);
    if (!table) {
        return std::nullopt;
    }
    std::int64_t chosen = 0;
    for (std::int64_t j = 0; j < table->recordCount; ++j) {
        const std::int64_t R = recordPosition(*table, j);
        if (recordsPastEnd(font, R)) {
            break; // nothing after this can be chosen or fail
        }
        NameRecord record(font, R);
        if (!considerRecord(record, R, chosen)) {
            return std::nullopt;
        }
    }
    if (chosen == 0) {
        return std::string();
    }
    // Only the chosen record's length and offset are read, after the search.
    const std::optional<std::int16_t> length = signed16At(font, chosen + sfnt::NameRecord::length);
    if (!length) {
        return std::nullopt;
    }
    const std::optional<std::int16_t> offset =
        signed16At(font, chosen + sfnt::NameRecord::stringOffset);
    if (!offset) {
        return std::nullopt;
    }
    std::string name;
    appendRecordText(name, font, stringPlace(font, *table, *length, *offset));
    return name;
}

} // namespace

NameTableLocation TTFindNameTable(runtime::FontFileReader& font, std::int64_t offsetTableAt) {
    const std::optional<NameTableLocation> table = locateNameTable(font, offsetTableAt);
    if (!table) {
        throw runtime::Failure(runtime::FailureNumber::Overflow);
    }
    return *table;
}

StringPlace stringPlace(const runtime::FontFileReader& font, const NameTableLocation& table,
                        std::int16_t length, std::int16_t offset) {
    StringPlace place;
    place.position = table.storageStart + offset;
    const auto start = static_cast<std::uint64_t>(place.position - 1);
    const std::uint64_t inFile = start < font.size() ? font.size() - start : 0;
    place.count = static_cast<std::int64_t>(std::min<std::uint64_t>(length, inFile));
    return place;
}

void appendRecordText(std::string& out, runtime::FontFileReader& font, const StringPlace& place) {
    if (place.count > 0) {
        const auto page = font.pageFrom(place.position);
        if (page.size() >= static_cast<std::uint64_t>(place.count)) {
            runtime::text::appendWindows1252DroppingNuls(
                out, {reinterpret_cast<const char*>(page.data()),
                      static_cast<std::size_t>(place.count)});
            return;
        }
    }
    runtime::text::appendWindows1252DroppingNuls(out, font.bytesAt(place.position, place.count));
}

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
    return nameOfFile(TTPath,
                      [](runtime::FontFileReader& font) { return TTEnglishNameFromReader(font); });
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
    return nameOfFile(path, TTCEnglishNameFromReader);
}

} // namespace truetype
