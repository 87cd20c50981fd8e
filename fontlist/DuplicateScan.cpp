#include "fontlist/DuplicateScan.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>

namespace fontlist {

namespace {

// Joins the fields of each font, and the fonts, with separators no name holds.
constexpr char kFieldSeparator = '\x1f';
constexpr char kFontSeparator = '\x1e';

void appendKeyPart(std::string& key, std::string_view first, std::string_view second) {
    if (!key.empty()) {
        key += kFontSeparator;
    }
    key += first;
    key += kFieldSeparator;
    key += second;
}

// The keys of the fonts' facts: empty where the first font does not tell the names they need.
void takeFacts(ScannedFile& file, const fontcore::FontFacts& facts) {
    if (facts.faces.empty()) {
        return;
    }
    const fontcore::FaceFacts& first = facts.faces.front();
    file.version = first.version;
    file.fontRevision = first.fontRevision;
    const bool postScriptNamed = !first.postScriptName.empty() || !first.fontName.empty();
    const bool familyNamed = !first.family.empty() || !first.familyName.empty();
    for (const fontcore::FaceFacts& face : facts.faces) {
        if (postScriptNamed) {
            appendKeyPart(file.sameFontKey,
                          face.postScriptName.empty() ? face.fontName : face.postScriptName,
                          face.version);
        }
        if (familyNamed) {
            appendKeyPart(file.familyKey, face.family.empty() ? face.familyName : face.family,
                          face.style.empty() ? face.weight : face.style);
        }
    }
}

// The hash of the first block of the file the reader holds open.
platform::ContentHash firstBlockOf(platform::FontFileReader& font) {
    const std::size_t length =
        static_cast<std::size_t>(std::min<std::uint64_t>(font.size(), platform::kFirstBlockSize));
    if (length == 0) {
        return platform::hashBytes({});
    }
    const std::span<const std::uint8_t> page = font.pageFrom(1);
    if (page.size() >= length) {
        return platform::hashBytes(page.first(length));
    }
    const std::string bytes = font.bytesAt(1, static_cast<std::int64_t>(length));
    return platform::hashBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

} // namespace

ScannedFile scanFontFile(const platform::ListedFile& file, fontcore::NameDecoding decoding) {
    ScannedFile scanned;
    scanned.paths.push_back(file.path);
    scanned.type = fontTypeOf(file.path);
    try {
        platform::FontFileReader font(file, scanned.stamp);
        scanned.firstBlock = firstBlockOf(font);
        scanned.opened = true;
        if (scanned.type == nullptr || scanned.type->facts == nullptr) {
            throw platform::Failure(platform::FailureNumber::InternalError);
        }
        takeFacts(scanned, scanned.type->facts(font, decoding, fontcore::FactsUse::List));
        scanned.named = true;
    } catch (...) {
        scanned.failure = platform::currentFailure();
    }
    return scanned;
}

void noteCompanions(ScannedFile& file, const std::string& folder, std::string_view fileName,
                    NamesWithoutCase& folderCompanions) {
    if (file.type == nullptr || file.type->companions.empty()) {
        return;
    }
    const std::string_view extension = fontExtensionOf(fileName);
    std::string companion(fileName.substr(0, fileName.size() - extension.size()));
    const std::size_t stem = companion.size();
    for (const Companion& kind : file.type->companions) {
        companion.resize(stem);
        companion += kind.extension;
        (folderCompanions.find(folder, companion) ? file.companions : file.missingCompanions)
            .push_back(kind.extension);
    }
}

} // namespace fontlist
