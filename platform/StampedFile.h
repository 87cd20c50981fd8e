#pragma once

#include "platform/FileStamp.h"
#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

// A file opened again by its path to be read whole, from its start, and known to be the very
// file its stamp was taken of: opening checks the stamp, and finish checks that what was read
// is all of it, unchanged. What changed is raised as a Failure whose cause says so ("changed
// since it was listed", "changed while it was read"); the system's failures as they come.
class StampedFile {
public:
    // Opens path for reading only: never creating a file, never waiting for a pipe's writer.
    // Raises "changed since it was listed" for a file that is no longer the regular file of
    // stamp (another file, another size or modification time).
    StampedFile(const std::string& path, const FileStamp& stamp);

    // Reads the next bytes into buffer: as many as it holds unless the file ends first. The
    // number read, 0 at the end. A file that grows beyond its stamp's size raises "changed
    // while it was read" rather than being read on.
    std::size_t read(std::span<std::uint8_t> buffer);

    // Raises "changed while it was read" unless the file's stamp is still the one it was
    // opened with.
    void checkUnchanged() const;

    // After the last read: raises "changed while it was read" unless exactly the stamp's size
    // was read and the stamp is still the same.
    void finish() const;

private:
    UniqueFd fd_;
    FileStamp stamp_;
    std::uint64_t read_ = 0;
};

// The platform's part of it: opening by path (with the flags above; -1 and errno when that
// fails), and telling the system that the file will be read once, from start to end.
namespace stamped_file {
int openAgain(const std::string& path);
void adviseSequential(int fd) noexcept;
} // namespace stamped_file

} // namespace platform
