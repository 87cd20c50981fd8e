#include "cli/ReportCommand.h"

#include "cli/ConsoleText.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "fontlist/FontTypes.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"

#include <ostream>

namespace cli {

namespace {

// The report is for an existing font file; the window never reports anything else.
void requireFontFile(const std::string& file) {
    platform::fs::Attributes attributes;
    try {
        attributes = platform::fs::fileAttributes(file);
    } catch (const platform::Failure& failure) {
        throw UsageError("cannot read '" + file + "': " + failure.description());
    }
    if (attributes.directory) {
        throw UsageError("'" + file + "' is a directory");
    }
    if (fontlist::fontTypeOf(file) == nullptr) {
        throw UsageError("'" + file + "' is not a " + fontlist::fontExtensionsText() + " file");
    }
}

} // namespace

int runReportCommand(const std::string& file, bool lineFeeds, fontcore::NameDecoding decoding,
                     Console& console) {
    requireFontFile(file);
    const fontcore::FontReport report = fontlist::reportOf(file, decoding).value();
    std::string text = lineFeeds ? lineFeedsOnly(report.text) : report.text;
    if (text.empty() || text.back() != '\n') {
        text += lineFeeds ? "\n" : "\r\n";
    }
    // A report line never holds a tab of its own making, so a tab on a terminal came from the
    // font and is shown escaped like any other control character.
    console.out << (console.outputIsTerminal ? terminalText(text, LineBreaks::Kept) : text);
    // The text of a report that failed ("Permission denied error encountered ...") is no report.
    return report.failed ? kNotFinished : kSuccess;
}

} // namespace cli
