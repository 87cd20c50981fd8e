#include "fuzz/FuzzTargets.h"

#include <string>

#include "fontcore/FontReport.h"
#include "fuzz/Properties.h"
#include "platform/FontFileReader.h"
#include "type1/HeaderReport.h"
#include "type1/HeaderWindow.h"

namespace fuzzing {

namespace {

const std::string kPath = "fuzz.pfb";
const std::string kFinishedStart = "Name info for " + kPath + "\r\n";

// One byte of the header window decodes to at most three of UTF-8.
constexpr std::size_t kLongestValue = 3 * static_cast<std::size_t>(type1::kHeaderWindowLength);

} // namespace

void type1Name(Input input) {
    platform::FontFileReader font(input);
    const std::string name = type1::T1NameFromReader(font).text();
    require(isValidUtf8(name), "the full name is UTF-8");
    require(name.size() <= kLongestValue, "the full name comes from the header window");
    require(font.fetchCount() <= 1, "the lookup reads the header window and nothing else");
}

void type1Report(Input input) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report = type1::T1ReportFromReader(font, kPath);
    require(isValidUtf8(report.text), "the report is UTF-8");
    require(!report.fileListStale, "bytes in memory never go missing");
    require(font.fetchCount() <= 1, "the report reads the header window and nothing else");
    if (!report.text.starts_with(kFinishedStart)) {
        requireFailureText(report.text, kPath);
        return;
    }
    // A finished report holds the /FullName value on a line of its own (after /version), and
    // the lookup cuts the same value out of the same window (read again from the same reader,
    // which has it in its page).
    const std::string line = "\r\n" + type1::T1NameFromReader(font).text() + "\r\n";
    require(report.text.find(line) != std::string::npos, "the full name is a line of the report");
}

} // namespace fuzzing
