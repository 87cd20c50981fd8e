#include "fontlist/FontTypes.h"

#include "fontcore/OpenFontFile.h"
#include "text/Text.h"
#include "truetype/CharacterMapTable.h"
#include "truetype/NameTableFacts.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"
#include "type1/HeaderFacts.h"
#include "type1/HeaderReport.h"
#include "type1/HeaderWindow.h"

namespace fontlist {

namespace {

constexpr std::string_view kTrueTypeExtensions[] = {".ttf"};
constexpr std::string_view kType1Extensions[] = {".pfb"};
constexpr std::string_view kOpenTypeExtensions[] = {".otf"};
constexpr std::string_view kCollectionExtensions[] = {".ttc", ".otc"};
constexpr std::string_view kWebFontExtensions[] = {".woff", ".woff2"};
constexpr std::string_view kType1TextExtensions[] = {".pfa", ".t1"};
constexpr std::string_view kSuitcaseExtensions[] = {".dfont"};

// The metrics (.pfm) a Type 1 font cannot be installed without, then the files it may have.
constexpr Companion kType1Companions[] = {
    {".pfm", true}, {".afm", false}, {".inf", false}, {".mmm", false}};
// A Type 1 font in text or Unix form is used without Windows metrics: every companion is
// optional.
constexpr Companion kType1TextCompanions[] = {
    {".afm", false}, {".pfm", false}, {".inf", false}, {".mmm", false}};

// The readers raise their failures; nameFromReader and reportFromReader, and the opening of a
// file below, turn them into results.
template <truetype::SfntContainer container>
fontcore::FullName sfntName(platform::FontFileReader& font, fontcore::NameDecoding decoding) {
    return truetype::fullName(font, container, decoding);
}

template <truetype::SfntContainer container>
fontcore::FontReport sfntReport(platform::FontFileReader& font, const std::string& fontPath,
                                fontcore::NameDecoding decoding) {
    return truetype::nameReport(font, container, fontPath, decoding);
}

template <truetype::SfntContainer container>
fontcore::FontFacts sfntFacts(platform::FontFileReader& font, fontcore::NameDecoding decoding,
                              fontcore::FactsUse use) {
    return truetype::nameFacts(font, container, decoding, use);
}

template <truetype::SfntContainer container>
std::string sfntCharacterMap(platform::FontFileReader& font, long faceIndex) {
    return truetype::characterMapTable(font, container, faceIndex);
}

// A Type 1 font's names are its header's bytes in Windows-1252, whatever the decoding.
template <type1::HeaderLayout layout>
fontcore::FullName type1Name(platform::FontFileReader& font, fontcore::NameDecoding) {
    return type1::fullName(font, layout);
}

template <type1::HeaderLayout layout>
fontcore::FontReport type1Report(platform::FontFileReader& font, const std::string& fontPath,
                                 fontcore::NameDecoding) {
    return type1::headerReport(font, layout, fontPath);
}

template <type1::HeaderLayout layout>
fontcore::FontFacts type1Facts(platform::FontFileReader& font, fontcore::NameDecoding,
                               fontcore::FactsUse use) {
    return type1::headerFacts(font, layout, use);
}

using truetype::SfntContainer;
using type1::HeaderLayout;

// In the order of their entries in the type filter; "All font types" takes them by their place
// there, the sfnt types first. A .otf file is read as a .ttf one whatever its outlines: both are
// single sfnt fonts.
constexpr FontType kFontTypes[] = {
    {.extensions = kTrueTypeExtensions,
     .placeInAll = 0,
     .filterName = "TrueType fonts",
     .filterValue = "ttf",
     .name = sfntName<SfntContainer::Font>,
     .report = sfntReport<SfntContainer::Font>,
     .companions = {},
     .facts = sfntFacts<SfntContainer::Font>,
     .characterMap = sfntCharacterMap<SfntContainer::Font>,
     .browserDraws = true},
    {.extensions = kType1Extensions,
     .placeInAll = 5,
     .filterName = "Type1 fonts",
     .filterValue = "pfb",
     .name = type1Name<HeaderLayout::Segmented>,
     .report = type1Report<HeaderLayout::Segmented>,
     .companions = kType1Companions,
     .facts = type1Facts<HeaderLayout::Segmented>,
     .characterMap = nullptr,
     .browserDraws = false},
    {.extensions = kOpenTypeExtensions,
     .placeInAll = 1,
     .filterName = "OpenType",
     .filterValue = "otf",
     .name = sfntName<SfntContainer::Font>,
     .report = sfntReport<SfntContainer::Font>,
     .companions = {},
     .facts = sfntFacts<SfntContainer::Font>,
     .characterMap = sfntCharacterMap<SfntContainer::Font>,
     .browserDraws = true},
    // A collection is named after its first font and reported font by font.
    {.extensions = kCollectionExtensions,
     .placeInAll = 2,
     .filterName = "Collections",
     .filterValue = "ttc",
     .name = sfntName<SfntContainer::Collection>,
     .report = sfntReport<SfntContainer::Collection>,
     .companions = {},
     .facts = sfntFacts<SfntContainer::Collection>,
     .characterMap = sfntCharacterMap<SfntContainer::Collection>,
     .browserDraws = false},
    // A web font reads as the sfnt it wraps, whichever of the two wrappers holds it.
    {.extensions = kWebFontExtensions,
     .placeInAll = 4,
     .filterName = "Web fonts",
     .filterValue = "woff",
     .name = sfntName<SfntContainer::WebFont>,
     .report = sfntReport<SfntContainer::WebFont>,
     .companions = {},
     .facts = sfntFacts<SfntContainer::WebFont>,
     .characterMap = nullptr, // the wrappers' tables are compressed
     .browserDraws = true},
    {.extensions = kType1TextExtensions,
     .placeInAll = 6,
     .filterName = "Type1 text and Unix fonts",
     .filterValue = "pfa",
     .name = type1Name<HeaderLayout::Text>,
     .report = type1Report<HeaderLayout::Text>,
     .companions = kType1TextCompanions,
     .facts = type1Facts<HeaderLayout::Text>,
     .characterMap = nullptr,
     .browserDraws = false},
    // So is a Mac suitcase, its fonts kept as resources in its data fork.
    {.extensions = kSuitcaseExtensions,
     .placeInAll = 3,
     .filterName = "Mac suitcases",
     .filterValue = "dfont",
     .name = sfntName<SfntContainer::Suitcase>,
     .report = sfntReport<SfntContainer::Suitcase>,
     .companions = {},
     .facts = sfntFacts<SfntContainer::Suitcase>,
     .characterMap = sfntCharacterMap<SfntContainer::Suitcase>,
     .browserDraws = false},
};

// The type filter's first entry takes the first two types, the two the window was made for;
// its last one takes every type.
constexpr std::size_t kTypesInBoth = 2;
constexpr std::string_view kBothName = "Both font types";
constexpr std::string_view kBothValue = "both";
constexpr std::string_view kAllName = "All font types";
constexpr std::string_view kAllValue = "all";

// Every type has a place of its own in "All font types".
constexpr bool everyPlaceTakenOnce() {
    for (std::size_t place = 0; place < std::size(kFontTypes); ++place) {
        std::size_t types = 0;
        for (const FontType& type : kFontTypes) {
            types += type.placeInAll == place ? 1 : 0;
        }
        if (types != 1) {
            return false;
        }
    }
    return true;
}
static_assert(everyPlaceTakenOnce(), "each font type needs a place of its own in the all filter");

// Every type's extensions, each type's at its place in "All font types".
const std::vector<std::string_view>& allExtensions() {
    static const std::vector<std::string_view> extensions = [] {
        std::vector<std::string_view> list;
        for (std::size_t place = 0; place < std::size(kFontTypes); ++place) {
            for (const FontType& type : kFontTypes) {
                if (type.placeInAll == place) {
                    list.insert(list.end(), type.extensions.begin(), type.extensions.end());
                }
            }
        }
        return list;
    }();
    return extensions;
}

TypeFilter filterOf(std::string_view name, std::string_view value,
                    std::span<const std::string_view> extensions) {
    TypeFilter filter{.entry = {}, .value = value, .patterns = {}};
    for (const std::string_view extension : extensions) {
        if (!filter.patterns.empty()) {
            filter.patterns += ';';
        }
        filter.patterns += '*';
        filter.patterns += extension;
    }
    filter.entry = std::string(name) + " (" + filter.patterns + ")";
    return filter;
}

bool endsWithNoCase(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           text::equalsNoCase(path.substr(path.size() - extension.size()), extension);
}

} // namespace

std::span<const FontType> fontTypes() {
    return kFontTypes;
}

namespace {

struct Match {
    const FontType* type = nullptr;
    std::string_view extension;
};

Match matchOf(std::string_view path) {
    for (const FontType& type : kFontTypes) {
        for (const std::string_view extension : type.extensions) {
            if (endsWithNoCase(path, extension)) {
                return {&type, extension};
            }
        }
    }
    return {};
}

} // namespace

const FontType* fontTypeOf(std::string_view path) {
    return matchOf(path).type;
}

std::string_view fontExtensionOf(std::string_view path) {
    return matchOf(path).extension;
}

std::string fontExtensionsText() {
    const std::vector<std::string_view>& extensions = allExtensions();
    std::string text;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0) {
            text += i + 1 < extensions.size() ? ", " : " or ";
        }
        text += extensions[i];
    }
    return text;
}

