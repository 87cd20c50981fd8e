#pragma once

#include "fontcore/FontFacts.h"
#include "fontcore/FontReport.h"
#include "fontcore/FullName.h"
#include "fontcore/NameDecoding.h"
#include "fontcore/OpenFontFile.h"
#include "platform/FontFileReader.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The kinds of font file the program reads, and what reads each. The window's type filter,
// quillvane-cli's --filter, the lookups, the reports and the copy run all take them from here,
// so a new type is one row here (and its reader).
namespace fontlist {

// A file copied along with a font: the font's name with this extension, in lower case.
struct Companion {
    std::string_view extension;
    bool required = false; // a font without it is left incomplete
};

struct FontType {
    // Compared with the end of a file's name without regard to case.
    std::span<const std::string_view> extensions;
    // Where the type's extensions stand in "All font types" and in the texts that name every
    // extension (0 first).
    std::size_t placeInAll = 0;
    // The words before the patterns in the type filter's entry of this type alone.
    std::string_view filterName;
    std::string_view filterValue; // quillvane-cli's --filter value for that entry
    // The readers of the type, which raise their failures (nameFromReader and reportFromReader
    // give them as results). The decoding applies to the strings of sfnt name tables; Type 1
    // names are Windows-1252.
    fontcore::FullName (*name)(platform::FontFileReader& font, fontcore::NameDecoding decoding);
    // fontPath is only shown in the report.
    fontcore::FontReport (*report)(platform::FontFileReader& font, const std::string& fontPath,
                                   fontcore::NameDecoding decoding);
    std::span<const Companion> companions; // in the order they are copied
    // The facts of every font of the file, sfnt names chosen and decoded as the decoding says
    // (Type 1 names are Windows-1252); raises its failures.
    // Without a default, so that a row that leaves it out is warned of.
    fontcore::FontFacts (*facts)(platform::FontFileReader& font, fontcore::NameDecoding decoding,
                                 fontcore::FactsUse use);
    // The bytes of the character map (`cmap` table) of the file's font at the face index, empty
    // where it has none or the type has no such table; raises its failures. None for Type 1.
    std::string (*characterMap)(platform::FontFileReader& font, long faceIndex) = nullptr;
    // Whether a web browser draws the type's files given to @font-face (a single sfnt font, bare
    // or in a web font wrapper); a collection, a suitcase or a Type 1 font it does not.
    bool browserDraws = false;
};

std::span<const FontType> fontTypes();

// The type of the file at path by the end of its name; null for a file of no type of ours.
const FontType* fontTypeOf(std::string_view path);

// The extension by which fontTypeOf knows the file at path, as the table writes it (in lower
// case: ".t1" for "x.T1"); empty for a file of no type of ours.
std::string_view fontExtensionOf(std::string_view path);

// Every extension of the types, in the order the "all" filter and the messages name them:
// ".ttf, .otf, .ttc, .otc, .dfont, .woff, .woff2, .pfb, .pfa or .t1".
std::string fontExtensionsText();

// The wildcard patterns of every companion of every type ("*.pfm;*.afm;..."), as the file list
// matches names.
std::string companionPatterns();

// An entry of the type filter: the window's text, as "TrueType fonts (*.ttf)", the --filter
// value and the file patterns ("*.ttf") that the entry lists.
struct TypeFilter {
    std::string entry;
    std::string_view value;
    std::string patterns;
};

// In the order the window lists them: both of the first two types, each type alone, all of
// them. The first is the one chosen at start. All of them are made from fontTypes().
const std::vector<TypeFilter>& typeFilters();

// The full name of the font file at path as its type reads it; none for a file of no type of
// ours, which is not opened. Never throws; the file is closed before it returns.
std::optional<fontcore::FullName>
nameOf(const std::string& path, fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The same for a file of a directory held open, with the file's length as the lookup's open of
// it gives it (or the failure of that open); length is left as it was for a file of no type of
// ours, which is not opened.
std::optional<fontcore::FullName>
nameAndLengthOf(const platform::ListedFile& file, fontcore::FileLength& length,
                fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The details-pane report of the font file at path as its type gives it; none for a file of
// no type of ours. Never throws.
std::optional<fontcore::FontReport>
reportOf(const std::string& path,
         fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);
// The same for a file of a directory held open (a folder walk's), opened relative to it.
std::optional<fontcore::FontReport> reportOf(const platform::ListedFile& file,
                                             fontcore::NameDecoding decoding);

// The full name of the font that font reads (a file, or bytes in memory), as a font of the given
// type. Never throws.
fontcore::FullName
nameFromReader(const FontType& type, platform::FontFileReader& font,
               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The report of the font that font reads, as a font of the given type; fontPath is only shown.
// Never throws.
fontcore::FontReport
reportFromReader(const FontType& type, platform::FontFileReader& font, const std::string& fontPath,
                 fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// The facts of the font file at path as its type reads them, names always decoded as Unicode
// (readable names in the decoding's language); none for a file of no type of ours. Never
// throws: a failure is the facts' failure.
std::optional<fontcore::FontFacts> factsOf(const std::string& path,
                                           fontcore::NameDecoding decoding);

// What the list of facts learns of a font file from one open of it: the facts of each of its
// fonts (the first one's full name the one nameOf gives, and the failure nameOf would give),
// and the file's length as that open gives it.
struct FileFacts {
    fontcore::FontFacts facts;
    fontcore::FileLength length;
};

// The file facts of a file of a directory held open, the names chosen and decoded as the
// decoding says; none for a file of no type of ours, which is not opened. Never throws.
std::optional<FileFacts> fileFactsOf(const platform::ListedFile& file,
                                     fontcore::NameDecoding decoding);

// The character map of the face of the font file at path as its type reads it: empty for a file
// of no type of ours, a type without one, or any failure. Never throws.
std::string characterMapOf(const std::string& path, long faceIndex);

} // namespace fontlist
