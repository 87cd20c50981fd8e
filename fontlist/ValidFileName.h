#pragma once

#include "fontlist/SpacesOption.h"

#include <string>
#include <string_view>

namespace fontlist {

// The base of a file name made from a (trimmed) full font name: each space as the option asks
// (kept, "-" or dropped), then the nine characters that Windows forbids in file names
// (\ / : * ? " < > |), every full stop and every control character (0x00-0x1F, tab included,
// and DEL) dropped. Letter case is never changed; everything else passes through, bytes from
// 0x80 up included. Works on UTF-8: the characters it looks at are all ASCII.
std::string ValidFileName(std::string_view inputfilename, SpacesOption option);

} // namespace fontlist
