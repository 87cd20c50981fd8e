#include "runtime/DirectoryListing.h"

#include "runtime/Text.h"
#include "runtime/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#ifdef _WIN32
#include "runtime/WindowsApi.h"

#include <filesystem>
#include <system_error>

#include "runtime/NativePath.h"
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace runtime {

namespace {

// The bytes "?" (and a "*" moving on) take: a whole character, judged by its lead byte alone,
// or one byte of anything else, cut short at the end of the name.
std::size_t characterLength(std::string_view name, std::size_t n) {
    return std::min(
        std::max<std::size_t>(utf8::announcedLength(static_cast<unsigned char>(name[n])), 1),
        name.size() - n);
}

// Wildcard match of folded texts. Greedy with one back-track point for the last "*", which is
// linear for the patterns the file list uses and never worse than quadratic.
bool matchFolded(std::string_view name, std::string_view pattern) {
    // "*" and a literal tail ("*.ttf", the file list's own patterns): a suffix test, where the
    // general loop below would back-track over every character of the name.
    if (!pattern.empty() && pattern.front() == '*' &&
        pattern.find_first_of("*?", 1) == std::string_view::npos) {
        return name.ends_with(pattern.substr(1));
    }
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += characterLength(name, n);
            ++p;
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::string> foldedPatterns(std::string_view patterns) {
    std::vector<std::string> result;
    while (!patterns.empty()) {
        const std::size_t end = patterns.find(';');
        const std::string_view one = patterns.substr(0, end);
        if (!one.empty()) {
            result.push_back(text::foldCaseUtf8(one));
        }
        if (end == std::string_view::npos) {
            break;
        }
        patterns.remove_prefix(end + 1);
    }
    return result;
}

bool matchesAny(const std::string& foldedName, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return matchFolded(foldedName, pattern);
    });
}

#ifdef _WIN32
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

#else
struct DirectoryCloser {
    void operator()(DIR* directory) const { ::closedir(directory); }
};

// Whether an entry is of a type (DT_REG with S_IFREG, DT_DIR with S_IFDIR); a link, or an entry
// whose type the file system does not tell, is followed.
bool isOfType(int directoryFd, const dirent& entry, unsigned char type, mode_t mode) {
    if (entry.d_type == type) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::fstatat(directoryFd, entry.d_name, &info, 0) == 0 && (info.st_mode & S_IFMT) == mode;
}

bool isRegularFile(int directoryFd, const dirent& entry) {
    return isOfType(directoryFd, entry, DT_REG, S_IFREG);
}

bool isDirectory(int directoryFd, const dirent& entry) {
    return isOfType(directoryFd, entry, DT_DIR, S_IFDIR);
}

#endif

// The names in the order of their folded forms (ties, names that differ only in case, by the
// names themselves). The sort moves small entries that carry the first eight bytes of the
// folded name, so most comparisons are one integer compare and no string is moved.
std::vector<std::string>
sortedByFoldedName(std::vector<std::pair<std::string, std::string>>& found) {
    struct Entry {
        std::uint64_t prefix;
        std::size_t index;
    };
    std::vector<Entry> order;
    order.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::string& key = found[i].first;
        std::uint64_t prefix = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            prefix = (prefix << 8) | (b < key.size() ? static_cast<std::uint8_t>(key[b]) : 0u);
        }
        order.push_back(Entry{prefix, i});
    }
    std::sort(order.begin(), order.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        return found[a.index] < found[b.index];
    });
    std::vector<std::string> names;
    names.reserve(found.size());
    for (const Entry& entry : order) {
        names.push_back(std::move(found[entry.index].second));
    }
    return names;
}

} // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    return matchFolded(text::foldCaseUtf8(name), text::foldCaseUtf8(pattern));
}

namespace {

enum class EntryKind { RegularFile, Directory };

// The entries of a directory of one kind (links followed) whose folded names keep() accepts,
// with those folded names; hidden entries, "." and ".." left out. Empty when the directory
// cannot be read.
template <typename Keep>
std::vector<std::pair<std::string, std::string>> visibleEntries(const std::string& directory,
                                                                EntryKind kind, Keep keep) {
    std::vector<std::pair<std::string, std::string>> found;
#ifdef _WIN32
    // One FindFirstFileExW search gives every name with its attributes: no call per entry
    // except for links, which are followed to what they point at.
    const std::filesystem::path path = path::native(directory);
    WIN32_FIND_DATAW data{};
    const std::unique_ptr<void, SearchCloser> search(
        ::FindFirstFileExW((path / L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (search.get() == INVALID_HANDLE_VALUE) {
        return {};
    }
    do {
        std::string name;
        if (data.cFileName[0] == L'.' || isHidden(data.dwFileAttributes) ||
            !utf8Name(data.cFileName, name)) {
            continue; // hidden entries, "." and "..", names that are no valid UTF-16
        }
        std::string key = text::foldCaseUtf8(name);
        if (keep(key) && (kind == EntryKind::RegularFile ? isRegularFile(path, data)
                                                         : isDirectory(path, data))) {
            found.emplace_back(std::move(key), std::move(name));
        }
    } while (::FindNextFileW(search.get(), &data) != 0);
#else
    const std::unique_ptr<DIR, DirectoryCloser> handle(::opendir(directory.c_str()));
    if (!handle) {
        return {};
    }
    const int directoryFd = ::dirfd(handle.get());
    while (const dirent* entry = ::readdir(handle.get())) {
        if (entry->d_name[0] == '.') {
            continue; // hidden entries, "." and ".."
        }
        std::string key = text::foldCaseUtf8(entry->d_name);
        if (keep(key) && (kind == EntryKind::RegularFile ? isRegularFile(directoryFd, *entry)
                                                         : isDirectory(directoryFd, *entry))) {
            found.emplace_back(std::move(key), entry->d_name);
        }
    }
#endif
    return found;
}

} // namespace

std::vector<std::string> listMatchingFiles(const std::string& directory,
                                           std::string_view patterns) {
    const std::vector<std::string> folded = foldedPatterns(patterns);
    // Each entry is kept with its folded name, which is both what it is matched by and what
    // it is sorted by.
    auto found =
        visibleEntries(directory, EntryKind::RegularFile,
                       [&folded](const std::string& key) { return matchesAny(key, folded); });
    return sortedByFoldedName(found);
}

std::vector<std::string> listSubdirectories(const std::string& directory) {
    auto found =
        visibleEntries(directory, EntryKind::Directory, [](const std::string&) { return true; });
    return sortedByFoldedName(found);
}

} // namespace runtime
