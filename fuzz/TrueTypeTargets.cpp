#include "fuzz/FuzzTargets.h"

#include <string>
#include <string_view>

#include "fontcore/FontFacts.h"
#include "fontcore/FontReport.h"
#include "fontlist/FontTypes.h"
#include "fuzz/Properties.h"
#include "platform/Failure.h"
#include "platform/FontFileReader.h"

namespace fuzzing {

namespace {

const std::string kPath = "fuzz.ttf";
const std::string kFinishedStart = "NAME Table Info for " + kPath + "\r\n";
const std::string kFirstHeading = "Font 1 of ";

// A record's string is at most 32767 bytes, and one byte decodes to at most three of UTF-8.
constexpr std::size_t kLongestName = 3 * 32767;

// Whether the input opens with the collection tag; without it the collection readers take the
// input as a single font.
bool hasCollectionTag(Input input) {
    constexpr std::string_view tag = "ttcf";
    return input.size() >= tag.size() &&
           std::string_view(reinterpret_cast<const char*>(input.data()), tag.size()) == tag;
}

void checkName(const std::string& name) {
    require(isValidUtf8(name), "the full name is UTF-8");
    require(name.size() <= kLongestName, "the full name is one record's string at most");
}

// The properties of every report; true when it finished (starts with start), otherwise it is
// the failure text.
bool finishedReport(const fontcore::FontReport& report, const std::string& start) {
    require(isValidUtf8(report.text), "the report is UTF-8");
    require(!report.fileListStale, "bytes in memory never go missing");
    if (!report.text.starts_with(start)) {
        requireFailureText(report.text, kPath);
        return false;
    }
    require(report.text.ends_with("\r\n"), "every line of the report ends with CR LF");
    return true;
}

// A finished report reads every field its lookup reads, in the same order, and more: the
// lookup (over the same reader, whose pages hold the same bytes) cannot have failed, and the
// name it gives is one of the report's strings.
void requireNameInReport(const std::string& name, const std::string& report) {
    require(name.empty() || report.find(name) != std::string::npos,
            "the full name appears in the report");
}

void checkSingleReport(platform::FontFileReader& font, const fontcore::FontReport& report) {
    if (finishedReport(report, kFinishedStart)) {
        requireNameInReport(fontlist::nameFromReader(*fontlist::fontTypeOf(".ttf"), font).text(),
                            report.text);
    }
}

// The collection's report over the same input. Without the collection tag it is the single
// font's report under the heading "Font 1 of 1", or the same failure text.
void checkCollectionReport(Input input, const std::string& singleReport) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report =
        fontlist::reportFromReader(*fontlist::fontTypeOf(".ttc"), font, kPath);
    if (!hasCollectionTag(input)) {
        const bool finished = singleReport.starts_with(kFinishedStart);
        require(!report.fileListStale &&
                    report.text ==
                        (finished ? kFirstHeading + "1\r\n" + singleReport : singleReport),
                "a file without the collection tag is reported as one font");
        return;
    }
    if (finishedReport(report, kFirstHeading)) {
        requireNameInReport(fontlist::nameFromReader(*fontlist::fontTypeOf(".ttc"), font).text(),
                            report.text);
    }
}

// The report of the input read as a Mac suitcase: the failure text, or a heading and a report
// per font of which the first holds the suitcase's name.
void checkSuitcaseReport(Input input) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report =
        fontlist::reportFromReader(*fontlist::fontTypeOf(".dfont"), font, kPath);
    if (finishedReport(report, kFirstHeading)) {
        requireNameInReport(fontlist::nameFromReader(*fontlist::fontTypeOf(".dfont"), font).text(),
                            report.text);
    }
}

// The report of the input read as a web font: the failure text, or the report of the font it
// wraps, which holds that font's name.
void checkWebFontReport(Input input) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report =
        fontlist::reportFromReader(*fontlist::fontTypeOf(".woff"), font, kPath);
    if (finishedReport(report, kFinishedStart)) {
        requireNameInReport(fontlist::nameFromReader(*fontlist::fontTypeOf(".woff"), font).text(),
                            report.text);
    }
}

