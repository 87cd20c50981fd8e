#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/SamplesOptions.h"
#include "fontlist/SpacesOption.h"
#include "text/TextList.h"

#include <optional>
#include <string>

namespace fontlist {

// The files a batch run works on: a folder and the names listed in it, as the front end's
// file list shows them.
struct Listing {
    std::string directory; // without a trailing separator, except a root directory
    text::TextList names;
};

// The system folders that the runs protect: the system font root as the system reports it, in
// lower case, and the font folder below it ("fonts" between separators), which the runs look
// for inside lower-cased paths.
struct FontFolders {
    std::string root;
    std::string fonts;
};

// What a batch run is asked to do.
struct BatchRequest {
    Listing listing;
    FontFolders folders;
    SpacesOption spaces = SpacesOption::NoChange;
    fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise;
    // The HTML list: where set, _specimens.html is written with the page and its report, its
    // names read as Unicode in the user's language below whatever the decoding's mode.
    std::optional<SamplesOptions> specimens{};
    // The user's language, where the front end knows it.
    fontcore::NameLanguage language{};
};

} // namespace fontlist
