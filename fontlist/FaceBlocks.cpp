#include "fontlist/FaceBlocks.h"

#include <cstdint>
#include <span>

#include "fontlist/PageText.h"
#include "text/Text.h"

namespace fontlist::samples_page {

namespace {

using page_text::appendHtmlText;

constexpr std::size_t kLicenceCharacters = 120;
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::string_view kCannotDraw =
    "This build cannot draw fonts of this type, and web browsers do not draw them.";

// The items of a facts line, separated by a middle dot.
class FactsItems {
public:
    explicit FactsItems(std::string& out) : out_(out) {}

    // Starts an item; the caller appends its text.
    std::string& next() {
        if (!first_) {
            out_ += " \xC2\xB7 ";
        }
        first_ = false;
        return out_;
    }

    void labelled(std::string_view label, std::string_view value) {
        if (value.empty()) {
            return;
        }
        std::string& out = next();
        out += label;
        out += ": ";
        appendHtmlText(out, value);
    }

private:
    std::string& out_;
    bool first_ = true;
};

// An http or https address as a link; else the licence's first characters, else whatever the
// font gives as its licence's address.
void appendLicence(FactsItems& items, const fontcore::FaceFacts& facts) {
    if (page_text::isWebAddress(facts.licenceUrl)) {
        std::string& out = items.next();
        out += "Licence: <a href=\"";
        page_text::appendWebAddress(out, facts.licenceUrl);
        out += "\">";
        appendHtmlText(out, facts.licenceUrl);
        out += "</a>";
    } else if (!facts.licence.empty()) {
        items.labelled("Licence", page_text::firstCharacters(facts.licence, kLicenceCharacters));
    } else {
        items.labelled("Licence", facts.licenceUrl);
    }
}

// The width and height a PNG file's header gives, for the image's attributes; none where the
// bytes hold no header.
std::optional<std::pair<std::uint32_t, std::uint32_t>> pngSize(std::string_view png) {
    constexpr std::size_t kHeaderEnd = 24;
    if (png.size() < kHeaderEnd || png.substr(12, 4) != "IHDR") {
        return std::nullopt;
    }
    const auto at = [png](std::size_t offset) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = (value << 8) | static_cast<unsigned char>(png[offset + i]);
        }
        return value;
    };
    return std::pair{at(16), at(20)};
}

void appendReason(std::string& out, std::string_view reason) {
    out += "<p class=\"reason\">";
    appendHtmlText(out, reason);
    out += "</p>";
    out += kLineEnd;
}

void appendImage(std::string& out, std::string_view png, std::string_view sampleText) {
    out += "<img class=\"drawn\" src=\"data:image/png;base64,";
    page_text::appendBase64(out, png);
    out += "\" alt=\"";
    appendHtmlText(out, sampleText);
    out += '"';
    if (const auto size = pngSize(png)) {
        out += " width=\"";
        out += std::to_string(size->first);
        out += "\" height=\"";
        out += std::to_string(size->second);
        out += '"';
    }
    out += '>';
    out += kLineEnd;
}

// The sample at every size, in the face's own font (the browser draws it).
void appendWaterfall(std::string& out, std::string_view fontClass, std::span<const int> sizes,
                     std::string_view sampleText) {
    for (const int size : sizes) {
        out += "<p class=\"sample ";
        out += fontClass;
        out += " s";
        out += std::to_string(size);
        out += "\" dir=\"auto\">";
        appendHtmlText(out, sampleText);
        out += "</p>";
        out += kLineEnd;
    }
}

// What a block shows of one face: its samples, drawn by the browser or as an image, or why not.
void appendSamples(std::string& out, const ListedFont& font, const BlockContext& context,
                   long faceIndex, std::string_view title) {
    const SamplesOptions& options = context.options;
    const FontType* type = fontTypeOf(font.name);
    const bool browserDraws = type != nullptr && type->browserDraws;
    SampleFace face;
    if (options.drawer != nullptr) {
        face = options.drawer->face(font.path, faceIndex, title, options, !browserDraws);
    }
    const std::string_view sampleText = !face.sampleText.empty()      ? face.sampleText
                                        : !options.sampleText.empty() ? options.sampleText
                                                                      : kPangram;
    if (browserDraws) {
        appendWaterfall(out, faceClass(font.place), options.sizes, sampleText);
    } else if (options.drawer == nullptr) {
        appendReason(out, kCannotDraw);
    } else if (face.reason.empty() && !face.png.empty()) {
        appendImage(out, face.png, sampleText);
    }
    if (!face.reason.empty()) {
        appendReason(out, face.reason);
    }
}

// One face's block; factsReason says why the facts could not be read, where they could not.
void appendBlock(std::string& out, const ListedFont& font, const BlockContext& context,
                 long faceIndex, const fontcore::FaceFacts& facts, std::string_view factsReason) {
    const std::string_view name = facts.fullName.empty() ? font.key : facts.fullName;
    const FontType* type = fontTypeOf(font.name);
    out += "<section class=\"specimen\" data-name=\"";
    appendHtmlText(out, name);
    out += "\">";
    out += kLineEnd;
    out += "<h2";
    if (type != nullptr && type->browserDraws) {
        out += " class=\"";
        out += faceClass(font.place);
        out += '"';
    }
    out += '>';
    appendHtmlText(out, name);
    out += "</h2>";
    out += kLineEnd;
    appendSamples(out, font, context, faceIndex, name);
    if (!factsReason.empty()) {
        appendReason(out, factsReason);
    }
    appendFactsLine(out, facts, font, type);
    out += "</section>";
}

} // namespace

std::string faceClass(std::size_t place) {
    std::string name(1, 'f');
    name += std::to_string(place);
    return name;
}

void appendBlocks(std::string& out, const ListedFont& font, const BlockContext& context) {
    std::optional<fontcore::FontFacts> facts = factsOf(font.path, context.decoding);
    if (!facts || facts->failure || facts->faces.empty()) {
        std::string reason = "The facts of this font could not be read";
        if (facts && facts->failure) {
            reason += ": ";
            reason += facts->failure->cause();
        }
        appendBlock(out, font, context, 0, {}, reason + '.');
        return;
    }
    for (std::size_t i = 0; i < facts->faces.size(); ++i) {
        if (i > 0) {
            out += kLineEnd;
        }
        appendBlock(out, font, context, static_cast<long>(i), facts->faces[i], {});
    }
}

void appendFactsLine(std::string& out, const fontcore::FaceFacts& facts, const ListedFont& font,
                     const FontType* type) {
    out += "<p class=\"facts\">";
    FactsItems items(out);
    items.labelled("Version", facts.version);
    items.labelled("PostScript name", facts.postScriptName);
    items.labelled("Manufacturer", facts.manufacturer);
    items.labelled("Designer", facts.designer);
    appendLicence(items, facts);
    items.labelled("Family name", facts.familyName);
    items.labelled("Weight", facts.weight);
    items.labelled("Notice", facts.notice);
    std::string& link = items.next();
    link += "<a href=\"";
    page_text::appendFileUrl(link, font.name);
    link += "\">";
    appendHtmlText(link, font.name);
    link += "</a>";
    if (type != nullptr) {
        appendHtmlText(items.next(), type->filterName);
    }
    if (font.bytes) {
        std::string& size = items.next();
        size += text::groupedNumber(*font.bytes);
        size += " bytes";
    }
    out += "</p>";
    out += kLineEnd;
}

} // namespace fontlist::samples_page
