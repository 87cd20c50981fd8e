#pragma once

#include "fontlist/SpacesOption.h"

#include <string>
#include <string_view>

namespace fontlist {

// The base of a file name made from a (trimmed) full font name: each space as the option asks
// (kept, "-" or dropped), then the nine characters that Windows forbids in file names
// (\ / : * ? " < > |), every full stop and every control character dropped: 0x00-0x1F (tab
// included) and DEL, the C1 controls U+0080-U+009F, the bidirectional controls and the line and
// paragraph separators (see text/ControlCharacters.h). Letter case is never changed;
// everything else passes through. Works on UTF-8; a byte that begins no valid sequence passes.
std::string ValidFileName(std::string_view inputfilename, SpacesOption option);

} // namespace fontlist
