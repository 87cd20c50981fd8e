#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/DirectoryState.h"
#include "runtime/TextList.h"

// Inside the directory readers: what a SharedDirectoryReads scope keeps of the last directory
// read.
namespace runtime::directory_entries {

struct ReadMemo {
    bool filled = false;
    std::string path;
    DirectoryState state{};
    TextList names{};                   // every visible entry, in the directory's order
    std::vector<unsigned char> types{}; // the type the directory gives each (d_type)
};

// The memo of the innermost scope alive on this thread; none outside every scope.
ReadMemo* activeReadMemo() noexcept;

} // namespace runtime::directory_entries
