#include "app/AboutText.h"

#include "fontlist/ProgramName.h"
#include "text/Text.h"

namespace app {

namespace {
using text::kCrLf;
constexpr const char* makerLine = "Written by the Quillvane developers, 2026.";
constexpr const char* distributionLine =
    "Free software under the MIT License: you may use, copy and pass it on.";
} // namespace

std::string aboutText(unsigned major, unsigned minor, unsigned revision) {
    std::string s(fontlist::kProgramName);
    s += kCrLf;
    s += "version ";
    s += std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
    s += kCrLf;
    s += " ";
    s += kCrLf;
    s += makerLine;
    s += kCrLf;
    s += distributionLine;
    return s;
}

} // namespace app
