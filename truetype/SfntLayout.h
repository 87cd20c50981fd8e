#pragma once

#include <cstdint>

// Where the fields of the TrueType structures that lead to the strings of the `name` table lie,
// for the reader and for the font writers of the tests. Each layout gives its fields' 0-based
// offsets from the structure's own start, by their names in the OpenType format, and the
// structure's size; every field is big-endian, of the width noted beside it.
namespace truetype::sfnt {

// The largest `name` table that a wrapped font (WOFF, WOFF2) may declare. Real fonts' tables
// are a few kilobytes, the largest seen some tens; a table declared larger is taken for a
// damaged or hostile file and refused before anything is inflated, so that naming a small file
// never costs hundreds of megabytes.
constexpr std::uint32_t kWrappedNameTableCap = std::uint32_t{1} << 20;

// A font file starts with its offset table (sfnt header); the table directory follows it.
struct OffsetTableLayout {
    static constexpr std::int64_t sfntVersion = 0;   // uint32, 0x00010000 or 'true'
    static constexpr std::int64_t numTables = 4;     // uint16
    static constexpr std::int64_t searchRange = 6;   // uint16
    static constexpr std::int64_t entrySelector = 8; // uint16
    static constexpr std::int64_t rangeShift = 10;   // uint16
    static constexpr std::int64_t size = 12;
};

// An entry of the table directory.
struct TableRecordLayout {
    static constexpr std::int64_t tableTag = 0; // 4 bytes, one character each
    static constexpr std::int64_t checksum = 4; // uint32
    static constexpr std::int64_t offset = 8;   // uint32, from the start of the file
    static constexpr std::int64_t length = 12;  // uint32
    static constexpr std::int64_t size = 16;
};

// The offset of directory entry i of the offset table at offsetTableAt; a plain font file has
// its offset table at 0.
constexpr std::int64_t tableRecordAt(std::int64_t offsetTableAt, std::int64_t i) {
    return offsetTableAt + OffsetTableLayout::size + TableRecordLayout::size * i;
}

// The header of the `name` table; its name records follow it.
struct NameHeaderLayout {
    static constexpr std::int64_t version = 0;       // uint16, 0 or 1
    static constexpr std::int64_t count = 2;         // uint16, of name records
    static constexpr std::int64_t storageOffset = 4; // uint16, from the start of the table
    static constexpr std::int64_t size = 6;
};

struct NameRecordLayout {
    static constexpr std::int64_t platformID = 0;    // uint16
    static constexpr std::int64_t encodingID = 2;    // uint16
    static constexpr std::int64_t languageID = 4;    // uint16
    static constexpr std::int64_t nameID = 6;        // uint16
    static constexpr std::int64_t length = 8;        // uint16, of the string in bytes
    static constexpr std::int64_t stringOffset = 10; // uint16, from the start of the storage
    static constexpr std::int64_t size = 12;
};

// The offset of name record j of the `name` table at nameTableAt.
constexpr std::int64_t nameRecordAt(std::int64_t nameTableAt, std::int64_t j) {
    return nameTableAt + NameHeaderLayout::size + NameRecordLayout::size * j;
}

// A version 1 `name` table follows its name records with a uint16 count of language-tag
// records and then the records themselves.
struct LangTagRecordLayout {
    static constexpr std::int64_t length = 0;        // uint16, of the tag in bytes
    static constexpr std::int64_t langTagOffset = 2; // uint16, from the start of the storage
    static constexpr std::int64_t size = 4;
};

// The header of a font collection (a .ttc or .otc file), at the start of the file: where the
// offset table of each of its fonts lies. Version 2 adds a signature's tag, length and offset
// after the offsets, which the reader never needs.
struct CollectionHeaderLayout {
    static constexpr std::int64_t ttcTag = 0;                 // 4 bytes, "ttcf"
    static constexpr std::int64_t majorVersion = 4;           // uint16, 1 or 2
    static constexpr std::int64_t minorVersion = 6;           // uint16
    static constexpr std::int64_t numFonts = 8;               // uint32
    static constexpr std::int64_t tableDirectoryOffsets = 12; // uint32 per font
    static constexpr std::int64_t offsetSize = 4;
};

// The offset of the field that holds where font i's offset table lies.
constexpr std::int64_t tableDirectoryOffsetAt(std::int64_t i) {
    return CollectionHeaderLayout::tableDirectoryOffsets + CollectionHeaderLayout::offsetSize * i;
}

} // namespace truetype::sfnt
