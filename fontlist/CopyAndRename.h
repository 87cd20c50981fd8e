#pragma once

// The window's copy handler: to be removed when the window calls the runs directly.
#include "fontlist/WindowBatchAdapter.h" // IWYU pragma: export
