#pragma once

#include <string>
#include <string_view>

namespace fontlist {

// One entry of _fonts.html: <A HREF="path">key</A><BR>. The link target has "%", "#", "?" and
// control characters percent-encoded so that it still leads to the file; link and text have
// "&", "<", ">" and the double quote written as character references, so whatever the path
// and key hold, the page stays well formed. Plain paths and keys come out unchanged.
std::string htmlLinkLine(std::string_view path, std::string_view key);

// The link target of a path as the page writes it. That of a directory ending in its
// separator, followed by that of the name of a file in it, is that of the file's path.
std::string linkTarget(std::string_view path);

// The page's line for a file, appended to out: htmlLinkLine(directory + name, key), with the
// directory's link target (from linkTarget) made once for all its files.
void appendHtmlLinkLine(std::string& out, std::string_view directoryTarget, std::string_view name,
                        std::string_view key);

} // namespace fontlist
