#pragma once

#include <string>
#include <vector>

namespace fontlist {

// The window state that the batch runs read and write. The window owns it; the runs get it by
// reference.
struct BatchState {
    std::string WindowsDir; // the Windows directory, lower case, no trailing separator
    std::string FontsDir;   // WindowsDir + separator + "fonts" + separator
    std::string CurrentDir; // the file list's directory with a trailing separator
    // Resized by each run to the indices 0 to count (the last entry stays empty): bare names
    // in copy-and-rename, full paths in the HTML list.
    std::vector<std::string> FontFiles;
    std::vector<std::string> FontNames; // the sort keys of the HTML list
};

} // namespace fontlist
