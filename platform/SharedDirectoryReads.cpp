#include "platform/SharedDirectoryReads.h"

#include "platform/DirectoryReadMemo.h"

namespace platform {

SharedDirectoryReads::SharedDirectoryReads()
    : memo_(std::make_unique<directory_entries::ReadMemo>()) {}

SharedDirectoryReads::~SharedDirectoryReads() = default;

} // namespace platform
