#include "truetype/WoffFont.h"

#include "platform/Failure.h"
#include "truetype/SfntLayout.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace truetype {

namespace {

// The WOFF header and its table directory entries: 0-based offsets, big-endian fields.
struct WoffHeaderLayout {
    static constexpr std::int64_t signature = 0;      // 4 bytes, "wOFF"
    static constexpr std::int64_t flavor = 4;         // uint32, the sfnt's version
    static constexpr std::int64_t length = 8;         // uint32, of the WOFF file
    static constexpr std::int64_t numTables = 12;     // uint16
    static constexpr std::int64_t totalSfntSize = 16; // uint32, of the sfnt it wraps
    static constexpr std::int64_t size = 44;
};

struct WoffEntryLayout {
    static constexpr std::int64_t tag = 0;           // 4 bytes
    static constexpr std::int64_t offset = 4;        // uint32, from the start of the file
    static constexpr std::int64_t compLength = 8;    // uint32, as stored
    static constexpr std::int64_t origLength = 12;   // uint32, inflated
    static constexpr std::int64_t origChecksum = 16; // uint32
    static constexpr std::int64_t size = 20;
};

// No wrapped font that this program reads comes near it; a file that declares more is taken
// for a damaged one rather than inflated.
constexpr std::uint64_t kMaxSfntSize = std::uint64_t{256} << 20;
// Deflate cannot expand a stream more than 1032 times: a table declared larger than that
// cannot inflate to its declared length, and is refused before its memory is taken.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

[[noreturn]] void overflow() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

std::uint32_t bigEndian32(std::string_view bytes, std::int64_t at) {
    const auto byte = [&](std::int64_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

std::uint16_t bigEndian16(std::string_view bytes, std::int64_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) << 8 |
                                      static_cast<unsigned char>(bytes[at + 1]));
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

struct TableEntry {
    std::uint32_t offset = 0;
    std::uint32_t compLength = 0;
    std::uint32_t origLength = 0;
    std::uint32_t origChecksum = 0;
};

// The `name` table's bytes as the sfnt holds them.
std::vector<std::uint8_t> nameTableBytes(platform::FontFileReader& file, const TableEntry& entry) {
    if (entry.origLength > sfnt::kWrappedNameTableCap) {
        overflow();
    }
    const std::string stored = file.bytesAt(std::int64_t{entry.offset} + 1, entry.compLength);
    if (entry.compLength == entry.origLength) {
        return {stored.begin(), stored.end()};
    }
    if (entry.origLength > kMaxDeflateRatio * std::uint64_t{entry.compLength}) {
        overflow();
    }
    std::vector<std::uint8_t> table(entry.origLength);
    uLongf inflated = entry.origLength;
    // Z_BUF_ERROR for a stream that would inflate past origLength (or ends early), Z_DATA_ERROR
    // for a damaged one, Z_MEM_ERROR when zlib's own state cannot be allocated.
    const int result = uncompress(table.data(), &inflated,
                                  reinterpret_cast<const Bytef*>(stored.data()), entry.compLength);
    if (result == Z_MEM_ERROR) {
        throw platform::Failure(platform::FailureNumber::OutOfMemory);
    }
    if (result != Z_OK || inflated != entry.origLength) {
        overflow();
    }
    return table;
}

// The offset table, then (when there is a `name` table) its one entry and the table.
std::vector<std::uint8_t> minimalSfnt(platform::FontFileReader& file, std::uint32_t flavor,
                                      const std::optional<TableEntry>& name) {
    using Offsets = sfnt::OffsetTableLayout;
    using Record = sfnt::TableRecordLayout;
    std::vector<std::uint8_t> sfnt;
    const std::uint16_t tableCount = name ? 1 : 0;
    appendBigEndian(sfnt, flavor, 4);
    appendBigEndian(sfnt, tableCount, 2);
    appendBigEndian(sfnt, tableCount * 16U, 2); // searchRange
    appendBigEndian(sfnt, 0, 2);                // entrySelector
    appendBigEndian(sfnt, 0, 2);                // rangeShift
    if (!name) {
        return sfnt;
    }
    std::vector<std::uint8_t> table = nameTableBytes(file, *name);
    sfnt.reserve(Offsets::size + Record::size + table.size());
    sfnt.insert(sfnt.end(), {'n', 'a', 'm', 'e'});
    appendBigEndian(sfnt, name->origChecksum, 4);
    appendBigEndian(sfnt, Offsets::size + Record::size, 4);
    appendBigEndian(sfnt, name->origLength, 4);
    sfnt.insert(sfnt.end(), table.begin(), table.end());
    return sfnt;
}

} // namespace

std::vector<std::uint8_t> woffSfnt(platform::FontFileReader& file) {
    using Header = WoffHeaderLayout;
    using Entry = WoffEntryLayout;
    const std::uint64_t fileSize = file.size();
    if (fileSize < Header::size) {
        overflow();
    }
    const std::string header = file.bytesAt(1, Header::size);
    if (header.compare(Header::signature, 4, "wOFF") != 0 ||
        bigEndian32(header, Header::length) != fileSize) {
        overflow();
    }
    const std::uint32_t flavor = bigEndian32(header, Header::flavor);
    const std::uint16_t numTables = bigEndian16(header, Header::numTables);
    const std::uint64_t totalSfntSize = bigEndian32(header, Header::totalSfntSize);
    if (totalSfntSize > kMaxSfntSize) {
        overflow();
    }
    const std::uint64_t directorySize = std::uint64_t{Entry::size} * numTables;
    if (Header::size + directorySize > fileSize) {
        overflow();
    }
    const std::string directory =
        file.bytesAt(Header::size + 1, static_cast<std::int64_t>(directorySize));
    std::optional<TableEntry> name;
    for (std::int64_t i = 0; i < numTables; ++i) {
        const std::int64_t at = Entry::size * i;
        const TableEntry entry{.offset = bigEndian32(directory, at + Entry::offset),
                               .compLength = bigEndian32(directory, at + Entry::compLength),
                               .origLength = bigEndian32(directory, at + Entry::origLength),
                               .origChecksum = bigEndian32(directory, at + Entry::origChecksum)};
        if (std::uint64_t{entry.offset} + entry.compLength > fileSize ||
            entry.compLength > entry.origLength || entry.origLength > totalSfntSize) {
            overflow();
        }
        if (!name && directory.compare(at + Entry::tag, 4, "name") == 0) {
            name = entry;
        }
    }

    return minimalSfnt(file, flavor, name);
}

} // namespace truetype
