#include "fontlist/WindowsDeviceNames.h"

#include <string_view>

#include <gtest/gtest.h>

namespace {

using fontlist::withoutDeviceName;

// Superscript digits in UTF-8: U+00B9, U+00B2, U+00B3 and U+2074.
#define SUP1 "\xC2\xB9"
#define SUP2 "\xC2\xB2"
#define SUP3 "\xC2\xB3"
#define SUP4 "\xE2\x81\xB4"

TEST(WindowsDeviceNames, AppendsAnUnderscoreToADeviceNameBeforeTheFirstFullStop) {
    const struct {
        std::string_view name;
        std::string_view expected;
    } cases[] = {
        {"CON.ttf", "CON_.ttf"},
        {"CON", "CON_"},
        {"prn.pfb", "prn_.pfb"},
        {"Aux.pfm", "Aux_.pfm"},
        {"nul.Regular", "nul_.Regular"},
        {"NUL.Bold.ttf", "NUL_.Bold.ttf"},
        {"COM0.ttf", "COM0_.ttf"},
        {"com9.ttf", "com9_.ttf"},
        {"LPT1.pfb", "LPT1_.pfb"},
        {"lPt9.afm", "lPt9_.afm"},
        {"conin$.ttf", "conin$_.ttf"},
        {"CONOUT$.ttf", "CONOUT$_.ttf"},
        {"COM" SUP1 ".ttf", "COM" SUP1 "_.ttf"},
        {"lpt" SUP3 ".ttf", "lpt" SUP3 "_.ttf"},
        // Spaces around the part do not hide the device; the "_" goes right after its name.
        {"CON .ttf", "CON_ .ttf"},
        {"AUX  ", "AUX_  "},
        {" COM1 .x", " COM1_ .x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withoutDeviceName(c.name), c.expected) << '"' << c.name << '"';
    }
}

TEST(WindowsDeviceNames, LeavesEveryOtherNameAsItIs) {
    for (const std::string_view name :
         {"", ".ttf", " .ttf", "Arial.ttf",
          // Longer or shorter than a device name, or with it elsewhere than at the start.
          "CONSOLE.ttf", "Con Bold.ttf", "ACON.ttf", "CO.ttf", "NULL.ttf", "Arial.CON",
          "Arial.con.ttf", "C ON.ttf",
          // Only one digit, or one of the superscripts 1 to 3, makes a port.
          "COM.ttf", "COM10.ttf", "LPTa.pfb", "LPT" SUP2 SUP2 ".ttf", "COM" SUP4 ".ttf",
          // Already a file's name.
          "CON_.ttf", "nul_.Regular"}) {
        EXPECT_EQ(withoutDeviceName(name), name) << '"' << name << '"';
    }
}

TEST(WindowsDeviceNames, OnlyWindowsHasDeviceNames) {
#ifdef _WIN32
    EXPECT_EQ(fontlist::fileNameForThisSystem("Con.ttf"), "Con_.ttf");
#else
    EXPECT_EQ(fontlist::fileNameForThisSystem("Con.ttf"), "Con.ttf");
#endif
}

} // namespace
