#pragma once

#include <iosfwd>

namespace cli {

// The streams the tool talks through and whether the user sits at them: questions are asked
// only when the input is a terminal, the progress line is drawn only when the error stream is
// one, and texts from fonts and file names have their control characters shown escaped on an
// output or error stream that is one.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool inputIsTerminal = false;
    bool errorIsTerminal = false;
    bool outputIsTerminal = false;
};

// Standard input, output and error, with their terminal flags taken from the system.
Console standardConsole();

} // namespace cli
