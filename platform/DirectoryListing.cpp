#include "platform/DirectoryListing.h"

#include "platform/DirectoryEntries.h"
#include "platform/SideBySide.h"
#include "text/Text.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <utility>

namespace platform {

using namespace directory_entries;

namespace {

// The bytes "?" (and a "*" moving on) take: a whole character, judged by its lead byte alone,
// or one byte of anything else, cut short at the end of the name.
std::size_t characterLength(std::string_view name, std::size_t n) {
    return std::min(
        std::max<std::size_t>(text::utf8::announcedLength(static_cast<unsigned char>(name[n])), 1),
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

bool matchesAny(std::string_view foldedName, const std::vector<std::string>& patterns) {
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& pattern) {
        return matchFolded(foldedName, pattern);
    });
}

// From this many entries on, a listing is sorted on two threads.
constexpr std::size_t kTwoThreadsFrom = 32768;

// The names in the order of their folded forms (ties, names that differ only in case, by the
// names themselves). The sort moves small entries that carry the first eight bytes of the
// folded name, so most comparisons are one integer compare and no text is moved; the result
// shares the names' blocks.
text::TextList sortedByFoldedName(const text::TextList& names, const text::TextList& folded) {
    struct Entry {
        std::uint64_t prefix;
        std::uint32_t index;
    };
    if (names.size() > UINT32_MAX) {
        throw std::length_error("directory listing: too many entries");
    }
    std::vector<Entry> order;
    order.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string_view key = folded[i];
        std::uint64_t prefix = 0;
        for (std::size_t b = 0; b < 8; ++b) {
            prefix = (prefix << 8) | (b < key.size() ? static_cast<std::uint8_t>(key[b]) : 0u);
        }
        order.push_back(Entry{prefix, static_cast<std::uint32_t>(i)});
    }
    const auto before = [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) {
            return a.prefix < b.prefix;
        }
        const int byFolded = folded[a.index].compare(folded[b.index]);
        return byFolded != 0 ? byFolded < 0 : names[a.index] < names[b.index];
    };
    // The names of a directory are all different, so the order is the same however it is
    // reached: a long list is sorted in two halves side by side, then merged.
    if (order.size() >= kTwoThreadsFrom) {
        const auto middle = order.begin() + static_cast<std::ptrdiff_t>(order.size() / 2);
        sideBySide([&] { std::sort(order.begin(), middle, before); },
                   [&] { std::sort(middle, order.end(), before); });
        std::inplace_merge(order.begin(), middle, order.end(), before);
    } else {
        std::sort(order.begin(), order.end(), before);
    }
    std::vector<std::uint32_t> indices;
    indices.reserve(order.size());
    for (const Entry& entry : order) {
        indices.push_back(entry.index);
    }
    order = {};
    return names.reordered(indices);
}

text::TextList sortedEntries(const std::string& directory, EntryKind kind,
                             const std::function<bool(std::string_view)>& keep,
                             const SharedDirectoryReads* shared) {
    text::TextList names;
    text::TextList folded;
    visibleEntries(directory, kind, keep, names, folded, shared ? &shared->memo() : nullptr);
    return sortedByFoldedName(names, folded);
}

} // namespace

FilePatterns::FilePatterns(std::string_view patterns) : folded_(foldedPatterns(patterns)) {}

bool FilePatterns::matchFolded(std::string_view foldedName) const {
    return matchesAny(foldedName, folded_);
}

text::TextList inFileListOrder(const text::TextList& names, const text::TextList& folded) {
    return sortedByFoldedName(names, folded);
}

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    return matchFolded(text::foldCaseUtf8(name), text::foldCaseUtf8(pattern));
}

bool samePatterns(std::string_view a, std::string_view b) {
    std::vector<std::string> first = foldedPatterns(a);
    std::vector<std::string> second = foldedPatterns(b);
    std::sort(first.begin(), first.end());
    std::sort(second.begin(), second.end());
    first.erase(std::unique(first.begin(), first.end()), first.end());
    second.erase(std::unique(second.begin(), second.end()), second.end());
    return first == second;
}

text::TextList listMatchingFileNames(const std::string& directory, std::string_view patterns,
                                     const SharedDirectoryReads* shared) {
    const std::vector<std::string> folded = foldedPatterns(patterns);
    // Each entry is kept with its folded name, which is both what it is matched by and what
    // it is sorted by.
    return sortedEntries(
        directory, EntryKind::RegularFile,
        [&folded](std::string_view key) { return matchesAny(key, folded); }, shared);
}

std::vector<std::string> listMatchingFiles(const std::string& directory, std::string_view patterns,
                                           const SharedDirectoryReads* shared) {
    return listMatchingFileNames(directory, patterns, shared).strings();
}

std::vector<std::string> listSubdirectories(const std::string& directory,
                                            const SharedDirectoryReads* shared) {
    return sortedEntries(
               directory, EntryKind::Directory, [](std::string_view) { return true; }, shared)
        .strings();
}

} // namespace platform
