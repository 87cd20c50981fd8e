#include "truetype/Woff2Header.h"

#include "platform/Failure.h"
#include "truetype/SfntLayout.h"

#include <algorithm>
#include <array>
#include <vector>

namespace truetype {

namespace {

constexpr std::uint32_t kSignature = 0x774F4632;  // "wOF2"
constexpr std::uint32_t kCollection = 0x74746366; // "ttcf"
constexpr std::uint32_t kNameTag = 0x6E616D65;    // "name"
constexpr std::uint32_t kGlyfTag = 0x676C7966;
constexpr std::uint32_t kLocaTag = 0x6C6F6361;
constexpr std::uint32_t kHmtxTag = 0x686D7478;
// The header: signature, flavor, length, numTables, reserved, totalSfntSize,
// totalCompressedSize, then versions and the metadata and private blocks, which the name
// never needs; the table directory follows it.
constexpr std::int64_t kHeaderSize = 48;

[[noreturn]] void broken() {
    throw platform::Failure(platform::FailureNumber::Overflow);
}

// Reads the file's fields in order; a field that would reach past the end of the file is
// broken, so a directory's counts can never make it read more than the file holds.
class FieldCursor {
public:
    FieldCursor(platform::FontFileReader& file, std::int64_t offset)
        : file_(file), offset_(offset) {}

    std::int64_t offset() const { return offset_; }

    std::uint8_t u8() {
        if (static_cast<std::uint64_t>(offset_) >= file_.size()) {
            broken();
        }
        return file_.byteAt(++offset_);
    }
    std::uint16_t u16() { return static_cast<std::uint16_t>((u8() << 8) | u8()); }
    std::uint32_t u32() { return (std::uint32_t{u16()} << 16) | u16(); }

    // A variable-length uint32 of one to five bytes, seven bits a byte, most significant first.
    std::uint32_t base128() {
        std::uint32_t value = 0;
        for (int i = 0; i < 5; ++i) {
            const std::uint8_t byte = u8();
            if ((i == 0 && byte == 0x80) || (value & 0xFE000000U) != 0) {
                broken(); // a leading zero, or a value past 32 bits
            }
            value = (value << 7) | (byte & 0x7FU);
            if ((byte & 0x80) == 0) {
                return value;
            }
        }
        broken();
    }

