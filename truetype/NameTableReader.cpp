#include "truetype/NameTableReader.h"

#include "runtime/Failure.h"
#include "runtime/Text.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace truetype {

namespace {

// Entry i of the table directory starts at position 16 * i + 13, reckoned in 16 bits: 16 * 2048
// overflows, so entries 0 to 2047 are the most that are looked at.
constexpr std::int64_t kEntryLimit = 2048;

// The bytes of a directory entry the search looks at: the tag (0 to 3) and the three low-order
// bytes of the offset (9 to 11).
using EntryBytes = std::array<std::uint8_t, 12>;

// The tag at the start of an entry's bytes.
bool isNameTag(const std::uint8_t* entry) {
    static constexpr char name[] = "name";
    for (std::size_t i = 0; i < 4; ++i) {
        if (runtime::text::foldByte(entry[i]) != static_cast<std::uint8_t>(name[i])) {
            return false;
        }
    }
    return true;
}

// The entry at position p, which runs past the end of its page: the tag and the offset's bytes
// one at a time.
EntryBytes entryByteByByte(runtime::FontFileReader& font, std::int64_t p) {
    EntryBytes entry{};
    for (const int k : {0, 1, 2, 3, 9, 10, 11}) {
        entry[static_cast<std::size_t>(k)] = font.byteAt(p + k);
    }
    return entry;
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

// The full name, decoded; none for an overflow.
std::optional<std::string> englishName(runtime::FontFileReader& font) {
    const std::optional<NameTableLocation> table = locateNameTable(font);
    if (!table) {
        return std::nullopt;
    }
    std::int64_t chosen = 0;
    for (std::int64_t j = 0; j < table->recordCount;) {
        const std::int64_t R = recordPosition(*table, j);
        if (recordsPastEnd(font, R)) {
            break; // nothing after this can be chosen or fail
        }
        // The records from j on that lie wholly in the page of R + 1 are read straight from
        // it (those past the end of the file in the page read as zero bytes there too, and
        // change nothing); a record that runs past the page's end is read byte by byte.
        const auto page = font.pageFrom(R + 1);
        const std::int64_t stop =
            std::min<std::int64_t>(table->recordCount, j + recordsInPage(page.size()));
        if (stop == j) {
            NameRecord record(font, R);
            if (!considerRecord(record, R, chosen)) {
                return std::nullopt;
            }
            ++j;
            continue;
        }
        for (const std::uint8_t* bytes = page.data(); j < stop; ++j, bytes += 12) {
            const std::int64_t Rj = recordPosition(*table, j);
            NameRecord record(font, Rj, bytes);
            if (!considerRecord(record, Rj, chosen)) {
                return std::nullopt;
            }
        }
    }
    if (chosen == 0) {
        return std::string();
    }
    // Only the chosen record's length and offset are read, after the search.
    const std::optional<std::int16_t> length = signed16At(font, chosen + 8);
    if (!length) {
        return std::nullopt;
    }
    const std::optional<std::int16_t> offset = signed16At(font, chosen + 10);
    if (!offset) {
        return std::nullopt;
    }
    std::string name;
    appendRecordText(name, font, stringPlace(font, *table, *length, *offset));
    return name;
}

} // namespace

std::optional<NameTableLocation> locateNameTable(runtime::FontFileReader& font) {
    const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(font.size(), INT64_MAX));
    EntryBytes entry{};
    for (std::int64_t i = 0;;) {
        if (i == kEntryLimit) {
            return std::nullopt;
        }
        const std::int64_t p = 16 * i + 13;
        // Past the end of the file every entry reads as zero bytes and none is tagged "name":
        // the search would walk on to entry 2048 and overflow there. It overflows now.
        if (p > size) {
            return std::nullopt;
        }
        // The entries from i on that lie wholly in the page of p are looked at straight from
        // it, as far as the search may go (entry 2047, the last entry that starts in the
        // file); an entry that runs past the page's end is read byte by byte.
        const auto page = font.pageFrom(p);
        const std::int64_t inPage =
            page.size() >= 12 ? static_cast<std::int64_t>((page.size() - 12) / 16 + 1) : 0;
        const std::int64_t count = std::min({inPage, (size - p) / 16 + 1, kEntryLimit - i});
        if (count == 0) {
            entry = entryByteByByte(font, p);
            if (isNameTag(entry.data())) {
                break;
            }
            ++i;
            continue;
        }
        const std::uint8_t* at = page.data();
        std::int64_t k = 0;
        while (k < count && !isNameTag(at)) {
            ++k;
            at += 16;
        }
        i += k;
        if (k < count) {
            std::memcpy(entry.data(), at, entry.size());
            break;
        }
    }
    NameTableLocation table;
    table.tableOffset = std::int64_t{entry[9]} * 65536 + std::int64_t{entry[10]} * 256 + entry[11];
    const std::int64_t T = table.tableOffset;
    const std::int64_t storageOffset = std::int64_t{font.byteAt(T + 5)} * 256 + font.byteAt(T + 6);
    table.storageStart = T + storageOffset + 1;
    const std::optional<std::int16_t> count = signed16At(font, T + 3);
    if (!count) {
        return std::nullopt;
    }
    table.recordCount = *count;
    return table;
}

NameTableLocation TTFindNameTable(runtime::FontFileReader& font) {
    const std::optional<NameTableLocation> table = locateNameTable(font);
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

runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font) {
    try {
        std::optional<std::string> name = englishName(font);
        if (!name) {
            return {.failure = runtime::Failure(runtime::FailureNumber::Overflow)};
        }
        return {.name = std::move(*name)};
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

runtime::FullName TTEnglishName(const std::string& TTPath) {
    try {
        runtime::FontFileReader font(TTPath);
        return TTEnglishNameFromReader(font);
    } catch (...) {
        return {.failure = runtime::currentFailure()};
    }
}

} // namespace truetype
