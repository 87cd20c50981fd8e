#pragma once

// <windows.h> for the Windows branches of the runtime, without the min and max macros and the
// parts of the API that nothing here uses. Includes nothing elsewhere.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
