#include "fuzz/FuzzTargets.h"

#include <string>

#include "fuzz/Properties.h"
#include "runtime/FontFileReader.h"
#include "runtime/FontReport.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"

namespace fuzzing {

namespace {

const std::string kPath = "fuzz.ttf";
const std::string kFinishedStart = "NAME Table Info for " + kPath + "\r\n";

// A record's string is at most 32767 bytes, and one byte decodes to at most three of UTF-8.
constexpr std::size_t kLongestName = 3 * 32767;

} // namespace

void trueTypeName(Input input) {
    runtime::FontFileReader font(input);
    const std::string name = truetype::TTEnglishNameFromReader(font).text();
    require(isValidUtf8(name), "the full name is UTF-8");
    require(name.size() <= kLongestName, "the full name is one record's string at most");
}

void trueTypeReport(Input input) {
    runtime::FontFileReader font(input);
    const runtime::FontReport report = truetype::TTReportFromReader(font, kPath);
    require(isValidUtf8(report.text), "the report is UTF-8");
    require(!report.fileListStale, "bytes in memory never go missing");
    if (!report.text.starts_with(kFinishedStart)) {
        requireFailureText(report.text, kPath);
        return;
    }
    require(report.text.ends_with("\r\n"), "every line of the report ends with CR LF");

    // The report reads every field the lookup reads, in the same order, and more: when it
    // finishes, the lookup (over the same reader, whose pages hold the same bytes) cannot have
    // failed, and the name it gives is one of the report's strings.
    const std::string name = truetype::TTEnglishNameFromReader(font).text();
    require(name.empty() || report.text.find(name) != std::string::npos,
            "the full name appears in the report");
}

} // namespace fuzzing
