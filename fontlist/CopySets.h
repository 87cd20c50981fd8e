#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileIdentity.h"
#include "platform/HeldDirectory.h"

namespace fontlist {

// The files that a copy run made for each font with companions, by the new name of the font's
// own file. When a later font of the run gets the same name, its whole set replaces the
// earlier one: the earlier set's files that the later one does not replace are removed, so
// that no font's .pfb stands beside another's .afm. Only files this run made are removed, and
// only while they are still the files it made.
class CopySets {
public:
    struct File {
        std::string name; // in the destination
        platform::fs::FileIdentity identity;
    };

    // Whether this run made a set under the font's new name.
    bool madeAt(const std::string& fontName) const { return sets_.contains(fontName); }

    // The font of that new name was copied with these files (its own first): the earlier set
    // there, if any, gives way to it.
    void replace(const platform::fs::HeldDirectory& directory, const std::string& fontName,
                 std::vector<File> files);

private:
    std::unordered_map<std::string, std::vector<File>> sets_;
};

} // namespace fontlist
