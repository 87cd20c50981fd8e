#pragma once

#include <string>
#include <string_view>

namespace fontlist {

// One entry of _fonts.html: <A HREF="path">key</A><BR>. The link target has "%", "#", "?" and
// control characters percent-encoded so that it still leads to the file; link and text have
// "&", "<", ">" and the double quote written as character references, so whatever the path
// and key hold, the page stays well formed. Plain paths and keys come out unchanged.
std::string htmlLinkLine(std::string_view path, std::string_view key);

} // namespace fontlist
