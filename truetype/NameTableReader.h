#pragma once

#include "runtime/FontFileReader.h"
#include "runtime/FullName.h"
#include "truetype/SfntLayout.h"
#include "truetype/StructureBytes.h"

#include <cstdint>
#include <optional>
#include <string>

// Reading the `name` table of a TrueType font. The reader follows a handful of fields to what
// it needs and never checks the font as a whole; the only limits are those of its arithmetic:
// the directory index and the 16-bit fields of the name records are signed 16-bit, so a value
// of 32768 or more is an "Overflow" failure. Fields are big-endian, read a byte at a time at
// 1-based positions (position = offset + 1).
namespace truetype {

struct NameTableLocation {
    std::int64_t entriesRead = 0;  // of the table directory, by the search that found it
    std::int64_t tableOffset = 0;  // T, the 0-based offset of the name table
    std::int16_t recordCount = 0;  // signed 16-bit
    std::int64_t storageStart = 0; // 1-based position of the first byte of string storage
};

// Searches the table directory for the tag "name" (without regard to case), walking on past
// the number of tables the font declares and through zero bytes past the end of the file,
// and fails with "Overflow" at entry 2048. Only the three low-order bytes of the entry's
// offset are used. A record count of 32768 or more also overflows.
// The table directory is that of the offset table at offsetTableAt: 0 for a font file, the
// offset its header gives for a font of a collection.
NameTableLocation TTFindNameTable(runtime::FontFileReader& font, std::int64_t offsetTableAt = 0);

// 1-based position of name record j.
constexpr std::int64_t recordPosition(const NameTableLocation& table, std::int64_t j) {
    return sfnt::nameRecordAt(table.tableOffset, j) + 1;
}

// True when the record at position R, and so every later one, lies wholly past the end of the
// file: all its fields read as zero bytes (platform 0, encoding, language and name ID 0, an
// empty string), so it is never chosen and never fails, and every such record reads alike.
inline bool recordsPastEnd(const runtime::FontFileReader& font, std::int64_t R) {
    return R >= 0 && static_cast<std::uint64_t>(R) >= font.size();
}

// The fields of the name record at position R, as the reader takes them, read in the order
// they are asked for: the platform from its low byte alone; the others signed 16-bit, none
// (an overflow) at 32768 or more. The record's bytes are copied from the reader as its fields
// need them (see StructureBytes), so a record read field by field fetches what a byte-at-a-
// time read would, and later reads of the reader do not change it.
class NameRecord {
public:
    // The reader must outlive the record.
    NameRecord(runtime::FontFileReader& font, std::int64_t R) : bytes_(font, R) {}

    // The platform ID's low-order byte alone; its high-order byte is never read.
    std::uint8_t platform() { return bytes_.at(sfnt::NameRecord::platformID + 1); }
    std::optional<std::int16_t> encoding() { return bytes_.signed16(sfnt::NameRecord::encodingID); }
    std::optional<std::int16_t> language() { return bytes_.signed16(sfnt::NameRecord::languageID); }
    std::optional<std::int16_t> nameId() { return bytes_.signed16(sfnt::NameRecord::nameID); }
    std::optional<std::int16_t> length() { return bytes_.signed16(sfnt::NameRecord::length); }
    std::optional<std::int16_t> offset() { return bytes_.signed16(sfnt::NameRecord::stringOffset); }

private:
    StructureBytes<sfnt::NameRecord::size> bytes_;
};

// Where the string of a record starts and how many of its bytes lie in the file; bytes past
// the end of the file read as zero bytes, which the text drops anyway, so only those in the
// file are read.
struct StringPlace {
    std::int64_t position = 0; // 1-based, at least 1
    std::int64_t count = 0;
};

// The place of a string of the given length (signed 16-bit) at the given offset into the
// storage.
StringPlace stringPlace(const runtime::FontFileReader& font, const NameTableLocation& table,
                        std::int16_t length, std::int16_t offset);

// Appends the string at that place to out: its bytes decoded from Windows-1252 with every NUL
// byte removed, read straight from the reader's page when it holds them all.
void appendRecordText(std::string& out, runtime::FontFileReader& font, const StringPlace& place);

// The full font name: the last platform-3 record with name ID 4, else the first platform-0 or
// platform-1 one; the empty name when no record qualifies. Decoded byte by byte as
// Windows-1252, not trimmed. Every failure becomes the result's failure (a file that is no
// TrueType font overflows); it never throws. The file is closed before it returns.
runtime::FullName TTEnglishName(const std::string& TTPath);

// The same over a reader that is already open (a file or bytes in memory), for the font whose
// offset table lies at offsetTableAt (see TTFindNameTable).
runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font,
                                          std::int64_t offsetTableAt = 0);

// The full name of a font collection (.ttc, .otc): that of its first font, found as above in
// that font's table directory. A damaged collection header overflows (see CollectionHeader).
runtime::FullName TTCEnglishName(const std::string& path);

// The same over a reader that is already open.
runtime::FullName TTCEnglishNameFromReader(runtime::FontFileReader& font);

} // namespace truetype
