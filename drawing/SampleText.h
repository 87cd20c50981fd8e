#pragma once

#include "drawing/FreeTypeHandles.h"

#include <functional>
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

// A face's character map as the sample's choice reads it.
class CharacterMap {
public:
    CharacterMap() = default;
    virtual ~CharacterMap() = default;
    CharacterMap(const CharacterMap&) = delete;
    CharacterMap& operator=(const CharacterMap&) = delete;

    // Whether the face has a glyph for the character.
    virtual bool maps(char32_t code) const = 0;
    // Hands the mapped characters to visit in ascending order until it returns false.
    virtual void forEachCharacter(const std::function<bool(char32_t)>& visit) const = 0;
};

// The sample that suits a face, from its character map: the script most of its characters are
// written in (counted from a few code points of each of its blocks; Latin where that is a tie),
// when the face maps every letter of that script's sample; else the next script; else a run of
// up to 24 of the face's own printable characters, those beyond ASCII first (empty when it maps
// none).
SampleText sampleTextFor(const CharacterMap& map);
// The same over FreeType's selected character map of the face.
SampleText sampleTextFor(FT_Face face);

// The script's name, for people and for benchmarks.
std::string_view scriptName(SampleScript script);

} // namespace drawing
