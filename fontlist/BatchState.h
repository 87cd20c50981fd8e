#pragma once

#include <cstddef>
#include <string>

#include "text/TextList.h"

namespace fontlist {

// The window's lists hold one entry more than there are files, left empty after the last, and
// the runs size their lists the same way.
constexpr std::size_t listEntriesFor(std::size_t files) {
    return files + 1;
}

// The window state that the batch runs read and write. The window owns it; the runs get it by
// reference.
struct BatchState {
    std::string WindowsDir; // the Windows directory, lower case, no trailing separator
    std::string FontsDir;   // WindowsDir + separator + "fonts" + separator
    std::string CurrentDir; // the file list's directory with a trailing separator
    // Refilled by each run with listEntriesFor(the number of files) entries: the listed file
    // names (a file's path is CurrentDir followed by its name in the HTML list). Held
    // compactly: a run over a million files keeps one copy of the names, shared with the list.
    text::TextList FontFiles;
    text::TextList FontNames; // the sort keys of the HTML list
};

} // namespace fontlist
