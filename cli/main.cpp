#include "cli/CommandLineTool.h"
#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "platform/TemporaryFileCleanup.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "cli/UsageError.h"
#include "cli/WideArguments.h"
#include "cli/WindowsConsoleOutput.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

namespace {

int runTool(const std::vector<std::string>& arguments) {
    // Interrupted (Ctrl+C, a closed terminal, kill), a run takes its temporary files along.
    platform::removeTemporaryFilesOnSignals();
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

} // namespace

#ifdef _WIN32
// The wide-character entry point: the arguments arrive as the system's UTF-16 and any file
// name comes through, not only those of the ANSI code page.
int wmain(int argc, wchar_t* argv[]) {
    // Reports keep their CR LF exactly; text mode would add a CR before each LF.
    _setmode(_fileno(stdout), _O_BINARY);
    const cli::WindowsConsoleOutput out(std::cout, stdout);
    const cli::WindowsConsoleOutput err(std::cerr, stderr);
    std::vector<std::string> arguments;
    try {
        arguments = cli::utf8Arguments(argc, argv);
    } catch (const cli::UsageError& error) {
        std::cerr << "quillvane-cli: " << error.what() << '\n';
        return cli::kUsage;
    }
    return runTool(arguments);
}
#else
int main(int argc, char* argv[]) {
    return runTool(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
