#include "fuzz/FuzzTargets.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fontcore/FontReport.h"
#include "fontcore/FullName.h"
#include "fuzz/Properties.h"
#include "platform/Failure.h"
#include "platform/FontFileReader.h"
#include "truetype/NameTableReader.h"
#include "truetype/WebFont.h"
#include "truetype/Woff2Font.h"
#include "truetype/WoffFont.h"

namespace fuzzing {

namespace {

const std::string kPath = "fuzz.woff";

// The input with its first four bytes replaced by the signature, so that every input reaches
// the wrapper's reader rather than the dispatch's refusal.
std::vector<std::uint8_t> withSignature(Input input, std::string_view signature) {
    std::vector<std::uint8_t> bytes(signature.begin(), signature.end());
    const Input rest = input.size() > signature.size() ? input.subspan(signature.size()) : Input{};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

// What holds of every wrapper: the dispatch reads the file as its signature says (the name is
// the one of the minimal sfnt the wrapper's own reader gives, or the wrapper's failure), the
// name is UTF-8, and a finished report names the file and holds that name.
void checkWebFont(Input input, std::string_view signature,
                  std::vector<std::uint8_t> (*unwrap)(platform::FontFileReader&)) {
    const std::vector<std::uint8_t> bytes = withSignature(input, signature);
    const Input file(bytes);

    platform::FontFileReader font(file);
    const fontcore::FullName name = truetype::webFontNameFromReader(font);
    require(isValidUtf8(name.text()), "the full name is UTF-8");

    platform::FontFileReader direct(file);
    std::string expected;
    try {
        const std::vector<std::uint8_t> sfnt = unwrap(direct);
        require(sfnt.size() >= 12, "the unwrapped sfnt holds at least its offset table");
        platform::FontFileReader unwrapped{std::span<const std::uint8_t>(sfnt)};
        expected = truetype::TTEnglishNameFromReader(unwrapped).text();
    } catch (const PropertyViolation&) {
        throw;
    } catch (...) {
        expected = fontcore::FullName{.failure = platform::currentFailure()}.text();
    }
    require(name.text() == expected, "the dispatch reads the file as its signature says");

    platform::FontFileReader reported(file);
    const fontcore::FontReport report = truetype::webFontReportFromReader(reported, kPath);
    require(isValidUtf8(report.text), "the report is UTF-8");
    require(!report.fileListStale, "bytes in memory never go missing");
    const std::string start = "NAME Table Info for " + kPath + "\r\n";
    if (!report.text.starts_with(start)) {
        requireFailureText(report.text, kPath);
        return;
    }
    require(name.failure || name.text().empty() ||
                report.text.find(name.text()) != std::string::npos,
            "the full name appears in the report");
}

} // namespace

void woff(Input input) {
    checkWebFont(input, "wOFF", &truetype::woffSfnt);
}

void woff2(Input input) {
    checkWebFont(input, "wOF2", &truetype::woff2Sfnt);
}

} // namespace fuzzing
