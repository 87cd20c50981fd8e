#pragma once

#include "fontcore/FontFacts.h"
#include "platform/FontFileReader.h"
#include "type1/HeaderWindow.h"

#include <optional>
#include <string>
#include <string_view>

// What the clear-text header of a Type 1 font tells people of it.
namespace type1 {

// The string that key's entry holds in the header window, as PostScript reads the literal:
// key found without regard to case where a delimiter follows it (so /Weight is not
// /WeightVector), then white space, then "(" up to the ")" that balances it; the escapes \( \)
// \\ \n \r \t \b \f and \ddd (octal) resolved, a backslash before a line end dropped with it, a
// line end within the string read as LF. Raw bytes, not decoded. None where the key is missing,
// its value is no string, or the string does not end within the window.
std::optional<std::string> stringEntry(std::string_view window, std::string_view key);

// The facts of the one font of the file: its header's /version, /FullName, /FamilyName, /Weight
// and /Notice strings and its /FontName name decoded from Windows-1252 to UTF-8, NULs dropped; a
// field whose entry holds no string is empty (the full name then is the name lookup's cut; for
// the list it is always the lookup's full name, the cut as stored). A file whose name lookup fails
// (no /FullName value can be cut) raises that failure, 5, as a failing read raises its own.
fontcore::FontFacts headerFacts(platform::FontFileReader& reader, HeaderLayout layout,
                                fontcore::FactsUse use);

} // namespace type1
