#include "cli/CommandLineTool.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

int main(int argc, char* argv[]) {
#ifdef _WIN32
    // Reports keep their CR LF exactly; text mode would add a CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    cli::Console console = cli::standardConsole();
    int status = cli::runCommandLineTool(arguments, console);
    // Output that could not be written (a full disk, a closed pipe) is no success.
    std::cout.flush();
    if (!std::cout && status == cli::kSuccess) {
        std::cerr << "quillvane-cli: cannot write to standard output\n";
        status = cli::kNotFinished;
    }
    return status;
}
