#pragma once

#include <string>

namespace cli {

// The locale of the messages as the environment gives it: the first of LC_ALL, LC_MESSAGES and
// LANG that is set and not empty ("fr_FR.UTF-8"); empty where none is.
std::string localeOfEnvironment();

} // namespace cli
