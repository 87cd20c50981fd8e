#pragma once

#include <memory>

namespace platform {

namespace directory_entries {
struct ReadMemo;
}

// While one is alive, the listings made on this thread share their reads of a directory: the
// first listing of a folder keeps every visible entry and its type, and a later listing of the
// same folder (the same device and inode, not modified since by its times) takes them from
// there instead of reading the directory again. The window's start lists its folder's
// sub-directories and then its font files; in a folder of many fonts the second read of the
// directory would cost as much as the first. Outside such a scope every listing reads the
// directory. (Where the system gives no entry types, as on Windows, nothing is shared.)
class SharedDirectoryReads {
public:
    SharedDirectoryReads();
    ~SharedDirectoryReads();
    SharedDirectoryReads(const SharedDirectoryReads&) = delete;
    SharedDirectoryReads& operator=(const SharedDirectoryReads&) = delete;

private:
    std::unique_ptr<directory_entries::ReadMemo> memo_;
    directory_entries::ReadMemo* outer_;
};

} // namespace platform
