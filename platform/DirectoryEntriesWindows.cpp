#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/DirectoryEntries.h"
#include "platform/NativePath.h"
#include "platform/WindowsApi.h"
#include "text/Text.h"

namespace platform::directory_entries {

namespace {

struct SearchCloser {
    void operator()(void* search) const {
        if (search != INVALID_HANDLE_VALUE) {
            ::FindClose(search);
        }
    }
};

// Hidden: the file's hidden attribute, as the system's own file lists have it, or a name that
// starts with "." as on every other system (the copy's temporary files among them).
bool isHidden(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// The UTF-8 form of a file name; false for a name with an unpaired surrogate, which no UTF-8
// path could name again.
bool utf8Name(const wchar_t* wide, std::string& utf8) {
    const int length = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0,
                                             nullptr, nullptr);
    if (length <= 0) {
        return false;
    }
    utf8.assign(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, utf8.data(), length, nullptr,
                          nullptr);
    utf8.pop_back(); // the terminating NUL
    return true;
}

bool isRegularFile(const std::filesystem::path& directory, const WIN32_FIND_DATAW& entry) {
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    }
    // A link: follow it.
    std::error_code error;
    return std::filesystem::is_regular_file(directory / entry.cFileName, error);
}

bool isDirectory(const std::filesystem::path& directory, const WIN32_FIND_DATAW& entry) {
    const DWORD attributes = entry.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
    // A link or junction: follow it.
    std::error_code error;
    return std::filesystem::is_directory(directory / entry.cFileName, error);
}

} // namespace

void visibleEntries(const std::string& directory, EntryKind kind,
                    const std::function<bool(std::string_view)>& keep, text::TextList& names,
                    text::TextList& folded) {
    // One FindFirstFileExW search gives every name with its attributes: no call per entry
    // except for links, which are followed to what they point at.
    const std::filesystem::path path = path::native(directory);
    WIN32_FIND_DATAW data{};
    const std::unique_ptr<void, SearchCloser> search(
        ::FindFirstFileExW((path / L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (search.get() == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        std::string name;
        if (data.cFileName[0] == L'.' || isHidden(data.dwFileAttributes) ||
            !utf8Name(data.cFileName, name)) {
            continue; // hidden entries, "." and "..", names that are no valid UTF-16
        }
        const std::string key = text::foldCaseUtf8(name);
        if (keep(key) && (kind == EntryKind::RegularFile ? isRegularFile(path, data)
                                                         : isDirectory(path, data))) {
            names.push_back(name);
            folded.push_back(key);
        }
    } while (::FindNextFileW(search.get(), &data) != 0);
}

} // namespace platform::directory_entries
