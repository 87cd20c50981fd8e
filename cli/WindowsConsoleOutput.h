#pragma once

#ifdef _WIN32

#include <cstdio>
#include <memory>
#include <ostream>

namespace cli {

// While it lives, a standard stream that shows in a console window is written there as wide
// characters: the tool's texts (names, paths, messages) are UTF-8, which a console would show
// in its own code page, so that any letter beyond ASCII would come out garbled. A stream
// redirected to a file or a pipe is left alone and keeps the UTF-8 bytes.
class WindowsConsoleOutput {
public:
    // The stream and the C stream of the same handle (std::cout and stdout, ...).
    WindowsConsoleOutput(std::ostream& stream, std::FILE* file);
    ~WindowsConsoleOutput();
    WindowsConsoleOutput(const WindowsConsoleOutput&) = delete;
    WindowsConsoleOutput& operator=(const WindowsConsoleOutput&) = delete;

private:
    class Buffer;

    std::ostream& stream_;
    std::unique_ptr<Buffer> console_; // none when the stream is not a console
    std::streambuf* previous_ = nullptr;
};

} // namespace cli

#endif
