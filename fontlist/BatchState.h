#pragma once

#include <string>

#include "text/TextList.h"

namespace fontlist {

// The window's state around the batch runs: only the window and its adapter
// (WindowBatchAdapter.h) use it, to be removed when the window calls the runs directly.
struct BatchState {
    std::string WindowsDir; // the Windows directory, lower case, no trailing separator
    std::string FontsDir;   // WindowsDir + separator + "fonts" + separator
    std::string CurrentDir; // the file list's directory with a trailing separator
    // Refilled by each HTML list with the listed file names in the order of the page and an
    // empty entry after the last.
    text::TextList FontFiles;
    text::TextList FontNames; // the sort keys of the HTML list
};

} // namespace fontlist