const std::vector<TypeFilter>& typeFilters() {
    static const std::vector<TypeFilter> filters = [] {
        std::vector<std::string_view> both;
        for (const FontType& type : fontTypes().first(kTypesInBoth)) {
            both.insert(both.end(), type.extensions.begin(), type.extensions.end());
        }
        std::vector<TypeFilter> list{filterOf(kBothName, kBothValue, both)};
        for (const FontType& type : kFontTypes) {
            list.push_back(filterOf(type.filterName, type.filterValue, type.extensions));
        }
        list.push_back(filterOf(kAllName, kAllValue, allExtensions()));
        return list;
    }();
    return filters;
}

std::optional<fontcore::FullName> nameOf(const std::string& path, fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(path);
    if (type == nullptr) {
        return std::nullopt;
    }
    return fontcore::nameOfFontFile(path, [type, decoding](platform::FontFileReader& font) {
        return type->name(font, decoding);
    });
}

std::optional<fontcore::FullName> nameAndLengthOf(const platform::ListedFile& file,
                                                  fontcore::FileLength& length,
                                                  fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(file.path);
    if (type == nullptr) {
        return std::nullopt;
    }
    return fontcore::nameOfFontFile(
        file,
        [type, decoding](platform::FontFileReader& font) { return type->name(font, decoding); },
        length);
}

