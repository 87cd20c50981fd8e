#pragma once

#include <stdexcept>
#include <string>

namespace cli {

// A command line the tool cannot run: an unknown command or option, a missing or extra
// operand, a file or directory that is not there. Ends the tool with exit status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace cli
