#pragma once

#include "fontlist/UserMessage.h"
#include "text/TextList.h"

#include <string>

namespace fontlist {

// What the window offers its adapter to the batch runs (WindowBatchAdapter.h): the file list as
// browsing left it, a way to talk to the user, the progress display and the batch buttons.
// Only the window implements it; to be removed when the window calls the runs directly.
class BatchHost {
public:
    virtual ~BatchHost() = default;

    // The file list: its directory (without a trailing separator, except a root directory),
    // its number of entries and the entry (a file name without directory) at an index.
    virtual std::string fileListDirectory() = 0;
    virtual int fileListCount() = 0;
    virtual std::string fileListEntry(int index) = 0;
    // Every entry at once, held compactly. A host that keeps its list so gives it without a
    // copy of the names; by default it is made from the entries one by one.
    virtual text::TextList fileListNames() {
        text::TextList names;
        const int count = fileListCount();
        names.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
        for (int i = 0; i < count; ++i) {
            names.push_back(fileListEntry(i));
        }
        return names;
    }

    // Reads the file list's directory again (the entries change; nothing is selected).
    virtual void refreshFileList() = 0;
    // Reads the directory tree again, so that a new sub-directory shows.
    virtual void refreshDirectoryList() = 0;

    // Shows a modal message and returns the button pressed (Ok for an OK box).
    virtual fontlist::Answer show(const fontlist::UserMessage& message) = 0;

    // The progress display (the window title): shown at once, while the run goes on.
    virtual void showProgress(const std::string& text) = 0;

    // Disables the two batch buttons: "Create HTML Font list", then "Copy/Rename Fonts".
    virtual void disableBatchButtons() = 0;
};

} // namespace fontlist
