#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fontcore/FontFacts.h"
#include "fontcore/NameDecoding.h"
#include "fontlist/FontTypes.h"
#include "fontlist/SamplesOptions.h"

// The blocks of the specimen page: one per font of a file, each its name in its own face, the
// sample at every size asked for, and a line of facts.
namespace fontlist::samples_page {

// One listed file, at its place in the page's order.
struct ListedFont {
    std::string_view name; // as listed: the system's bytes
    std::string_view key;  // its key in the HTML list, shown where the facts give no name
    std::size_t place;     // its place in the page, which names its face's CSS class
    const std::string& path;
    std::optional<std::uint64_t> bytes; // the file's size, where it is known
};

// What every block is made with: the options, and the decoding of the facts' names (always
// readable names, in the user's language).
struct BlockContext {
    const SamplesOptions& options;
    fontcore::NameDecoding decoding;
};

// The CSS class whose font is the face of the browser-drawn file at that place: "f17".
std::string faceClass(std::size_t place);

// Appends the blocks of every font of the file, reading its facts and drawing what the
// browser cannot draw; a file whose facts cannot be read gets one block under its key with
// the reason. Never throws but for want of memory.
void appendBlocks(std::string& out, const ListedFont& font, const BlockContext& context);

// Appends the line of facts of one font: its non-empty facts, the file name as a link to the
// file, the type as the type filter names it and the file's size in bytes.
void appendFactsLine(std::string& out, const fontcore::FaceFacts& facts, const ListedFont& font,
                     const FontType* type);

} // namespace fontlist::samples_page
