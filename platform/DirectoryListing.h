#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/SharedDirectoryReads.h"
#include "text/TextList.h"

namespace platform {

// True when a file name matches a wildcard pattern ("*" any run of characters, "?" one
// character, everything else itself), without regard to case. Both are UTF-8.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// A list of ";"-separated wildcard patterns folded once, for matching many names.
class FilePatterns {
public:
    explicit FilePatterns(std::string_view patterns);
    // Whether a name already folded (text::foldCaseInPlace) matches one of the patterns.
    bool matchFolded(std::string_view foldedName) const;

private:
    std::vector<std::string> folded_;
};

// Names in the file list's order: by their folded forms (folded[i] that of names[i]), names that
// differ only in case in byte order. The result shares the names' blocks.
text::TextList inFileListOrder(const text::TextList& names, const text::TextList& folded);

// Whether two lists of ";"-separated wildcard patterns hold the same patterns, whatever their
// order and case: the file lists they give are the same.
bool samePatterns(std::string_view a, std::string_view b);

// The names of the regular files of a directory (links to regular files included) that match
// one of the ";"-separated wildcard patterns, without regard to case; hidden files (a name
// starting with ".") are left out. Sorted without regard to case, ties in byte order. A
// directory that cannot be read gives an empty list. Listings given the same shared reads read a
// directory once while it stays unchanged.
std::vector<std::string> listMatchingFiles(const std::string& directory, std::string_view patterns,
                                           const SharedDirectoryReads* shared = nullptr);
// The same names held compactly, for directories of very many files.
text::TextList listMatchingFileNames(const std::string& directory, std::string_view patterns,
                                     const SharedDirectoryReads* shared = nullptr);

// The names of the sub-directories of a directory (links to directories included), as the
// system's bytes; hidden ones (a name starting with ".", the hidden attribute on Windows) are
// left out, as the file list leaves out hidden files. Sorted without regard to case, ties in
// byte order. A directory that cannot be read gives an empty list.
std::vector<std::string> listSubdirectories(const std::string& directory,
                                            const SharedDirectoryReads* shared = nullptr);

} // namespace platform
