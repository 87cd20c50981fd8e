#pragma once

#include "platform/Failure.h"

#include <optional>
#include <string>
#include <vector>

namespace fontcore {

// What the specimen page tells of one font of a file: every field UTF-8 for people to read,
// empty where the font does not say. A Type 1 font fills the fields its header has (version,
// full name, family name, weight, notice).
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
};

// The facts of every font of a file, in the file's order (a collection or a suitcase has
// several), or the failure that stopped reading them.
struct FontFacts {
    std::vector<FaceFacts> faces;
    std::optional<platform::Failure> failure{};
};

} // namespace fontcore
