#pragma once

// What the floor programs read of one font file: its first 4 KiB, and 4 KiB at the `name`
// table of a TrueType file whose table lies past them (the name bytes; the table directory is
// all that is looked at to find them). No program that reads a name out of every file can read
// less.
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace bench {

using FloorBuffer = std::array<unsigned char, 4096>;

inline std::uint32_t bigEndian(const unsigned char* at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// Where the `name` table starts by the table directory in the first bytes, or 0.
inline std::uint32_t nameTableAt(const unsigned char* head, std::size_t got) {
    if (got < 12) {
        return 0;
    }
    const std::uint32_t tables = bigEndian(head + 4, 2);
    for (std::uint32_t t = 0; t < tables && 12 + 16 * (t + 1) <= got; ++t) {
        const unsigned char* entry = head + 12 + 16 * t;
        if (std::memcmp(entry, "name", 4) == 0) {
            return bigEndian(entry + 8, 4);
        }
    }
    return 0;
}

// Reads the head and the name bytes of the open file fd into buffer; returns the bytes read.
inline unsigned long readHeadAndName(int fd, FloorBuffer& buffer) {
    ssize_t got = ::pread(fd, buffer.data(), buffer.size(), 0);
    unsigned long bytes = got > 0 ? static_cast<unsigned long>(got) : 0;
    const std::uint32_t nameAt =
        got > 0 ? nameTableAt(buffer.data(), static_cast<std::size_t>(got)) : 0;
    if (nameAt >= buffer.size()) {
        got = ::pread(fd, buffer.data(), buffer.size(), static_cast<off_t>(nameAt));
        bytes += got > 0 ? static_cast<unsigned long>(got) : 0;
    }
    return bytes;
}

} // namespace bench
