#pragma once

#include "platform/Failure.h"
#include "platform/FontFileReader.h"

#include <algorithm>
#include <cstdint>

// Inside the TrueType readers: what a reading of every record of every font of a file (the
// report, the facts) may still read and make.
namespace truetype {

// Every string of a name table lies within 64 KiB of its storage start, so a real report
// stays small. Records can point at the same string over and over, though: 32767 records of
// 32767 bytes each would make a report of more than a gigabyte from a font of 400 KB. A reading
// takes at most so many string bytes, directory entries and name records, and makes at most so
// much text, as the file's own size can back when each is read once (a string byte is a byte of
// the file, an entry or a record at least 12), and never less than the fixed floors below; a
// file that needs more (the same font or string listed over and over) is refused as out of
// memory, like any reading that could not be finished. So a suitcase of 65,535 small fonts is
// reported in full, while one font listed 65,535 times over is refused.
class ReadBudget {
public:
    explicit ReadBudget(platform::FontFileReader& font)
        : ReadBudget(static_cast<std::int64_t>(
              std::min<std::uint64_t>(font.size(), std::uint64_t{1} << 40))) {}

    void spendStringBytes(std::int64_t count) { spend(stringBytes_, count); }
    void spendStructures(std::int64_t count) { spend(structures_, count); }
    void checkText(std::size_t size) const {
        if (size > static_cast<std::size_t>(text_)) {
            outOfMemory();
        }
    }

private:
    static constexpr std::int64_t kStringBytesFloor = 4 * 1024 * 1024;
    static constexpr std::int64_t kStructuresFloor = 512 * 1024;
    static constexpr std::int64_t kStructureSize = 12;
    static constexpr std::int64_t kTextFloor = 32 * 1024 * 1024;
    // A report's text is a few times the font's bytes: labels, and each byte as up to three of
    // UTF-8; a collection's fonts each add a heading and a title with the path.
    static constexpr std::int64_t kTextPerFileByte = 8;

    explicit ReadBudget(std::int64_t fileSize)
        : stringBytes_(std::max(kStringBytesFloor, fileSize)),
          structures_(std::max(kStructuresFloor, fileSize / kStructureSize)),
          text_(std::max(kTextFloor, fileSize * kTextPerFileByte)) {}

    [[noreturn]] static void outOfMemory() {
        throw platform::Failure(platform::FailureNumber::OutOfMemory);
    }
    static void spend(std::int64_t& left, std::int64_t count) {
        left -= count;
        if (left < 0) {
            outOfMemory();
        }
    }

    std::int64_t stringBytes_;
    std::int64_t structures_;
    std::int64_t text_;
};

} // namespace truetype
