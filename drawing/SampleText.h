#pragma once

#include "drawing/FreeTypeHandles.h"

#include <string>
#include <string_view>

namespace drawing {

// The scripts a sample can be written in; Symbols is a run of the font's own characters.
enum class SampleScript {
    Latin,
    Cyrillic,
    Greek,
    Arabic,
    Hebrew,
    Devanagari,
    Cjk,
    Korean,
    Thai,
    Symbols
};

struct SampleText {
    SampleScript script = SampleScript::Symbols;
    std::u32string text;
};

// The sample that suits a face, from its character map: the script most of its characters are
// written in (counted from a few code points of each of its blocks; Latin where that is a tie),
// when the face maps every letter of that script's sample; else the next script; else a run of
// up to 24 of the face's own printable characters, those beyond ASCII first (empty when it maps
// none).
SampleText sampleTextFor(FT_Face face);

// The script's name, for people and for benchmarks.
std::string_view scriptName(SampleScript script);

} // namespace drawing
