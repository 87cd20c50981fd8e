#pragma once

#include <string>
#include <string_view>

namespace fontlist {

// Windows takes a file name for a device when its part before the first full stop, without
// spaces around it, is a device name in any letter case: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
// COM0 to COM9 and LPT0 to LPT9 (also with the superscript digits 1, 2 and 3). So "CON.ttf" or
// "nul .pfb" in any directory opens the device, not a file. This gives such a name a file's
// form by putting "_" right after the device name ("CON.ttf" becomes "CON_.ttf", "nul .pfb"
// becomes "nul_ .pfb"); any other name comes back as it is. Works on UTF-8.
std::string withoutDeviceName(std::string_view fileName);

// A name for a file that the program creates from a font's name, as this system needs it:
// withoutDeviceName on Windows, the name unchanged on every other system, where such names are
// plain files.
std::string fileNameForThisSystem(std::string fileName);

} // namespace fontlist
