#include "platform/FontFileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/Failure.h"
#include "platform/FileStamp.h"
#include "platform/FontFileReaderCalls.h"
#include "platform/SparePageBuffers.h"

namespace platform {

using namespace font_file_reader;

namespace {

// A file of at most this size is read whole by the first access, in one read.
constexpr std::uint64_t kWholeFileLimit = 64 * 1024;
// A larger file is read in pages of this size, a few of them kept.
constexpr std::uint64_t kPageSize = 4 * 1024;
// bytesAt hands back exactly the count asked for, zero bytes past the end included. So that
// an absurd count cannot make it allocate without bound, a result may reach at most this far
// past the end of the file; a count beyond that is an invalid argument (failure 5). The
// readers ask for a few thousand bytes at most.
constexpr std::uint64_t kMaxBytesPastEnd = 64 * 1024 * 1024;

} // namespace

ListingDirectory::ListingDirectory(const std::string& utf8Path) : fd_(openDirectory(utf8Path)) {}

ListingDirectory ListingDirectory::duplicate() const {
    return ListingDirectory(UniqueFd(duplicateDirectory(fd_.get())));
}

FontFileReader::FontFileReader(const std::string& utf8Path, std::uint64_t* lengthSeen) {
    takeOpenFile(openForReading(utf8Path), lengthSeen);
}

FontFileReader::FontFileReader(const ListedFile& file, std::uint64_t* lengthSeen) {
    takeOpenFile(openForReadingIn(file.directory.fd(), file.name, file.path), lengthSeen);
}

FontFileReader::FontFileReader(const ListedFile& file, FileStamp& stampSeen) {
    adoptOpenFile(openForReadingIn(file.directory.fd(), file.name, file.path));
    const bool regular = stampOfOpenFile(fd_.get(), stampSeen);
    settleSize(regular, stampSeen.size);
}

void FontFileReader::takeOpenFile(int fd, std::uint64_t* lengthSeen) {
    adoptOpenFile(fd);
    std::uint64_t size = 0;
    const bool regular = isRegularFile(fd_.get(), size);
    if (lengthSeen != nullptr) {
        *lengthSeen = size;
    }
    settleSize(regular, size);
}

void FontFileReader::adoptOpenFile(int fd) {
    fd_ = UniqueFd(fd);
    if (!fd_.valid()) {
        throw failureFromErrno(errno);
    }
}

void FontFileReader::settleSize(bool regular, std::uint64_t size) {
    size_ = size;
    if (!regular) {
        throw Failure(FailureNumber::PathFileAccess);
    }
    pageSize_ = size_ <= kWholeFileLimit ? static_cast<std::size_t>(size_) : kPageSize;
}

FontFileReader::FontFileReader(std::span<const std::uint8_t> bytes)
    : memory_(bytes), size_(bytes.size()) {
    pageSize_ = size_ <= kWholeFileLimit ? static_cast<std::size_t>(size_) : kPageSize;
}

FontFileReader::~FontFileReader() {
    for (std::size_t i = 0; i < pageCount_; ++i) {
        spare_page_buffers::giveBack(std::move(pages_[i].bytes), pageSize_);
    }
}

void FontFileReader::fetchBlock(std::uint64_t offset, std::uint8_t* into, std::size_t length) {
    ++fetches_;
    std::size_t got = 0;
    if (fd_.valid()) {
        got = readAt(fd_.get(), offset, into, length);
    } else if (offset < memory_.size()) {
        got = static_cast<std::size_t>(std::min<std::uint64_t>(length, memory_.size() - offset));
        std::memcpy(into, memory_.data() + offset, got);
    }
    std::memset(into + got, 0, length - got);
}

const std::uint8_t* FontFileReader::pageFor(std::uint64_t offset) {
    if (cached_.holds(offset)) {
        return cached_.bytes;
    }
    const std::uint64_t start = offset - offset % pageSize_;
    Page* found = nullptr;
    for (std::size_t i = 0; i < pageCount_; ++i) {
        if (pages_[i].start == start) {
            found = &pages_[i];
            break;
        }
    }
    if (found == nullptr) {
        // The page about to be filled may be the cached one: nothing is cached until it is.
        cached_ = CachedPage::empty();
        if (pageCount_ < kPageCount) {
            // Taken into use only once its bytes exist: a failed allocation leaves no page
            // without bytes behind.
            auto bytes = spare_page_buffers::take(pageSize_);
            found = &pages_[pageCount_++];
            found->bytes = std::move(bytes);
        } else {
            found = &pages_[nextVictim_];
            nextVictim_ = (nextVictim_ + 1) % kPageCount;
        }
        // Not valid until filled: a failed fetch must not leave old bytes under the new start.
        found->start = UINT64_MAX;
        const auto length =
            static_cast<std::size_t>(std::min<std::uint64_t>(pageSize_, size_ - start));
        fetchBlock(start, found->bytes.get(), length);
        std::memset(found->bytes.get() + length, 0, pageSize_ - length);
        found->start = start;
    }
    cached_ = {start, start + pageSize_, found->bytes.get()};
    return cached_.bytes;
}

std::uint8_t FontFileReader::byteAtUncached(std::int64_t position) {
    if (position < 1) {
        throw Failure(FailureNumber::BadRecordNumber);
    }
    const auto offset = static_cast<std::uint64_t>(position - 1);
    if (offset >= size_) {
        return 0;
    }
    return pageFor(offset)[offset - cached_.start];
}

std::span<const std::uint8_t> FontFileReader::pageFromUncached(std::int64_t position) {
    if (position < 1) {
        throw Failure(FailureNumber::BadRecordNumber);
    }
    const auto offset = static_cast<std::uint64_t>(position - 1);
    if (offset >= size_) {
        return {};
    }
    const std::uint8_t* page = pageFor(offset);
    return {page + (offset - cached_.start), static_cast<std::size_t>(cached_.end - offset)};
}

std::string FontFileReader::bytesAt(std::int64_t position, std::int64_t count) {
    if (count < 0) {
        throw Failure(FailureNumber::InvalidArgument);
    }
    if (position < 1) {
        throw Failure(FailureNumber::BadRecordNumber);
    }
    // Both below 2^63, so neither the sum nor the end of the result overflows 64 bits.
    const auto offset = static_cast<std::uint64_t>(position - 1);
    const auto end = offset + static_cast<std::uint64_t>(count);
    if (end > std::max(offset, size_) + kMaxBytesPastEnd) {
        throw Failure(FailureNumber::InvalidArgument);
    }
    if (end <= size_ && cached_.holds(offset) && end <= cached_.end) {
        return std::string(reinterpret_cast<const char*>(cached_.bytes + (offset - cached_.start)),
                           static_cast<std::size_t>(count));
    }
    std::string result(static_cast<std::size_t>(count), '\0');
    if (offset >= size_ || count == 0) {
        return result;
    }
    const std::uint64_t stop = std::min(end, size_); // bytes at and after stop stay zero
    auto* into = reinterpret_cast<std::uint8_t*>(result.data());
    if (stop - offset > pageSize_) {
        // Larger than a page: straight from the source, past the page cache.
        fetchBlock(offset, into, static_cast<std::size_t>(stop - offset));
        return result;
    }
    for (std::uint64_t at = offset; at < stop;) {
        const std::uint64_t inPage = at % pageSize_;
        const std::uint64_t chunk = std::min<std::uint64_t>(pageSize_ - inPage, stop - at);
        std::memcpy(into + (at - offset), pageFor(at) + inPage, static_cast<std::size_t>(chunk));
        at += chunk;
    }
    return result;
}

} // namespace platform
