#pragma once

#include "cli/Console.h"
#include "fontlist/BatchHost.h"
#include "fontlist/UserMessage.h"
#include "text/TextList.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// The batch runs' host on a console. The file list is the directory listed as the window's
// file list lists it (platform::listMatchingFiles with the type filter's patterns), read when
// first asked for and on every refresh. Messages go to the error stream. A question is
// answered Yes with assumeYes; otherwise it is asked on the terminal, or answered No when the
// input is not a terminal. The progress display is one line on the error stream, redrawn in
// place, drawn only when that stream is a terminal. There are no buttons to disable and no
// directory tree to read again.
class ConsoleHost final : public fontlist::BatchHost {
public:
    // directory: absolute, without a trailing separator except for a root (listedDirectory).
    ConsoleHost(std::string directory, std::string pattern, Console& console, bool assumeYes);
    ~ConsoleHost() override;

    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;

    std::string fileListDirectory() override;
    int fileListCount() override;
    std::string fileListEntry(int index) override;
    text::TextList fileListNames() override;
    void refreshFileList() override;
    void refreshDirectoryList() override {}

    fontlist::Answer show(const fontlist::UserMessage& message) override;
    void showProgress(const std::string& text) override;
    void disableBatchButtons() override {}

    // Takes the progress line off the terminal, if one is drawn.
    void clearProgress();

private:
    void listIfNeeded();
    fontlist::Answer askOnTerminal();

    std::string directory_;
    std::string pattern_;
    Console& console_;
    bool assumeYes_;
    bool listed_ = false;
    text::TextList entries_;
    std::size_t progressWidth_ = 0; // the width of the progress line on the terminal, or 0
};

} // namespace cli
