#pragma once

#include "platform/Failure.h"
#include "platform/WindowsApi.h"

namespace platform {

// The failure a Win32 error code stands for; the counterpart of failureFromErrno.
Failure failureFromWindowsError(DWORD error);

} // namespace platform
