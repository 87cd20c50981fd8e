#include "cli/WindowsConsoleOutput.h"

#ifdef _WIN32

#include "cli/ConsoleText.h"
#include "platform/WindowsApi.h"

#include <io.h>

#include <algorithm>
#include <streambuf>
#include <string>

namespace cli {

// Collects the bytes written and hands them to the console at each line end, when much has
// gathered, and at each flush; a character whose bytes are not all there yet waits for them.
class WindowsConsoleOutput::Buffer final : public std::streambuf {
public:
    explicit Buffer(HANDLE console) : console_(console) {}

    // Writes what is left, also the start of a character that never got its other bytes.
    bool writeAll() { return writeOut(pending_.size()); }

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return sync() == 0 ? traits_type::not_eof(c) : traits_type::eof();
        }
        const char byte = traits_type::to_char_type(c);
        pending_ += byte;
        if ((byte == '\n' || pending_.size() >= kGathered) && sync() != 0) {
            return traits_type::eof();
        }
        return c;
    }

    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        pending_.append(bytes, static_cast<std::size_t>(count));
        const bool lineEnd = std::find(bytes, bytes + count, '\n') != bytes + count;
        if ((lineEnd || pending_.size() >= kGathered) && sync() != 0) {
            return 0;
        }
        return count;
    }

    int sync() override { return writeOut(completeUtf8Length(pending_)) ? 0 : -1; }

private:
    static constexpr std::size_t kGathered = 4096;

    // Writes the first `length` bytes as UTF-16; bytes that are not UTF-8 show as U+FFFD.
    bool writeOut(std::size_t length) {
        if (length == 0) {
            return true;
        }
        const int size = static_cast<int>(length);
        const int wideSize = ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), size, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), size, wide.data(), wideSize);
        pending_.erase(0, length);
        const wchar_t* next = wide.data();
        DWORD left = static_cast<DWORD>(wide.size());
        while (left > 0) {
            DWORD written = 0;
            if (::WriteConsoleW(console_, next, left, &written, nullptr) == 0 || written == 0) {
                return false;
            }
            next += written;
            left -= written;
        }
        return true;
    }

    HANDLE console_;
    std::string pending_;
};

namespace {

// The console behind a C stream, or none when the stream goes elsewhere.
HANDLE consoleOf(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || ::GetConsoleMode(handle, &mode) == 0) {
        return nullptr;
    }
    return handle;
}

} // namespace

WindowsConsoleOutput::WindowsConsoleOutput(std::ostream& stream, std::FILE* file)
    : stream_(stream) {
    if (const HANDLE console = consoleOf(file)) {
        stream_.flush();
        console_ = std::make_unique<Buffer>(console);
        previous_ = stream_.rdbuf(console_.get());
    }
}

WindowsConsoleOutput::~WindowsConsoleOutput() {
    if (console_) {
        stream_.flush();
        console_->writeAll();
        stream_.rdbuf(previous_);
    }
}

} // namespace cli

#endif
