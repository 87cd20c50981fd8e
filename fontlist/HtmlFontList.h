#pragma once

// The window's HTML list handler: to be removed when the window calls the runs directly.
#include "fontlist/WindowBatchAdapter.h" // IWYU pragma: export
