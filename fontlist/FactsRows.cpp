#include "fontlist/FactsRows.h"

#include "fontcore/FontFacts.h"
#include "platform/Failure.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace fontlist {

namespace {

// The text of a sfnt field, else that of the Type 1 field that stands for it (a font fills
// only the fields of its own format).
std::string_view eitherOf(const std::string& sfnt, const std::string& type1) {
    return sfnt.empty() ? std::string_view(type1) : std::string_view(sfnt);
}

void putFaceFields(FactsRow& row, const fontcore::FaceFacts& face) {
    row.texts[4] = eitherOf(face.family, face.familyName);
    row.texts[5] = eitherOf(face.style, face.weight);
    row.texts[6] = eitherOf(face.postScriptName, face.fontName);
    row.texts[7] = face.version;
    row.texts[8] = face.manufacturer;
    row.texts[9] = face.designer;
    row.texts[10] = face.vendorUrl;
    row.texts[11] = face.licenceUrl;
    row.texts[12] = eitherOf(face.copyright, face.notice);
}

constexpr std::size_t kFullNameColumn = 3;
constexpr std::size_t kErrorColumn = kFactsColumns.size() - 1;

// The row is a copy: the texts it points to while shown live only here.
void appendRow(std::string& out, const FactsOptions& options, FactsRow row) {
    if (options.shown == nullptr) {
        appendFactsRow(out, options.format, row);
        return;
    }
    std::array<std::string, kFactsColumns.size()> shown;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        shown[i] = options.shown(row.texts[i]);
        row.texts[i] = shown[i];
    }
    appendFactsRow(out, options.format, row);
}

std::string noFontText() {
    return "not a " + fontExtensionsText() + " file";
}

} // namespace

bool appendFileRows(std::string& out, const FactsOptions& options, std::string_view path,
                    const std::optional<FileFacts>& file) {
    FactsRow row;
    row.texts[kPathColumn] = path;
    const std::string_view extension = fontExtensionOf(path);
    row.texts[1] = extension.empty() ? extension : extension.substr(1);
    std::string error;
    if (!file) {
        error = noFontText();
    } else if (file->facts.failure || file->facts.faces.empty()) {
        const std::optional<platform::Failure>& failure = file->facts.failure;
        error = failure ? failure->description()
                        : platform::failureDescription(platform::FailureNumber::InternalError);
    }
    if (file && !file->length.failure) {
        row.size = file->length.bytes;
    }
    if (!error.empty()) {
        row.texts[kErrorColumn] = error;
        appendRow(out, options, row);
        return false;
    }
    const std::vector<fontcore::FaceFacts>& faces = file->facts.faces;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        row.index = i;
        row.texts[kFullNameColumn] = faces[i].fullName;
        putFaceFields(row, faces[i]);
        appendRow(out, options, row);
    }
    return true;
}

} // namespace fontlist
