#include "cli/WideArguments.h"

#ifdef _WIN32

#include "cli/UsageError.h"
#include "platform/WindowsApi.h"

namespace cli {

namespace {

std::string utf8(const wchar_t* argument, int position) {
    // -1: up to and with the terminating NUL, which the result counts as well.
    const int size = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argument, -1, nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) {
        throw UsageError("argument " + std::to_string(position) +
                         " is not valid Unicode text (it holds an unpaired surrogate)");
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, argument, -1, result.data(), size, nullptr,
                          nullptr);
    result.pop_back();
    return result;
}

} // namespace

std::vector<std::string> utf8Arguments(int argc, const wchar_t* const argv[]) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(utf8(argv[i], i));
    }
    return arguments;
}

} // namespace cli

#endif
