#pragma once

#include <string>

namespace cli {

// The text of --help: usage, commands, options and exit statuses.
std::string helpText();

// The text of --version: "quillvane-cli (Quillvane) " and the project's version.
std::string versionText();

} // namespace cli
