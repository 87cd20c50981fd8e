#pragma once

#include "runtime/FontFileReader.h"
#include "runtime/FullName.h"
#include "runtime/Int16.h"

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
    std::int64_t tableOffset = 0;  // T, the 0-based offset of the name table
    std::int16_t recordCount = 0;  // signed 16-bit
    std::int64_t storageStart = 0; // 1-based position of the first byte of string storage
};

// Searches the table directory for the tag "name" (without regard to case), walking on past
// the number of tables the font declares and through zero bytes past the end of the file,
// and fails with "Overflow" at entry 2048. Only the three low-order bytes of the entry's
// offset are used. A record count of 32768 or more also overflows.
NameTableLocation TTFindNameTable(runtime::FontFileReader& font);

// The same search, with an overflow given as no location instead of raised: most damaged
// files end there, and the lookup reports it without unwinding. The reader's own failures
// (a read that fails) are still raised.
std::optional<NameTableLocation> locateNameTable(runtime::FontFileReader& font);

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

// The bytes of a record that are read: positions R + 1 (the platform's low byte) to R + 11
// (the end of the string offset).
inline constexpr std::size_t kRecordBytesRead = 11;

// How many records from the start of a page's bytes (at the position R + 1 of the first) have
// all their bytes read in it.
constexpr std::int64_t recordsInPage(std::size_t pageBytes) {
    return pageBytes >= kRecordBytesRead
               ? static_cast<std::int64_t>((pageBytes - kRecordBytesRead) / 12 + 1)
               : 0;
}

// The fields of the name record at position R, as the reader takes them, read in the order
// they are asked for: the platform from the low byte alone; the others signed 16-bit, none
// (an overflow) at 32768 or more. When the page that holds the record's first byte read
// (R + 1) holds its last (R + 11) too, the fields come straight from it; otherwise each byte
// is read through the reader as its field is asked for. Either way the same pages are fetched
// in the same order, so a read failure strikes at the same field.
class NameRecord {
public:
    NameRecord(runtime::FontFileReader& font, std::int64_t R) : font_(font), R_(R) {
        const auto page = font.pageFrom(R + 1);
        if (page.size() >= kRecordBytesRead) {
            bytes_ = page.data();
        }
    }
    // A record whose bytes from position R + 1 on, kRecordBytesRead of them, are at bytes: in
    // the page that the reader last read.
    NameRecord(runtime::FontFileReader& font, std::int64_t R, const std::uint8_t* bytes)
        : font_(font), R_(R), bytes_(bytes) {}

    std::uint8_t platform() { return byte(1); }
    std::optional<std::int16_t> encoding() { return field(2); }
    std::optional<std::int16_t> language() { return field(4); }
    std::optional<std::int16_t> nameId() { return field(6); }
    std::optional<std::int16_t> length() { return field(8); }
    std::optional<std::int16_t> offset() { return field(10); }

private:
    // The byte at position R + k, 1 <= k <= 11.
    std::uint8_t byte(int k) { return bytes_ != nullptr ? bytes_[k - 1] : font_.byteAt(R_ + k); }
    std::optional<std::int16_t> field(int k) {
        const std::uint8_t high = byte(k);
        return runtime::int16::fromBytesOrNone(high, byte(k + 1));
    }

    runtime::FontFileReader& font_;
    std::int64_t R_;
    const std::uint8_t* bytes_ = nullptr;
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

// The same over a reader that is already open (a file or bytes in memory).
runtime::FullName TTEnglishNameFromReader(runtime::FontFileReader& font);

} // namespace truetype
