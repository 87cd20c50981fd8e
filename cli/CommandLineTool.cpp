#include "cli/CommandLineTool.h"

#include "cli/BatchCommand.h"
#include "cli/CommandLine.h"
#include "cli/DuplicatesCommand.h"
#include "cli/EnvironmentLocale.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "cli/ListCommand.h"
#include "cli/NameCommand.h"
#include "cli/ReportCommand.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "fontlist/ReadableNames.h"

#include <exception>
#include <ostream>
#include <string>

namespace cli {

namespace {

int run(const Request& request, Console& console) {
    switch (request.command) {
    case Command::Help: console.out << helpText(); return kSuccess;
    case Command::Version: console.out << versionText(); return kSuccess;
    case Command::Name: return runNameCommand(request, console);
    case Command::Report: return runReportCommand(request, console);
    case Command::Html: return runBatchCommand(BatchRun::Html, request, console);
    case Command::Copy: return runBatchCommand(BatchRun::Copy, request, console);
    case Command::List: return runListCommand(request, console);
    case Command::Duplicates: return runDuplicatesCommand(request, console);
    }
    return kUsage;
}

} // namespace

int runCommandLineTool(std::span<const std::string> arguments, Console& console) {
    try {
        Request request = parseCommandLine(arguments);
        if (request.decoding.readable()) {
            request.decoding = fontlist::readableNamesIn(localeOfEnvironment());
        }
        return run(request, console);
    } catch (const UsageError& error) {
        // The error can quote a file name or an argument: shown escaped on a terminal.
        const std::string what = error.what();
        console.err << "quillvane-cli: "
                    << (console.errorIsTerminal ? terminalText(what, LineBreaks::Escaped) : what)
                    << '\n'
                    << "Try 'quillvane-cli --help' for more information.\n";
        return kUsage;
    } catch (const std::exception& error) {
        // The commands handle their own failures; this is out of memory and the like.
        console.err << "quillvane-cli: " << error.what() << '\n';
        return kNotFinished;
    }
}

} // namespace cli
