#pragma once

#include "runtime/FontFileReader.h"

#include <cstdint>
#include <string>

// Reading the `name` table of a TrueType font. The reader follows a handful of fields to what
// it needs and never checks the font as a whole; the only limits are those of its arithmetic:
// the directory index and the 16-bit fields of the name records are signed 16-bit, so a value
// of 32768 or more is an "Overflow" failure. Fields are big-endian, read a byte at a time at
// 1-based positions (position = offset + 1).
namespace truetype {

struct NameTableLocation {
    std::int64_t tableOffset = 0;  // T, the 0-based offset of the name table
    std::int16_t recordCount = 0;  // signed 16-bit
    std::int64_t storageStart = 0; // 1-based position of the first byte of string storage
};

// Searches the table directory for the tag "name" (without regard to case), walking on past
// the number of tables the font declares and through zero bytes past the end of the file,
// and fails with "Overflow" at entry 2048. Only the three low-order bytes of the entry's
// offset are used.
NameTableLocation TTFindNameTable(runtime::FontFileReader& font);

// 1-based position of name record j.
constexpr std::int64_t recordPosition(const NameTableLocation& table, std::int64_t j) {
    return table.tableOffset + 7 + 12 * j;
}

// True when the record at position R, and so every later one, lies wholly past the end of the
// file: all its fields read as zero bytes (platform 0, encoding, language and name ID 0, an
// empty string), so it is never chosen and never fails, and every such record reads alike.
inline bool recordsPastEnd(const runtime::FontFileReader& font, std::int64_t R) {
    return R >= 0 && static_cast<std::uint64_t>(R) >= font.size();
}

// The fields of the record at position R, as the reader takes them: the platform from the low
// byte alone; the others signed 16-bit, failing with "Overflow" at 32768 or more.
std::uint8_t recordPlatform(runtime::FontFileReader& font, std::int64_t R);
std::int16_t recordEncoding(runtime::FontFileReader& font, std::int64_t R);
std::int16_t recordLanguage(runtime::FontFileReader& font, std::int64_t R);
std::int16_t recordNameId(runtime::FontFileReader& font, std::int64_t R);
std::int16_t recordLength(runtime::FontFileReader& font, std::int64_t R);

// The string of the record at position R: its length and offset (signed 16-bit), then that
// many raw bytes from the storage, with every NUL byte removed. Not decoded.
std::string TTRecordText(runtime::FontFileReader& font, const NameTableLocation& table,
                         std::int64_t R);

// How many bytes of that string lie in the file and are read (the rest would read as zero
// bytes, which the text drops). Fails as TTRecordText does.
std::int64_t recordStringBytes(runtime::FontFileReader& font, const NameTableLocation& table,
                               std::int64_t R);

// The full font name: the last platform-3 record with name ID 4, else the first platform-0 or
// platform-1 one; the empty text when no record qualifies. Decoded byte by byte as
// Windows-1252, not trimmed. Every failure becomes "error: " + its description; it never
// throws. The file is closed before it returns.
std::string TTEnglishName(const std::string& TTPath);

// The same over a reader that is already open (a file or bytes in memory).
std::string TTEnglishNameFromReader(runtime::FontFileReader& font);

} // namespace truetype
