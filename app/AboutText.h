#pragma once

#include <string>

namespace app {

// The five lines of the About box, joined by CR LF, with no line break after the last.
std::string aboutText(unsigned major, unsigned minor, unsigned revision);

} // namespace app