// The facts of the input read as the type of the extension: every field UTF-8, a string of a
// record at most; where the readable lookup over the same reader finishes too, the first font's
// full name is the one the lookup gives (the same choice over the same records).
void checkFacts(Input input, std::string_view extension) {
    const fontlist::FontType& type = *fontlist::fontTypeOf(extension);
    platform::FontFileReader font(input);
    fontcore::FontFacts facts;
    try {
        facts = type.facts(font, fontcore::NameDecoding::Readable, fontcore::FactsUse::Page);
    } catch (const platform::Failure&) {
        return;
    }
    require(!facts.faces.empty(), "facts that finish have a font");
    for (const fontcore::FaceFacts& face : facts.faces) {
        for (const std::string* field :
             {&face.fullName, &face.version, &face.postScriptName, &face.manufacturer,
              &face.designer, &face.licence, &face.licenceUrl}) {
            checkName(*field);
        }
    }
    const fontcore::FullName name =
        fontlist::nameFromReader(type, font, fontcore::NameDecoding::Readable);
    require(name.failure || name.name == facts.faces[0].fullName,
            "the facts' full name is the readable lookup's");
    // The list's facts, byte-wise: where they finish, the lookup gives the same full name.
    fontcore::FontFacts listed;
    try {
        listed = type.facts(font, fontcore::NameDecoding::ByteWise, fontcore::FactsUse::List);
    } catch (const platform::Failure&) {
        listed.faces.clear();
    }
    if (!listed.faces.empty()) {
        const fontcore::FullName byteWise = fontlist::nameFromReader(type, font);
        require(!byteWise.failure && byteWise.name == listed.faces[0].fullName,
                "the list's full name is the byte-wise lookup's");
        for (const fontcore::FaceFacts& face : listed.faces) {
            for (const std::string* field : {&face.family, &face.style, &face.vendorUrl,
                                             &face.copyright, &face.postScriptName}) {
                checkName(*field);
            }
        }
    }
    // The character map of every font the facts found lies within the input.
    for (std::size_t i = 0; type.characterMap != nullptr && i < facts.faces.size(); ++i) {
        require(type.characterMap(font, static_cast<long>(i)).size() <= input.size(),
                "a character map is bytes of the file");
    }
}

} // namespace

void trueTypeName(Input input) {
    platform::FontFileReader font(input);
    const std::string name = fontlist::nameFromReader(*fontlist::fontTypeOf(".ttf"), font).text();
    checkName(name);

    platform::FontFileReader collection(input);
    const std::string first =
        fontlist::nameFromReader(*fontlist::fontTypeOf(".ttc"), collection).text();
    checkName(first);
    require(hasCollectionTag(input) || first == name,
            "a file without the collection tag is named as a single font");

    platform::FontFileReader suitcase(input);
    checkName(fontlist::nameFromReader(*fontlist::fontTypeOf(".dfont"), suitcase).text());

    platform::FontFileReader webFont(input);
    checkName(fontlist::nameFromReader(*fontlist::fontTypeOf(".woff"), webFont).text());

    platform::FontFileReader unicode(input);
    checkName(fontlist::nameFromReader(*fontlist::fontTypeOf(".ttf"), unicode,
                                       fontcore::NameDecoding::Readable)
                  .text());

    for (const std::string_view extension : {".ttf", ".ttc", ".dfont", ".woff"}) {
        checkFacts(input, extension);
    }
}

void trueTypeReport(Input input) {
    platform::FontFileReader font(input);
    const fontcore::FontReport report =
        fontlist::reportFromReader(*fontlist::fontTypeOf(".ttf"), font, kPath);
    checkSingleReport(font, report);
    checkCollectionReport(input, report.text);
    checkSuitcaseReport(input);
    checkWebFontReport(input);

    // Readable names read the same fields as the byte-wise ones: the same failures.
    platform::FontFileReader unicode(input);
    const fontcore::FontReport decoded = fontlist::reportFromReader(
        *fontlist::fontTypeOf(".ttf"), unicode, kPath, fontcore::NameDecoding::Readable);
    require(finishedReport(decoded, kFinishedStart) == report.text.starts_with(kFinishedStart),
            "the decoding of the strings changes no failure");
    if (decoded.text.starts_with(kFinishedStart)) {
        requireNameInReport(fontlist::nameFromReader(*fontlist::fontTypeOf(".ttf"), unicode,
                                                     fontcore::NameDecoding::Readable)
                                .text(),
                            decoded.text);
    }
}

} // namespace fuzzing
