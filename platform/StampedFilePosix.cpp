#include "platform/StampedFile.h"

#include <cerrno>
#include <string_view>

#include <fcntl.h>

#include "platform/FontFileReaderCalls.h"

namespace platform::stamped_file {

int openAgain(const std::string& path) {
    const int fd = font_file_reader::openForReading(path);
    if (fd >= 0 || errno != ENAMETOOLONG) {
        return fd;
    }
    // A path longer than the system takes in one call (a file deep in a folder tree): opened
    // folder by folder from the root or the current folder.
    const std::size_t first = path.find_first_not_of('/');
    if (first == std::string::npos) {
        return -1;
    }
    const bool absolute = first > 0;
    const std::string_view relative = std::string_view(path).substr(first);
    const UniqueFd start(font_file_reader::openDirectory(absolute ? "/" : "."));
    if (!start.valid()) {
        return -1;
    }
    return font_file_reader::openForReadingIn(start.get(), std::string(relative).c_str(), path);
}

void adviseSequential(int fd) noexcept {
    // Only advice: the read-ahead grows, and reading goes on the same when it is not taken.
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

} // namespace platform::stamped_file
