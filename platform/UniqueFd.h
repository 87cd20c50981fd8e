#pragma once

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

// Owns one file descriptor (a C runtime descriptor on Windows) and closes it on every path.
class UniqueFd {
public:
    UniqueFd() noexcept = default;
    explicit UniqueFd(int fd) noexcept : fd_(fd) {}
    ~UniqueFd() { (void)close(); }

    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            (void)close();
            fd_ = other.release();
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }

    // Closes now; the errno of a failed close, 0 when it worked or nothing was held. After
    // EINTR the descriptor is gone on Linux: there is nothing to retry.
    int close() noexcept {
        const int fd = std::exchange(fd_, -1);
        if (fd < 0) {
            return 0;
        }
#ifdef _WIN32
        return ::_close(fd) == 0 ? 0 : errno;
#else
        return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
#endif
    }

    int release() noexcept {
        return std::exchange(fd_, -1);
    }

private:
    int fd_ = -1;
};

} // namespace platform
