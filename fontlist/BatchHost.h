#pragma once

#include "fontlist/UserMessage.h"
#include "text/TextList.h"

#include <string>

namespace fontlist {

// What the two batch runs need from the program that hosts them: the file list as browsing
// left it, a way to talk to the user, and the progress display. The window implements it
// with its controls and real message boxes, the command-line tool with its console, the tests
// with a script. The runs never format anything for a particular front end.
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
