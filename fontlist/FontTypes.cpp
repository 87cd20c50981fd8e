#include "fontlist/FontTypes.h"

#include "fontcore/OpenFontFile.h"
#include "text/Text.h"
#include "truetype/NameTableReader.h"
#include "truetype/NameTableReport.h"
#include "truetype/WebFont.h"
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

fontcore::FullName singleFontName(platform::FontFileReader& font, fontcore::NameDecoding decoding) {
    return truetype::TTEnglishNameFromReader(font, 0, decoding);
}

// A Type 1 font's names are its header's bytes in Windows-1252, whatever the decoding.
template <fontcore::FullName (*readName)(platform::FontFileReader&)>
fontcore::FullName type1Name(platform::FontFileReader& font, fontcore::NameDecoding) {
    return readName(font);
}

template <fontcore::FontReport (*makeReport)(platform::FontFileReader&, const std::string&)>
fontcore::FontReport type1Report(platform::FontFileReader& font, const std::string& fontPath,
                                 fontcore::NameDecoding) {
    return makeReport(font, fontPath);
}

// In the order of their entries in the type filter. A .otf file is read as a .ttf one whatever
// its outlines: both are single sfnt fonts.
constexpr FontType kFontTypes[] = {
    {.extensions = kTrueTypeExtensions,
     .filterName = "TrueType fonts",
     .filterValue = "ttf",
     .name = singleFontName,
     .report = truetype::TTReportFromReader,
     .companions = {}},
    {.extensions = kType1Extensions,
     .filterName = "Type1 fonts",
     .filterValue = "pfb",
     .name = type1Name<type1::T1NameFromReader>,
     .report = type1Report<type1::T1ReportFromReader>,
     .companions = kType1Companions},
    {.extensions = kOpenTypeExtensions,
     .filterName = "OpenType",
     .filterValue = "otf",
     .name = singleFontName,
     .report = truetype::TTReportFromReader,
     .companions = {}},
    // A collection is named after its first font and reported font by font.
    {.extensions = kCollectionExtensions,
     .filterName = "Collections",
     .filterValue = "ttc",
     .name = truetype::TTCEnglishNameFromReader,
     .report = truetype::TTCReportFromReader,
     .companions = {}},
    // A web font reads as the sfnt it wraps, whichever of the two wrappers holds it.
    {.extensions = kWebFontExtensions,
     .filterName = "Web fonts",
     .filterValue = "woff",
     .name = truetype::webFontNameFromReader,
     .report = truetype::webFontReportFromReader,
     .companions = {}},
    {.extensions = kType1TextExtensions,
     .filterName = "Type1 text and Unix fonts",
     .filterValue = "pfa",
     .name = type1Name<type1::T1TextNameFromReader>,
     .report = type1Report<type1::T1TextReportFromReader>,
     .companions = kType1TextCompanions},
    // So is a Mac suitcase, its fonts kept as resources in its data fork.
    {.extensions = kSuitcaseExtensions,
     .filterName = "Mac suitcases",
     .filterValue = "dfont",
     .name = truetype::SuitcaseEnglishNameFromReader,
     .report = truetype::SuitcaseReportFromReader,
     .companions = {}},
};

// The type filter's entries of more than one type.
struct CombinedFilter {
    std::string_view name;
    std::string_view value;
    std::span<const std::string_view> extensions;
};
constexpr std::string_view kBothExtensions[] = {".ttf", ".pfb"};
// Every type's extensions, the sfnt ones first.
constexpr std::string_view kAllExtensions[] = {".ttf",  ".otf",   ".ttc", ".otc", ".dfont",
                                               ".woff", ".woff2", ".pfb", ".pfa", ".t1"};
constexpr CombinedFilter kBoth{"Both font types", "both", kBothExtensions};
constexpr CombinedFilter kAll{"All font types", "all", kAllExtensions};

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
    std::string text;
    for (std::size_t i = 0; i < std::size(kAllExtensions); ++i) {
        if (i > 0) {
            text += i + 1 < std::size(kAllExtensions) ? ", " : " or ";
        }
        text += kAllExtensions[i];
    }
    return text;
}

const std::vector<TypeFilter>& typeFilters() {
    static const std::vector<TypeFilter> filters = [] {
        std::vector<TypeFilter> list{filterOf(kBoth.name, kBoth.value, kBoth.extensions)};
        for (const FontType& type : kFontTypes) {
            list.push_back(filterOf(type.filterName, type.filterValue, type.extensions));
        }
        list.push_back(filterOf(kAll.name, kAll.value, kAll.extensions));
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

} // namespace fontlist
