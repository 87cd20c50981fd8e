#pragma once

namespace fontlist {

// How the spaces of a full name appear in the file names made from it; the values are the
// indices of the window's option buttons.
enum class SpacesOption { NoChange = 0, ReplaceWithHyphen = 1, Remove = 2 };

} // namespace fontlist
