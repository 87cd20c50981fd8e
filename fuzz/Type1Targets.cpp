#include "fuzz/FuzzTargets.h"

#include <string>

#include "fontcore/FontFacts.h"
#include "fontcore/FontReport.h"
#include "fontlist/FontTypes.h"
#include "fuzz/Properties.h"
#include "platform/Failure.h"
#include "platform/FontFileReader.h"
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
    const fontcore::FullName lookup = fontlist::nameFromReader(*fontlist::fontTypeOf(".pfb"), font);
    const std::string name = lookup.text();
    require(isValidUtf8(name), "the full name is UTF-8");
    require(name.size() <= kLongestValue, "the full name comes from the header window");
    require(font.fetchCount() <= 1, "the lookup reads the header window and nothing else");

    // The facts fail where the lookup does, read nothing more, and are UTF-8.
    fontcore::FontFacts facts;
    try {
        facts = fontlist::fontTypeOf(".pfb")->facts(font, fontcore::NameDecoding::ByteWise,
                                                    fontcore::FactsUse::List);
    } catch (const platform::Failure&) {
        require(lookup.failure.has_value(), "the facts fail where the lookup fails");
        return;
    }
    require(!lookup.failure, "the facts fail where the lookup fails");
    require(font.fetchCount() <= 1, "the facts read the header window and nothing else");
    require(facts.faces.size() == 1 && facts.faces[0].fullName == lookup.name,
            "the list's full name is the lookup's");
    for (const fontcore::FaceFacts& face : facts.faces) {
        for (const std::string* field : {&face.fullName, &face.version, &face.familyName,
                                         &face.weight, &face.notice, &face.fontName}) {
            require(isValidUtf8(*field), "the facts are UTF-8");
            require(field->size() <= kLongestValue, "the facts come from the header window");
        }
    }
}

void type1Report(Input input) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report =
        fontlist::reportFromReader(*fontlist::fontTypeOf(".pfb"), font, kPath);
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
    const std::string line =
        "\r\n" + fontlist::nameFromReader(*fontlist::fontTypeOf(".pfb"), font).text() + "\r\n";
    require(report.text.find(line) != std::string::npos, "the full name is a line of the report");
}

} // namespace fuzzing
