#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Builds TrueType files from a description, for tests, fuzz seeds, benchmarks and the demo
// folder. Only what the name reader looks at is modelled: the offset table, the table
// directory and a `name` table. Every field the reader takes as signed 16-bit can be given
// any raw 16-bit value, 32768 and more included.
namespace testsupport {

// Big-endian UTF-16 code units, as platforms 0 and 3 store their strings.
std::string utf16be(std::u16string_view text);
std::string bigEndian16(std::uint16_t value);
std::string bigEndian32(std::uint32_t value);

struct NameRecordLayout {
    std::uint16_t platform = 3;
    std::uint16_t encoding = 1;
    std::uint16_t language = 0x0409;
    std::uint16_t nameId = 4;
    std::string bytes;                   // the string as stored
    std::optional<std::uint16_t> length; // default: bytes.size()
    std::optional<std::uint16_t> offset; // default: where the writer stores the bytes
};

struct NameTableLayout {
    std::uint16_t format = 0;
    std::vector<NameRecordLayout> records;
    std::vector<std::string> languageTags;      // format 1 only, as stored (UTF-16BE)
    std::optional<std::uint16_t> count;         // default: records.size()
    std::optional<std::uint16_t> storageOffset; // default: right after the header
};

// The bytes of a `name` table: header, records (in the given order), language tags for
// format 1, then the storage with each record's bytes.
std::string nameTableBytes(const NameTableLayout& layout);

struct TableLayout {
    std::string tag;  // four characters
    std::string data; // stored 4-byte aligned after the directory
    // The raw offset field of the directory entry; default: where data is stored.
    std::optional<std::array<std::uint8_t, 4>> offsetBytes;
};

struct FontLayout {
    std::vector<TableLayout> tables;
    std::optional<std::uint16_t> numTables; // default: tables.size()
};

std::string trueTypeBytes(const FontLayout& layout);

// A small font whose directory holds "OS/2", "head", "name" (from names) and "post", with
// filler tables before the name table as in real fonts.
std::string trueTypeFont(const NameTableLayout& names);

// A font with one Windows Unicode full-name record.
std::string trueTypeFontNamed(std::u16string_view fullName);

} // namespace testsupport
