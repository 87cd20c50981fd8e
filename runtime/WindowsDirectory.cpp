#include "runtime/WindowsDirectory.h"

#ifdef _WIN32
#include "runtime/WindowsApi.h"

#include <string_view>

#include "runtime/Text.h"
#endif

namespace runtime {

#ifdef _WIN32

std::string windowsDirectory() {
    constexpr UINT kBufferSize = 255;
    char buffer[kBufferSize] = {};
    const UINT written = GetWindowsDirectoryA(buffer, kBufferSize);
    // 0 is a failure. A result of the buffer's size or more is the size the call would have
    // needed and nothing usable was written: treated as a failure too rather than taking
    // characters the call never wrote.
    if (written == 0 || written >= kBufferSize) {
        return {};
    }
    return text::decodeWindows1252(std::string_view(buffer, written));
}

#else

std::string windowsDirectory() {
    return "/usr/share";
}

#endif

} // namespace runtime
