#include "runtime/DirectoryListing.h"

#include "runtime/DirectoryEntries.h"
#include "runtime/Text.h"
#include "runtime/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace runtime {

using namespace directory_entries;

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
