#include "platform/WindowsFailure.h"

namespace platform {

Failure failureFromWindowsError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return Failure(FailureNumber::FileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_DIRECTORY: return Failure(FailureNumber::PathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return Failure(FailureNumber::PermissionDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return Failure(FailureNumber::DiskFull);
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return Failure(FailureNumber::DeviceIoError);
    default: return Failure(FailureNumber::PathFileAccess);
    }
}

} // namespace platform
