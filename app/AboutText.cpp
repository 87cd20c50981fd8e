#include "app/AboutText.h"

namespace app {

namespace {
constexpr const char* crlf = "\r\n";
constexpr const char* makerLine = "Written by the Quillvane developers, 2026.";
constexpr const char* distributionLine =
    "Free software under the MIT License: you may use, copy and pass it on.";
} // namespace

std::string aboutText(unsigned major, unsigned minor, unsigned revision) {
    std::string s = "Quillvane";
    s += crlf;
    s += "version ";
    s += std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
    s += crlf;
    s += " ";
    s += crlf;
    s += makerLine;
    s += crlf;
    s += distributionLine;
    return s;
}

} // namespace app
