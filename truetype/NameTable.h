#pragma once

#include "fontcore/NameDecoding.h"
#include "platform/FontFileReader.h"
#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

#include <cstdint>
#include <optional>
#include <string>

// Inside the TrueType readers: the `name` table, found, its records decoded one by one and
// handed to the full-name choice and to the report by one walk. The rest of the program uses
// NameTableReader.h and NameTableReport.h through the type table.
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
std::optional<NameTableLocation> findNameTable(platform::FontFileReader& font,
                                               std::int64_t offsetTableAt,
                                               std::int64_t tableOffsetsFrom = 0);

// One name record, decoded. The platform is its ID's low-order byte (the high-order byte is
// never read); every other field is held in 16 signed bits, none where it overflows. Whether an
// overflow matters is for the reader of the record to say: the full-name choice minds the IDs
// of every record but the length and offset of the chosen one alone, the report all of them.
struct NameRecordFields {
    std::uint8_t platform = 0;
    std::optional<std::int16_t> encoding{0};
    std::optional<std::int16_t> language{0};
    std::optional<std::int16_t> nameId{0};
    std::optional<std::int16_t> length{0};
    std::optional<std::int16_t> stringOffset{0};
};

// The record at recordOffset. Its bytes 1 to 11 (from the platform's low-order byte on) come
// straight from the reader's page where one holds them all, as it does for nearly every
// record, and byte by byte otherwise; bytes past the end of the file read as zero.
NameRecordFields decodeNameRecord(platform::FontFileReader& font, std::int64_t recordOffset);

// Whether the record at recordOffset, and so every later one, reads as zeros (platform 0, IDs
// 0, an empty string): the first byte the reader takes from it, the platform's low-order
// byte, lies past the end of the file.
inline bool readsAsZeros(const platform::FontFileReader& font, std::int64_t recordOffset) {
    const std::int64_t firstRead = recordOffset + sfnt::NameRecordLayout::platformID + 1;
    return firstRead >= 0 && static_cast<std::uint64_t>(firstRead) >= font.size();
}

enum class Walk { Next, Stop };

// Hands the decoded name records to visit(record, times) in order until it returns Walk::Stop.
// A table may claim up to 32767 records far past the end of a small file; these read alike, so
// the first of them is handed over once, with times the number of records it stands for, and
// the walk ends there. Every other record comes with times 1.
template <typename Visit>
void forEachRecord(platform::FontFileReader& font, const NameTableLocation& table, Visit visit) {
    for (std::int64_t j = 0; j < table.recordCount; ++j) {
        const std::int64_t recordOffset = sfnt::nameRecordAt(table.tableOffset, j);
        if (readsAsZeros(font, recordOffset)) {
            visit(NameRecordFields{}, table.recordCount - j);
            return;
        }
        if (visit(decodeNameRecord(font, recordOffset), std::int64_t{1}) == Walk::Stop) {
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

// The place of the record's string; none where its length or offset overflows.
std::optional<StringPlace> stringPlace(const platform::FontFileReader& font,
                                       const NameTableLocation& table,
                                       const NameRecordFields& record);

// How the bytes of a record's string become text.
enum class StringEncoding { Windows1252, Utf16BigEndian, MacRoman };

// The encoding of the strings of a record of that platform (its low-order byte) and encoding
// ID: Windows-1252 byte for byte under the byte-wise decoding; for readable names UTF-16BE
// for platforms 0 and 3, Mac Roman for platform 1 encoding 0, Windows-1252 for the rest.
constexpr StringEncoding stringEncodingOf(const fontcore::NameDecoding& decoding,
                                          std::uint8_t platform, std::int16_t encoding) {
    if (!decoding.readable()) {
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
