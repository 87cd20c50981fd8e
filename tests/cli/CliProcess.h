#pragma once

#include <string>
#include <vector>

// Runs the built quillvane-cli as a separate process, as a user or a script would.
namespace clitest {

enum class Input {
    Null,          // standard input from /dev/null: not a terminal
    Terminal,      // standard input and standard error on a pseudo-terminal
    AllOnTerminal, // standard output too: CliResult::err holds all the terminal showed
};

struct CliResult {
    int status = -1; // the exit status; -1 when the process did not exit normally
    std::string out; // standard output, byte for byte
    std::string err; // standard error (on a terminal: all the terminal showed)
};

// Runs quillvane-cli with the arguments. With Input::Terminal, typed is what the user types
// (it is waiting in the terminal's input before the program starts). The child has this
// process's environment, with the "NAME=value" entries of environment in place of any of the
// same names.
CliResult runCli(const std::vector<std::string>& arguments, Input input = Input::Null,
                 const std::string& typed = {}, const std::vector<std::string>& environment = {});

} // namespace clitest
