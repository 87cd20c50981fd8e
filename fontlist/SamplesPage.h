#pragma once

#include <string>
#include <string_view>

#include "fontlist/FaceBlocks.h"
#include "fontlist/FontRows.h"
#include "platform/TextFileWriter.h"

// _specimens.html: every listed font shown in its own face, in the order of the HTML list.
namespace fontlist::samples_page {

// The page's one script, which hides the blocks whose name does not hold the filter's text
// (without regard to case) and takes a first filter from the address ("#filter=Sans").
std::string_view filterScript();

// What the page's Content-Security-Policy allows: its own inline style, the script above by
// its hash, fonts of its own folder and data: images.
std::string_view contentSecurityPolicy();

// What the page is made from: the rows sorted by key, the directory of the files with its
// trailing separator, and what every block is made with.
struct PageSource {
    const std::string& directory;
    const FontRows& rows;
    BlockContext context;
};

// Writes the page and closes it. The blocks are made side by side in pieces, the fonts' facts
// read and their samples drawn there, and written in order. Raises the writer's failures.
void writeSamplesPage(platform::TextFileWriter& page, const PageSource& source);

} // namespace fontlist::samples_page
