#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Builds WOFF2 files from TrueType files, for tests: every table stored with the null
// transform, in the order of the font's directory, in one brotli stream. The fields a reader
// must check can be given wrong values.
namespace testsupport {

struct Woff2Layout {
    std::string sfnt; // a TrueType file, as trueTypeBytes makes
    // When not empty, a collection of these fonts in place of sfnt: each lists its own tables.
    std::vector<std::string> collection{};
    std::optional<std::uint32_t> length;              // default: the file's size
    std::optional<std::uint32_t> totalSfntSize;       // default: sfnt.size()
    std::optional<std::uint32_t> totalCompressedSize; // default: the stream's size
    std::optional<std::string> nameLength; // the name table's origLength as stored; default:
                                           // base128 of its length
    std::uint8_t nameTransform = 0;        // the name table's transform version (bits 6-7)
    std::optional<std::string> stream;     // replaces the compressed stream
    // When not 0, a table "zero" of this many zero bytes comes first in the directory and the
    // stream (not in a collection's fonts).
    std::uint32_t leadingZeros = 0;
    std::string signature = "wOF2";
};

std::string woff2Bytes(const Woff2Layout& layout);

// The bytes that one brotli stream of data holds.
std::string brotliCompressed(const std::string& data);

// One brotli stream of zeros zero bytes and then data, made without holding the zeros.
std::string brotliCompressedAfterZeros(std::uint32_t zeros, const std::string& data);

// A UIntBase128 as the table directory stores it.
std::string base128(std::uint32_t value);

} // namespace testsupport
