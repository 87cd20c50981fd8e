#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DirectoryState.h"
#include "text/TextList.h"

// Inside the directory readers: what a SharedDirectoryReads scope keeps of the last directory
// read.
namespace platform::directory_entries {

struct ReadMemo {
    bool filled = false;
    std::string path;
    DirectoryState state{};
    text::TextList names{};             // every visible entry, in the directory's order
    std::vector<unsigned char> types{}; // the type the directory gives each (d_type)
};

// The memo of the innermost scope alive on this thread; none outside every scope.
ReadMemo* activeReadMemo() noexcept;

} // namespace platform::directory_entries
