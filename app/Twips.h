#pragma once

// The window's layout is given in twips (1/1440 inch); at 96 dots per inch 15 twips make one
// logical pixel, and Qt's high-DPI scaling takes it from there.
namespace app::twips {

inline constexpr int perPixel = 15;

// Nearest pixel count, for positions and sizes (non-negative values only).
constexpr int toPixels(int twips) {
    return (twips + perPixel / 2) / perPixel;
}

// The fewest pixels that cover at least the given twips, for minimum sizes: rounding a
// minimum down would leave the window below it and the resize rule would fire forever.
constexpr int toPixelsAtLeast(int twips) {
    return (twips + perPixel - 1) / perPixel;
}

constexpr int fromPixels(int pixels) {
    return pixels * perPixel;
}

} // namespace app::twips
