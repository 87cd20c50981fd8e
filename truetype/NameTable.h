#pragma once

#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

#include <cstdint>
#include <optional>
#include <string>

// Inside the TrueType readers: the `name` table as the full-name lookup and the report walk
// it. The rest of the program uses NameTableReader.h and NameTableReport.h.
//
// The reader follows a handful of fields to what it needs and never checks the font as a
// whole. Its only limits are those of its arithmetic: the directory index and most 16-bit
// fields are held in 16 signed bits, so a value of 32768 or more is an "Overflow" failure.
namespace truetype {

struct NameTableLocation {
    std::int64_t entriesRead = 0;   // of the table directory, by the search that found it
    std::int64_t tableOffset = 0;   // from the start of the file
    std::int16_t recordCount = 0;   // signed 16-bit
    std::int64_t storageOffset = 0; // of the string storage, from the start of the file
};

// Searches the table directory of the offset table at offsetTableAt (0 for a font file, the
// offset its header gives for a font of a collection) for the tag "name", without regard to
// case. The search walks on past the number of tables the font declares and through zero
// bytes past the end of the file; entry 2048 overflows. None for an overflow, there or in the
// record count; a failing read is raised. The directory's table offsets count from
// tableOffsetsFrom: the start of the file for a font file or a collection, the start of the
// font's own bytes for a font stored whole inside another file (a suitcase's resource).
std::optional<NameTableLocation> locateNameTable(platform::FontFileReader& font,
                                                 std::int64_t offsetTableAt,
                                                 std::int64_t tableOffsetsFrom = 0);

// The same, raising "Overflow" instead of giving none.
NameTableLocation TTFindNameTable(platform::FontFileReader& font, std::int64_t offsetTableAt,
                                  std::int64_t tableOffsetsFrom = 0);

// The fields of one name record, read when they are asked for, in that order.
class NameRecord {
public:
    using Layout = sfnt::NameRecordLayout;

    // The reader must outlive the record.
    NameRecord(platform::FontFileReader& font, std::int64_t recordOffset)
        : recordOffset_(recordOffset), bytes_(font, recordOffset) {}

    std::int64_t recordOffset() const noexcept { return recordOffset_; }

    std::uint8_t platform() { return bytes_.lowByte(Layout::platformID); }
    std::optional<std::int16_t> encoding() { return bytes_.signed16(Layout::encodingID); }
    std::optional<std::int16_t> language() { return bytes_.signed16(Layout::languageID); }
    std::optional<std::int16_t> nameId() { return bytes_.signed16(Layout::nameID); }
    std::optional<std::int16_t> length() { return bytes_.signed16(Layout::length); }
    std::optional<std::int16_t> stringOffset() { return bytes_.signed16(Layout::stringOffset); }

private:
    std::int64_t recordOffset_;
    StructureBytes<Layout::size> bytes_;
};

// Whether the record at recordOffset, and so every later one, reads as zeros (platform 0, IDs
// 0, an empty string): the first byte the reader takes from it, the platform's low-order
// byte, lies past the end of the file.
inline bool readsAsZeros(const platform::FontFileReader& font, std::int64_t recordOffset) {
    const std::int64_t firstRead = recordOffset + sfnt::NameRecordLayout::platformID + 1;
    return firstRead >= 0 && static_cast<std::uint64_t>(firstRead) >= font.size();
}

enum class Walk { Next, Stop };

// Hands the name records to visit(record, times) in order until it returns Walk::Stop. A
// table may claim up to 32767 records far past the end of a small file; these read alike, so
// the first of them is handed over once, with times the number of records it stands for, and
// the walk ends there. Every other record comes with times 1.
template <typename Visit>
void forEachRecord(platform::FontFileReader& font, const NameTableLocation& table, Visit visit) {
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t recordOffset = sfnt::nameRecordAt(table.tableOffset, j);
        const bool restAlike = readsAsZeros(font, recordOffset);
        NameRecord record(font, recordOffset);
        if (visit(record, restAlike ? table.recordCount - j : 1) == Walk::Stop || restAlike) {
            return;
        }
    }
}

// Where a record's string starts and how many of its bytes lie in the file: bytes past the end
// would read as zero bytes, which the text drops anyway.
struct StringPlace {
    std::int64_t offset = 0; // from the start of the file
    std::int64_t count = 0;
    std::int64_t length = 0; // as the record gives it, count and the bytes past the end
};

// The place of a string of the given length at the given offset into the storage, both of
// them 16-bit fields already taken as signed.
StringPlace stringPlace(const platform::FontFileReader& font, const NameTableLocation& table,
                        std::int16_t length, std::int16_t offset);

// How the bytes of a record's string become text.
enum class StringEncoding { Windows1252, Utf16BigEndian, MacRoman };

// The encoding of the strings of a record of that platform (its low-order byte) and encoding
// ID: Windows-1252 byte for byte under the byte-wise decoding; under the Unicode one UTF-16BE
// for platforms 0 and 3, Mac Roman for platform 1 encoding 0, Windows-1252 for the rest.
constexpr StringEncoding stringEncodingOf(fontcore::NameDecoding decoding, std::uint8_t platform,
                                          std::int16_t encoding) {
    if (decoding == fontcore::NameDecoding::ByteWise) {
        return StringEncoding::Windows1252;
    }
    if (platform == 0 || platform == 3) {
        return StringEncoding::Utf16BigEndian;
    }
    return platform == 1 && encoding == 0 ? StringEncoding::MacRoman : StringEncoding::Windows1252;
}

// Appends the string at that place to out, decoded from the given encoding with every NUL
// character removed.
void appendRecordText(std::string& out, platform::FontFileReader& font, const StringPlace& place,
                      StringEncoding encoding = StringEncoding::Windows1252);

} // namespace truetype
