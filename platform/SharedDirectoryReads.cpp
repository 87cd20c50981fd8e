#include "platform/SharedDirectoryReads.h"

#include "platform/DirectoryReadMemo.h"

namespace platform {

namespace directory_entries {

namespace {
thread_local ReadMemo* active = nullptr;
}

ReadMemo* activeReadMemo() noexcept {
    return active;
}

} // namespace directory_entries

SharedDirectoryReads::SharedDirectoryReads()
    : memo_(std::make_unique<directory_entries::ReadMemo>()), outer_(directory_entries::active) {
    directory_entries::active = memo_.get();
}

SharedDirectoryReads::~SharedDirectoryReads() {
    directory_entries::active = outer_;
}

} // namespace platform
