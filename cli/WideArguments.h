#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace cli {

// The arguments that wmain receives after the program's name, each turned from UTF-16 into
// UTF-8, the form every path takes in the core. Throws UsageError for an argument that is not
// valid UTF-16 (an unpaired surrogate): no UTF-8 text names that file, and a lossy conversion
// could name another one.
std::vector<std::string> utf8Arguments(int argc, const wchar_t* const argv[]);

} // namespace cli

#endif
