#include "fontlist/HiddenFontsHint.h"

#include "fontlist/FontTypes.h"
#include "platform/DirectoryListing.h"
#include "text/Text.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace fontlist {

namespace {

// The patterns of a ";"-separated list, in their order.
std::vector<std::string_view> patternsOf(std::string_view list) {
    std::vector<std::string_view> patterns;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        if (end > 0) {
            patterns.push_back(list.substr(0, end));
        }
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return patterns;
}

// ".ttf" for "*.ttf": the extension a pattern of the type table takes.
std::string_view extensionOf(std::string_view pattern) {
    return pattern.starts_with('*') ? pattern.substr(1) : pattern;
}

// "a", "a or b", "a, b or c" (or "and" for the last).
std::string listed(const std::vector<std::string>& items, std::string_view last) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i + 1 == items.size() && i > 0) {
            text += ' ';
            text += last;
            text += ' ';
        } else if (i > 0) {
            text += ", ";
        }
        text += items[i];
    }
    return text;
}

} // namespace

std::optional<std::string> hiddenFontsHint(const std::string& directory,
                                           std::string_view shownPatterns,
                                           const platform::SharedDirectoryReads* shared) {
    const TypeFilter& all = typeFilters().back();
    if (platform::samePatterns(shownPatterns, all.patterns)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> patterns = patternsOf(all.patterns);
    std::vector<std::size_t> counts(patterns.size(), 0);
    const text::TextList names = platform::listMatchingFileNames(directory, all.patterns, shared);
    for (std::size_t n = 0; n < names.size(); ++n) {
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            if (platform::matchesWildcard(names.at(n), patterns[i])) {
                ++counts[i];
                break;
            }
        }
    }
    std::vector<std::string> held;
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (counts[i] > 0) {
            const std::string files = std::string(extensionOf(patterns[i])) + " file";
            held.push_back(text::countedGrouped(counts[i], files, files + "s"));
        }
    }
    if (held.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> shown;
    for (const std::string_view pattern : patternsOf(shownPatterns)) {
        shown.emplace_back(extensionOf(pattern));
    }
    // The entry's name without its patterns: "All font types".
    const std::string_view allName = std::string_view(all.entry).substr(0, all.entry.find(" ("));
    return "No " + listed(shown, "or") + " files here. This folder holds " + listed(held, "and") +
           ": choose \"" + std::string(allName) + "\" in the type filter.";
}

} // namespace fontlist
