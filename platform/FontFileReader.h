#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>

#include "platform/FileStamp.h"
#include "platform/UniqueFd.h"

namespace platform {

// Random-access reading of one font file at 1-based byte positions. Bytes beyond the end of
// the file read as zero bytes without failing. Reads go through a buffer: a small file is read
// whole on the first access; a larger one in pages around the positions asked for, so a read
// never costs a system call per byte.
//
// A reader can also run over bytes in memory (fuzzing, tests); the paging code is the same,
// only the "fetch a block" step copies instead of calling pread.
// A directory held open while its files are read one after another: each is opened relative
// to it, which spares walking the directory's own path for every file. Where the system has
// no such opens, or the directory cannot be held, the files are opened by their paths.
class ListingDirectory {
public:
    explicit ListingDirectory(const std::string& utf8Path);
    // A directory already open (a folder walk opens each relative to its parent): the
    // descriptor is taken over and closed with the object. An invalid one opens files by path.
    explicit ListingDirectory(UniqueFd directory) noexcept : fd_(std::move(directory)) {}
    int fd() const noexcept { return fd_.get(); }
    // The same directory held by a descriptor of its own, for files opened after this one is
    // closed; where that cannot be had, one that opens files by path.
    ListingDirectory duplicate() const;

private:
    UniqueFd fd_;
};

// A file of such a directory: its path, and its name there (often the path's own tail).
struct ListedFile {
    const ListingDirectory& directory;
    const std::string& path;
    const char* name;
};

class FontFileReader {
public:
    // Opens an existing file for reading; never creates one. A missing file raises 53, a
    // directory or another non-regular file 75, no read permission 70 (see failureFromErrno).
    // The length the open file has, if it was opened, is put in *lengthSeen (when given), also
    // for a file that is then refused.
    explicit FontFileReader(const std::string& utf8Path, std::uint64_t* lengthSeen = nullptr);
    // The same for a file listed in a directory held open (see ListingDirectory), opened
    // relative to it where the system can.
    FontFileReader(const ListedFile& file, std::uint64_t* lengthSeen);
    // The same, with the open file's stamp (size, modification time, identity) put in
    // stampSeen, also for a file that is then refused.
    FontFileReader(const ListedFile& file, FileStamp& stampSeen);
    // Reads from the given bytes, which must outlive the reader.
    explicit FontFileReader(std::span<const std::uint8_t> bytes);
    ~FontFileReader();

    FontFileReader(const FontFileReader&) = delete;
    FontFileReader& operator=(const FontFileReader&) = delete;

    // The byte at a 1-based position; 0 past the end. A position below 1 raises 63.
    std::uint8_t byteAt(std::int64_t position) {
        // Most reads stay in the page of the last one (whose bytes past the end of the file
        // are zero, as the answer for them is): answered here, without a call.
        const std::uint64_t offset = static_cast<std::uint64_t>(position) - 1;
        if (position >= 1 && cached_.holds(offset)) {
            return cached_.bytes[offset - cached_.start];
        }
        return byteAtUncached(position);
    }
    // The bytes from a 1-based position to the end of the page that holds it (fetched if it
    // is not held), for reading several fields in one step: the same fetch a byteAt of that
    // position makes. Bytes past the end of the file within the page are zero; the span is
    // empty when the position lies past the end of the file. A position below 1 raises 63.
    // The span points into the reader's page buffers: it is valid only until the next call
    // on this reader, which may refill the page. Copy what has to outlive that.
    std::span<const std::uint8_t> pageFrom(std::int64_t position) {
        const std::uint64_t offset = static_cast<std::uint64_t>(position) - 1;
        if (position >= 1 && cached_.holds(offset)) {
            return {cached_.bytes + (offset - cached_.start),
                    static_cast<std::size_t>(cached_.end - offset)};
        }
        return pageFromUncached(position);
    }
    // n raw bytes from a 1-based position, zero bytes past the end. n below 0 raises 5 (checked
    // before the position), a position below 1 raises 63. So that no count can make it
    // allocate without bound, a result that would reach more than 64 MiB past the end of the
    // file also raises 5.
    std::string bytesAt(std::int64_t position, std::int64_t count);

    std::uint64_t size() const noexcept { return size_; }

    // How many blocks were fetched from the source (pread calls for a file). For tests and
    // benchmarks that check the buffering.
    std::uint64_t fetchCount() const noexcept { return fetches_; }

private:
    void takeOpenFile(int fd, std::uint64_t* lengthSeen);
    void adoptOpenFile(int fd);
    void settleSize(bool regular, std::uint64_t size);
    std::uint8_t byteAtUncached(std::int64_t position);
    std::span<const std::uint8_t> pageFromUncached(std::int64_t position);
    void fetchBlock(std::uint64_t offset, std::uint8_t* into, std::size_t length);
    const std::uint8_t* pageFor(std::uint64_t offset);

    UniqueFd fd_;
    std::span<const std::uint8_t> memory_;
    std::uint64_t size_ = 0;
    std::uint64_t fetches_ = 0;

    // Page buffers are not zeroed when made: every byte is written by the fetch that fills
    // the page, the bytes past the end of the file by the fetch's own zeroing.
    struct Page {
        std::uint64_t start = UINT64_MAX;
        std::unique_ptr<std::uint8_t[]> bytes;
    };
    // A larger file keeps this many pages, held in the reader itself (a lookup allocates
    // nothing for them but their bytes); the first pageCount_ are in use.
    static constexpr std::size_t kPageCount = 8;
    std::array<Page, kPageCount> pages_;
    std::size_t pageCount_ = 0;
    std::size_t nextVictim_ = 0;
    // The page the last read used, where most reads stay: its bytes cover the file offsets
    // [start, end). Empty (no offset held) while no page is valid.
    struct CachedPage {
        std::uint64_t start = 0;
        std::uint64_t end = 0;
        const std::uint8_t* bytes = nullptr; // one of pages_' buffers, or null when empty

        bool holds(std::uint64_t offset) const noexcept { return offset >= start && offset < end; }
        static constexpr CachedPage empty() noexcept { return {}; }
    };
    CachedPage cached_;
    // The whole file for a small one (a single page), otherwise 4 KiB.
    std::size_t pageSize_ = 0;
};

} // namespace platform
