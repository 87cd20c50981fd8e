#include "platform/StampedFile.h"

#include <cerrno>

#include "platform/Failure.h"
#include "platform/FontFileReaderCalls.h"

namespace platform {

namespace {

constexpr std::uint64_t kAdviseAbove = std::uint64_t{256} << 10;

Failure changedSinceListed() {
    return Failure(FailureNumber::PathFileAccess, "changed since it was listed");
}

Failure changedWhileRead() {
    return Failure(FailureNumber::PathFileAccess, "changed while it was read");
}

} // namespace

StampedFile::StampedFile(const std::string& path, const FileStamp& stamp)
    : fd_(stamped_file::openAgain(path)), stamp_(stamp) {
    if (!fd_.valid()) {
        throw failureFromErrno(errno);
    }
    FileStamp now;
    if (!stampOfOpenFile(fd_.get(), now) || !unchangedSince(stamp_, now)) {
        throw changedSinceListed();
    }
    // A small file comes in whole with the system's first read-ahead; the advice, which
    // widens it, is given only where there is more to read than that (on this machine's disk
    // it made no measurable difference either way; it is meant for slow disks).
    if (stamp_.size > kAdviseAbove) {
        stamped_file::adviseSequential(fd_.get());
    }
}

std::size_t StampedFile::read(std::span<std::uint8_t> buffer) {
    const std::size_t got =
        font_file_reader::readAt(fd_.get(), read_, buffer.data(), buffer.size());
    read_ += got;
    if (read_ > stamp_.size) {
        throw changedWhileRead();
    }
    return got;
}

void StampedFile::checkUnchanged() const {
    FileStamp now;
    if (!stampOfOpenFile(fd_.get(), now) || !unchangedSince(stamp_, now)) {
        throw changedWhileRead();
    }
}

void StampedFile::finish() const {
    if (read_ != stamp_.size) {
        throw changedWhileRead();
    }
    checkUnchanged();
}

} // namespace platform
