#pragma once

#include "runtime/Failure.h"
#include "runtime/WindowsApi.h"

namespace runtime {

// The failure a Win32 error code stands for; the counterpart of failureFromErrno.
Failure failureFromWindowsError(DWORD error);

} // namespace runtime
