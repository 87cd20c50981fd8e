#include "type1/HeaderReport.h"

#include <array>
#include <string_view>

#include "runtime/Failure.h"
#include "runtime/FileSystem.h"
#include "runtime/Text.h"
#include "type1/HeaderWindow.h"

namespace type1 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The entries the report shows, in the order of its lines.
constexpr std::array<std::string_view, 4> kReportedKeys{"/version", "/FullName", "/FamilyName",
                                                        "/Weight"};

// From just after the first "%!" to the last letter of the first "begin" after it, raw bytes.
// Without a "%!" the second search starts at 0 and fails. Without a "begin" the count comes
// out as 3 - p: one byte when "%!" opens the clear text (window position 2), nothing at
// position 3, and a negative count, which take refuses, further on.
std::string headerText(std::string_view window) {
    using runtime::text::find;
    const std::int64_t start = find(window, 1, "%!");
    const std::int64_t begin = find(window, start, "begin");
    return runtime::text::take(window, start + 2, begin - start + 3);
}

// Every CR followed by an LF; every other byte, a lone LF included, as it is. A CR LF pair
// therefore becomes CR LF LF.
std::string crToCrLf(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
        out.push_back(c);
        if (c == '\r') {
            out.push_back('\n');
        }
    }
    return out;
}

} // namespace

runtime::FontReport T1ReportFromReader(runtime::FontFileReader& reader,
                                       const std::string& fontPath) {
    try {
        runtime::FontReport report;
        report.text = "Name info for " + fontPath; // a path, already UTF-8
        report.text += kLineEnd;
        const std::string window = readHeaderWindow(reader);
        // Font bytes are cut and converted raw, and decoded last.
        report.text += runtime::text::decodeWindows1252(crToCrLf(headerText(window)));
        report.text += kLineEnd;
        for (const std::string_view key : kReportedKeys) {
            report.text += runtime::text::decodeWindows1252(T1EntryValue(window, key));
            report.text += kLineEnd;
        }
        return report;
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

runtime::FontReport T1Report(const std::string& fontPath) {
    try {
        // The existence test: a file that has gone since the list was read fails here with 53.
        runtime::fs::fileAttributes(fontPath);
        runtime::FontFileReader reader(fontPath); // closed by its destructor on every path
        return T1ReportFromReader(reader, fontPath);
    } catch (...) {
        return runtime::failedFontReport(runtime::currentFailure(), fontPath);
    }
}

} // namespace type1
