#pragma once

#include <memory>

namespace platform {

namespace directory_entries {
struct ReadMemo;
}

// The listings given one share their reads of a directory: the first listing of a folder keeps
// every visible entry and its type, and a later listing of the same folder (the same device
// and inode, not modified since by its times) takes them from there instead of reading the
// directory again. The window's start lists its folder's sub-directories and then its font
// files; in a folder of many fonts the second read of the directory would cost as much as the
// first. A listing given none reads the directory. (Where the system gives no entry types, as
// on Windows, nothing is shared.)
class SharedDirectoryReads {
public:
    SharedDirectoryReads();
    ~SharedDirectoryReads();
    SharedDirectoryReads(const SharedDirectoryReads&) = delete;
    SharedDirectoryReads& operator=(const SharedDirectoryReads&) = delete;

    // For the directory readers: what is kept of the last directory read.
    directory_entries::ReadMemo& memo() const { return *memo_; }

private:
    std::unique_ptr<directory_entries::ReadMemo> memo_;
};

} // namespace platform
