#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Builds WOFF files for tests and fuzz seeds: an sfnt's tables, each stored raw or deflated
// with zlib, behind a WOFF header and table directory. Every header and directory field the
// reader checks can be given a raw value of its own.
namespace testsupport {

struct WoffTableLayout {
    std::string tag;          // four characters
    std::string stored;       // the bytes in the file, deflated or raw
    std::uint32_t origLength; // of the table inflated
    std::uint32_t origChecksum = 0;
    std::optional<std::uint32_t> offset;     // default: where stored lies
    std::optional<std::uint32_t> compLength; // default: stored.size()
};

struct WoffLayout {
    std::string signature = "wOFF";
    std::uint32_t flavor = 0x00010000;
    std::vector<WoffTableLayout> tables;
    std::optional<std::uint32_t> length;        // default: the file's
    std::optional<std::uint32_t> totalSfntSize; // default: that of the sfnt the tables make
};

std::string woffBytes(const WoffLayout& layout);

// zlib's stream of bytes, as WOFF stores a compressed table.
std::string deflated(std::string_view bytes);

// zlib's stream of bytes followed by zeros zero bytes, made without holding the zeros: a small
// stream (about a thousandth of what it inflates to) for tests of what a reader inflates.
std::string deflatedWithZeros(std::string_view bytes, std::uint32_t zeros);

// The WOFF layout of an sfnt (as trueTypeBytes makes one): its flavor and its tables in
// directory order, each deflated when compress is set and that makes it smaller.
WoffLayout woffLayoutOf(std::string_view sfnt, bool compress = true);

// woffBytes(woffLayoutOf(sfnt, compress)).
std::string woffFont(std::string_view sfnt, bool compress = true);

} // namespace testsupport
