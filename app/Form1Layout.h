#pragma once

// The window's sizes and the details pane's place, in twips: the controls are created at them
// and the resize rule keeps them.
namespace app::layout {

inline constexpr int clientWidthAtStart = 7935;
inline constexpr int clientHeightAtStart = 5535;
inline constexpr int minimumOuterWidth = 8100;
inline constexpr int minimumOuterHeight = 5900;
inline constexpr int detailsLeft = 15;
inline constexpr int detailsTop = 3240;

} // namespace app::layout
