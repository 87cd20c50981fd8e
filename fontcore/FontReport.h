#pragma once

#include "platform/Failure.h"
#include "text/Text.h"

#include <string>

namespace fontcore {

// The text of the details pane for one font file, and whether the file list must be read
// again because the file has gone (failure 53).
struct FontReport {
    std::string text;
    bool fileListStale = false;
    bool failed = false; // the text tells why the font could not be reported
};

// Where users are asked to report fonts that this program cannot read.
inline constexpr const char* supportAddress = "support@quillvane.example.org";

// The pane's text for a report that failed, the same for both font types. A missing file
// (53) says the fonts may have moved and asks for the list to be read again; any other
// failure names the file. Neither text ends with a line break.
inline FontReport failedFontReport(const platform::Failure& failure, const std::string& fontPath) {
    FontReport report;
    report.failed = true;
    if (failure.is(platform::FailureNumber::FileNotFound)) {
        report.text = failure.description() +
                      ". Fonts in directory may have been moved while app was open." +
                      std::string(text::kCrLf) + "If problem persists, please report to " +
                      supportAddress + " . Thanks!";
        report.fileListStale = true;
    } else {
        report.text = failure.description() +
                      " error encountered while reading font: " + std::string(text::kCrLf) +
                      fontPath + std::string(text::kCrLf) +
                      "If possible, please report problem to " + supportAddress + " . Thanks!";
    }
    return report;
}

} // namespace fontcore
