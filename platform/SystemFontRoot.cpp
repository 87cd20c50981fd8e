#include "platform/SystemFontRoot.h"

#ifdef _WIN32
#include "platform/WindowsApi.h"

#include <string_view>

#include "text/Text.h"
#endif

namespace platform {

#ifdef _WIN32

std::string systemFontRoot() {
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

std::string systemFontRoot() {
    return "/usr/share";
}

#endif

} // namespace platform