    // A uint16 of one to three bytes (the collection directory's counts and indices).
    std::uint16_t u255() {
        const std::uint8_t code = u8();
        switch (code) {
        case 253: return u16();
        case 254: return static_cast<std::uint16_t>(u8() + 253 * 2);
        case 255: return static_cast<std::uint16_t>(u8() + 253);
        default: return code;
        }
    }

private:
    platform::FontFileReader& file_;
    std::int64_t offset_;
};

// The tags of the table directory's known-tag indices that the reader tells apart.
std::uint32_t knownTag(unsigned index) {
    switch (index) {
    case 3: return kHmtxTag;
    case 5: return kNameTag;
    case 10: return kGlyfTag;
    case 11: return kLocaTag;
    default: return 0; // another table: only its length matters here
    }
}

struct TableEntry {
    std::uint32_t tag = 0;
    std::uint64_t streamOffset = 0;
    std::uint32_t length = 0;
    bool transformed = false;
};

TableEntry readEntry(FieldCursor& cursor, std::uint64_t streamOffset) {
    const std::uint8_t flags = cursor.u8();
    TableEntry entry;
    entry.tag = (flags & 0x3F) == 0x3F ? cursor.u32() : knownTag(flags & 0x3FU);
    entry.streamOffset = streamOffset;
    const unsigned version = flags >> 6;
    // glyf and loca are stored transformed unless their version is 3; every other table
    // unless it is 0.
    const bool glyphTable = entry.tag == kGlyfTag || entry.tag == kLocaTag;
    entry.transformed = glyphTable ? version != 3 : version != 0;
    const std::uint32_t origLength = cursor.base128();
    entry.length = entry.transformed ? cursor.base128() : origLength;
    if (entry.transformed && entry.tag == kLocaTag && entry.length != 0) {
        broken(); // a transformed loca is rebuilt from glyf and stores nothing
    }
    if (entry.tag == kNameTag && entry.transformed) {
        broken(); // no transform of the name table is defined
    }
    return entry;
}

// The table index of the first font's `name` table in the collection directory, if any.
std::optional<std::size_t> firstFontNameIndex(FieldCursor& cursor,
                                              const std::vector<TableEntry>& tables,
                                              std::uint32_t& flavor) {
    cursor.u32(); // version
    const std::uint16_t numFonts = cursor.u255();
    if (numFonts == 0) {
        broken();
    }
    std::optional<std::size_t> name;
    for (std::uint16_t font = 0; font < numFonts; ++font) {
        const std::uint16_t numTables = cursor.u255();
        const std::uint32_t fontFlavor = cursor.u32();
        for (std::uint16_t t = 0; t < numTables; ++t) {
            const std::uint16_t index = cursor.u255();
            if (index >= tables.size()) {
                broken();
            }
            if (font == 0 && !name && tables[index].tag == kNameTag) {
                name = index;
            }
        }
        if (font == 0) {
            flavor = fontFlavor;
        }
    }
    return name;
}

// Reading the name inflates the stream from its start to the end of the table. Real fonts'
// streams inflate to a few times their file's size (2 to 3 in fonts made from Debian's, with
// tables in tag order; brotli's best on real font data stays far below 100), so a file that
// declares more before its name's end is damaged or hostile: a stream of a few hundred bytes
// can inflate to 255 MiB of zeros, and doing so took a second a lookup. Below the floor the
// inflation costs a few milliseconds at most, whatever the file's size.
constexpr std::uint64_t kMaxInflationRatio = 100;
constexpr std::uint64_t kInflationFloor = 1U << 20;

void checkNameCost(const Woff2NameTable& name, std::uint64_t fileSize) {
    if (name.length > sfnt::kWrappedNameTableCap ||
        name.streamOffset + name.length >
            std::max(kInflationFloor, kMaxInflationRatio * fileSize)) {
        broken();
    }
}

} // namespace

Woff2Layout readWoff2Layout(platform::FontFileReader& file) {
    FieldCursor header(file, 0);
    if (header.u32() != kSignature) {
        broken();
    }
    Woff2Layout layout;
    layout.flavor = header.u32();
    if (header.u32() != file.size() || file.size() < kHeaderSize) {
        broken();
    }
    const std::uint16_t numTables = header.u16();
    header.u16(); // reserved
    if (header.u32() > kWoff2SizeCap) {
        broken();
    }
    layout.compressedSize = header.u32();

    FieldCursor directory(file, kHeaderSize);
    std::vector<TableEntry> tables;
    tables.reserve(numTables);
    for (std::uint16_t i = 0; i < numTables; ++i) {
        tables.push_back(readEntry(directory, layout.streamLength));
        layout.streamLength += tables.back().length;
        if (layout.streamLength > kWoff2SizeCap) {
            broken();
        }
    }
    std::optional<std::size_t> name;
    if (layout.flavor == kCollection) {
        name = firstFontNameIndex(directory, tables, layout.flavor);
    } else {
        for (std::size_t i = 0; i < tables.size() && !name; ++i) {
            if (tables[i].tag == kNameTag) {
                name = i;
            }
        }
    }
    layout.compressedAt = static_cast<std::uint64_t>(directory.offset());
    if (layout.compressedSize > file.size() - layout.compressedAt) {
        broken();
    }
    if (name) {
        layout.name = Woff2NameTable{tables[*name].streamOffset, tables[*name].length};
        checkNameCost(*layout.name, file.size());
    }
    return layout;
}

} // namespace truetype
