#pragma once

#include "fontlist/ScannedFile.h"

namespace fontlist {

// How the versions of two font files compare: by their `head` fontRevision where both have one
// and they differ, then by the first run of dotted numbers in their version texts ("Version
// 2.010; ttfautohint" gives 2, 10), number by number, a missing number counting as 0. Negative
// when a is older, positive when newer, 0 when neither tells them apart.
int compareVersions(const ScannedFile& a, const ScannedFile& b);

} // namespace fontlist
