#include "type1/HeaderReport.h"

#include <array>
#include <optional>
#include <string_view>

#include "fontcore/OpenFontFile.h"
#include "platform/Failure.h"
#include "text/Text.h"
#include "type1/HeaderWindow.h"

namespace type1 {

namespace {

using text::kCrLf;

// The entries the report shows, in the order of its lines.
constexpr std::array<std::string_view, 4> kReportedKeys{"/version", "/FullName", "/FamilyName",
                                                        "/Weight"};

// From just after the first "%!" to the last letter of the first "begin" after it, raw bytes;
// none where find or take would fail (5). Without a "%!" the second search would start at 0
// and fail. Without a "begin" the count comes out as 3 - p: two bytes when "%!" opens a text
// file (window position 1), one when it opens a .pfb's clear text (position 2), nothing at
// position 3, and a negative count, which take refuses, further on.
std::optional<std::string_view> headerText(std::string_view window) {
    using text::find;
    const std::int64_t start = find(window, 1, "%!");
    if (start == 0) {
        return std::nullopt;
    }
    const std::int64_t begin = find(window, start, "begin");
    // The window holds the part in the file: a report that finishes never cuts past it.
    return text::cut(window, start + 2, begin - start + 3);
}

// Appends the bytes decoded from Windows-1252 with every CR followed by an LF; every other
// byte, a lone LF included, as it is. A CR LF pair therefore becomes CR LF LF.
void appendWithCrLf(std::string& out, std::string_view bytes) {
    for (;;) {
        const std::size_t cr = bytes.find('\r');
        if (cr == std::string_view::npos) {
            text::appendWindows1252(out, bytes);
            return;
        }
        text::appendWindows1252(out, bytes.substr(0, cr));
        out += kCrLf;
        bytes.remove_prefix(cr + 1);
    }
}

fontcore::FontReport invalidArgumentReport(const std::string& fontPath) {
    return fontcore::failedFontReport(platform::Failure(platform::FailureNumber::InvalidArgument),
                                      fontPath);
}

fontcore::FontReport reportFromWindow(platform::FontFileReader& reader, HeaderLayout layout,
                                      const std::string& fontPath) {
    try {
        fontcore::FontReport report;
        const std::string_view window = headerWindowInFile(reader, layout);
        // Every cut is made before anything is built: most damaged files fail one.
        const std::optional<std::string_view> header = headerText(window);
        if (!header) {
            return invalidArgumentReport(fontPath);
        }
        std::array<std::string_view, kReportedKeys.size()> values;
        for (std::size_t i = 0; i < kReportedKeys.size(); ++i) {
            const std::optional<std::string_view> value = T1EntryValue(window, kReportedKeys[i]);
            if (!value) {
                return invalidArgumentReport(fontPath);
            }
            values[i] = *value;
        }
        report.text = "Name info for " + fontPath; // a path, already UTF-8
        report.text += kCrLf;
        // Font bytes are cut and converted raw, and decoded last.
        appendWithCrLf(report.text, *header);
        report.text += kCrLf;
        for (const std::string_view value : values) {
            text::appendWindows1252(report.text, value);
            report.text += kCrLf;
        }
        return report;
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

} // namespace

fontcore::FontReport T1ReportFromReader(platform::FontFileReader& reader,
                                        const std::string& fontPath) {
    return reportFromWindow(reader, HeaderLayout::Segmented, fontPath);
}

fontcore::FontReport T1TextReportFromReader(platform::FontFileReader& reader,
                                            const std::string& fontPath) {
    return reportFromWindow(reader, HeaderLayout::Text, fontPath);
}

fontcore::FontReport T1Report(const std::string& fontPath) {
    return fontcore::reportOfFontFile(fontPath, T1ReportFromReader);
}

} // namespace type1