std::optional<fontcore::FontReport> reportOf(const std::string& path,
                                             fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(path);
    if (type == nullptr) {
        return std::nullopt;
    }
    return fontcore::reportOfFontFile(
        path, [type, decoding](platform::FontFileReader& font, const std::string& fontPath) {
            return type->report(font, fontPath, decoding);
        });
}

std::optional<fontcore::FontReport> reportOf(const platform::ListedFile& file,
                                             fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(file.path);
    if (type == nullptr) {
        return std::nullopt;
    }
    return fontcore::reportOfFontFile(
        file, [type, decoding](platform::FontFileReader& font, const std::string& fontPath) {
            return type->report(font, fontPath, decoding);
        });
}

std::string companionPatterns() {
    std::string patterns;
    for (const FontType& type : fontTypes()) {
        for (const Companion& companion : type.companions) {
            // Appended rather than "*" + std::string(...): GCC 12 at -O3 sees a false overlap
            // in the inlined operator+ and raises -Wrestrict.
            std::string pattern(1, '*');
            pattern += companion.extension;
            if (patterns.find(pattern) == std::string::npos) {
                if (!patterns.empty()) {
                    patterns += ';';
                }
                patterns += pattern;
            }
        }
    }
    return patterns;
}

std::optional<fontcore::FontFacts> factsOf(const std::string& path,
                                           fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(path);
    if (type == nullptr) {
        return std::nullopt;
    }
    try {
        if (type->facts == nullptr) {
            throw platform::Failure(platform::FailureNumber::InternalError);
        }
        platform::FontFileReader font(path);
        return type->facts(font, fontcore::NameDecoding::readableIn(decoding.language),
                           fontcore::FactsUse::Page);
    } catch (...) {
        return fontcore::FontFacts{.faces = {}, .failure = platform::currentFailure()};
    }
}

std::optional<FileFacts> fileFactsOf(const platform::ListedFile& file,
                                     fontcore::NameDecoding decoding) {
    const FontType* type = fontTypeOf(file.path);
    if (type == nullptr) {
        return std::nullopt;
    }
    FileFacts read;
    const fontcore::FullName opened = fontcore::nameOfFontFile(
        file,
        [&](platform::FontFileReader& font) {
            read.facts = type->facts(font, decoding, fontcore::FactsUse::List);
            return fontcore::FullName{};
        },
        read.length);
    if (opened.failure) {
        read.facts = {.faces = {}, .failure = opened.failure};
    }
    return read;
}

std::string characterMapOf(const std::string& path, long faceIndex) {
    const FontType* type = fontTypeOf(path);
    if (type == nullptr || type->characterMap == nullptr) {
        return {};
    }
    try {
        platform::FontFileReader font(path);
        return type->characterMap(font, faceIndex);
    } catch (...) {
        return {};
    }
}

fontcore::FullName nameFromReader(const FontType& type, platform::FontFileReader& font,
                                  fontcore::NameDecoding decoding) {
    try {
        return type.name(font, decoding);
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

fontcore::FontReport reportFromReader(const FontType& type, platform::FontFileReader& font,
                                      const std::string& fontPath,
                                      fontcore::NameDecoding decoding) {
    try {
        return type.report(font, fontPath, decoding);
    } catch (...) {
        return fontcore::failedFontReport(platform::currentFailure(), fontPath);
    }
}

} // namespace fontlist
