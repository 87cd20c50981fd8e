#include "cli/ReportCommand.h"

#include "cli/ConsoleText.h"
#include "cli/ExitStatus.h"
#include "cli/TerminalText.h"
#include "cli/UsageError.h"
#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/FontFileType.h"
#include "truetype/NameTableReport.h"
#include "type1/HeaderReport.h"

#include <ostream>

namespace cli {

namespace {

// The report is for an existing font file; the window never reports anything else.
runtime::FontFileType requireFontFile(const std::string& file) {
    runtime::fs::Attributes attributes;
    try {
        attributes = runtime::fs::fileAttributes(file);
    } catch (const runtime::Failure& failure) {
        throw UsageError("cannot read '" + file + "': " + failure.description());
    }
    if (attributes.directory) {
        throw UsageError("'" + file + "' is a directory");
    }
    const runtime::FontFileType type = runtime::fontFileTypeOf(file);
    if (type == runtime::FontFileType::Other) {
        throw UsageError("'" + file + "' is not a .ttf, .otf, .ttc, .otc or .pfb file");
    }
    return type;
}

} // namespace

int runReportCommand(const std::string& file, bool lineFeeds, Console& console) {
    const runtime::FontFileType type = requireFontFile(file);
    runtime::FontReport report;
    switch (type) {
    case runtime::FontFileType::TrueType: report = truetype::TTReport(file); break;
    case runtime::FontFileType::Collection: report = truetype::TTCReport(file); break;
    case runtime::FontFileType::Type1: report = type1::T1Report(file); break;
    case runtime::FontFileType::Other: break; // refused above
    }
    std::string text = lineFeeds ? lineFeedsOnly(report.text) : report.text;
    if (text.empty() || text.back() != '\n') {
        text += lineFeeds ? "\n" : "\r\n";
    }
    // A report line never holds a tab of its own making, so a tab on a terminal came from the
    // font and is shown escaped like any other control character.
    console.out << (console.outputIsTerminal ? terminalText(text, LineBreaks::Kept) : text);
    return kSuccess;
}

} // namespace cli
