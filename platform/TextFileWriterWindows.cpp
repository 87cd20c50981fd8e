#include <io.h>

#include "platform/Failure.h"
#include "platform/NativePath.h"
#include "platform/TextFileWriterCalls.h"
#include "platform/WindowsApi.h"

namespace platform::text_file_writer {

void startWritingOut(int, std::uint64_t, std::uint64_t) noexcept {}

long writeSome(int fd, const char* data, std::size_t length) {
    const unsigned chunk = length > (1u << 30) ? (1u << 30) : static_cast<unsigned>(length);
    return _write(fd, data, chunk);
}

void refuseTarget(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesW(path::native(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return; // nothing there, or nothing to tell yet: creating the new file says more
    }
    if ((attributes &
         (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        throw Failure(FailureNumber::PathFileAccess);
    }
}

bool exists(const std::string& target) {
    return ::GetFileAttributesW(path::native(target).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void keepCopy(const std::string& target, const std::string& into) {
    if (::CopyFileW(path::native(target).c_str(), path::native(into).c_str(), FALSE) == 0) {
        throw Failure(FailureNumber::PathFileAccess);
    }
}

void removeNewFile(const std::string& target) {
    ::DeleteFileW(path::native(target).c_str());
}

} // namespace platform::text_file_writer
