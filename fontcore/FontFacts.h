#pragma once

#include "platform/Failure.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fontcore {

// What the specimen page and the list of facts tell of one font of a file: every field valid
// UTF-8, empty where the font does not say. A Type 1 font fills the fields its header has
// (version, full name, family name, weight, notice, font name).
struct FaceFacts {
    std::string fullName;
    std::string version;
    std::string postScriptName;
    std::string manufacturer;
    std::string designer;
    std::string licenceUrl;
    std::string
        licence; // the licence description's start (256 characters or more): the page shortens it
    std::string familyName;
    std::string weight;
    std::string notice;
    // Read for the list of facts alone (the specimen page does not show them): an sfnt font's
    // family and style (name IDs 16 and 17, else 1 and 2; a Type 1 font gives familyName and
    // weight), its vendor's URL (11) and copyright notice (0; a Type 1 font gives notice), and a
    // Type 1 font's /FontName (an sfnt font gives postScriptName).
    std::string family;
    std::string style;
    std::string vendorUrl;
    std::string copyright;
    std::string fontName;
    // Read for the list of facts alone: an sfnt font's `head` fontRevision (16.16 fixed point),
    // none where it has no such table (a web font's wrapped tables are not read for it) or is
    // a Type 1 font.
    std::optional<std::uint32_t> fontRevision{};
};

// What a reading of facts is for: the specimen page (the licence's start among them) or the
// list of facts (the family, style, vendor URL and copyright notice instead). Each reads the
// fields it shows; the others stay empty.
enum class FactsUse : std::uint8_t { Page, List };

// The facts of every font of a file, in the file's order (a collection or a suitcase has
// several), or the failure that stopped reading them.
struct FontFacts {
    std::vector<FaceFacts> faces;
    std::optional<platform::Failure> failure{};
};

} // namespace fontcore
