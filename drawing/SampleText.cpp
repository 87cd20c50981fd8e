#include "drawing/SampleText.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace drawing {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

struct ScriptSample {
    SampleScript script;
    std::string_view name;
    std::u32string_view text;
    // The blocks whose characters count for the script (at most four).
    std::array<CodeRange, 4> ranges;
};

// Sentences (pangrams where the script has a well-known one) or runs of common characters.
constexpr std::array<ScriptSample, 9> kSamples{{
    {SampleScript::Latin,
     "Latin",
     U"The quick brown fox jumps over the lazy dog",
     {{{0x41, 0x5A}, {0x61, 0x7A}, {0xC0, 0x24F}, {0x1E00, 0x1EFF}}}},
    {SampleScript::Cyrillic,
     "Cyrillic",
     U"Съешь же ещё этих мягких французских булок",
     {{{0x400, 0x52F}, {0x2DE0, 0x2DFF}, {0xA640, 0xA69F}, {0x1C80, 0x1C8F}}}},
    {SampleScript::Greek,
     "Greek",
     U"Ξεσκεπάζω την ψυχοφθόρα βδελυγμία",
     {{{0x370, 0x3FF}, {0x1F00, 0x1FFF}, {0, 0}, {0, 0}}}},
    {SampleScript::Arabic,
     "Arabic",
     U"نص حكيم له سر قاطع وذو شأن عظيم",
     {{{0x600, 0x6FF}, {0x750, 0x77F}, {0xFB50, 0xFDFF}, {0xFE70, 0xFEFF}}}},
    {SampleScript::Hebrew,
     "Hebrew",
     U"דג סקרן שט בים מאוכזב ולפתע מצא חברה",
     {{{0x590, 0x5FF}, {0xFB1D, 0xFB4F}, {0, 0}, {0, 0}}}},
    {SampleScript::Devanagari,
     "Devanagari",
     U"सभी मनुष्य स्वतंत्र और समान पैदा हुए हैं",
     {{{0x900, 0x97F}, {0xA8E0, 0xA8FF}, {0, 0}, {0, 0}}}},
    {SampleScript::Cjk,
     "CJK",
     U"天地玄黄宇宙洪荒日月盈昃辰宿列张",
     {{{0x4E00, 0x9FFF}, {0x3400, 0x4DBF}, {0x3040, 0x30FF}, {0xF900, 0xFAFF}}}},
    {SampleScript::Korean,
     "Korean",
     U"다람쥐 헌 쳇바퀴에 타고파",
     {{{0xAC00, 0xD7A3}, {0x1100, 0x11FF}, {0x3130, 0x318F}, {0, 0}}}},
    {SampleScript::Thai,
     "Thai",
     U"เป็นมนุษย์สุดประเสริฐเลิศคุณค่า",
     {{{0xE00, 0xE7F}, {0, 0}, {0, 0}, {0, 0}}}},
}};

constexpr std::size_t kSymbolRunLength = 24;

bool mapsEveryLetter(const CharacterMap& map, std::u32string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [&map](char32_t code) { return code == U' ' || map.maps(code); });
}

bool printable(char32_t code) {
    return code > 0x20 && !(code >= 0x7F && code <= 0xA0) && !(code >= 0xD800 && code <= 0xDFFF);
}

// How many characters of a script's blocks a face maps, estimated from at most kProbes code
// points spread evenly over each block: exact for small blocks, and a few hundred lookups in all
// however large the character map (walking the map of a CJK font whole took longer than drawing).
constexpr char32_t kProbes = 16;

std::size_t estimatedCount(const CharacterMap& map, const ScriptSample& sample) {
    std::size_t count = 0;
    for (const CodeRange& range : sample.ranges) {
        if (range.last == 0) {
            continue;
        }
        const char32_t step = std::max<char32_t>(1, (range.last - range.first + 1) / kProbes);
        for (char32_t code = range.first; code <= range.last; code += step) {
            if (map.maps(code)) {
                count += step;
            }
        }
    }
    return count;
}

// Up to kSymbolRunLength of the face's printable characters, those beyond ASCII first: a
// symbol font's digits and punctuation are seldom what it is for. The walk ends once the run
// beyond ASCII is full.
std::u32string symbolRun(const CharacterMap& map) {
    std::u32string symbols;
    std::u32string ascii;
    map.forEachCharacter([&](char32_t character) {
        std::u32string& run = character < 0x80 ? ascii : symbols;
        if (run.size() < kSymbolRunLength && printable(character)) {
            run.push_back(character);
        }
        return symbols.size() < kSymbolRunLength;
    });
    symbols.append(ascii.substr(0, kSymbolRunLength - std::min(kSymbolRunLength, symbols.size())));
    return symbols;
}

// FreeType's view of a face's selected character map.
class FreeTypeMap final : public CharacterMap {
public:
    explicit FreeTypeMap(FT_Face face) : face_(face) {}
    bool maps(char32_t code) const override { return FT_Get_Char_Index(face_, code) != 0; }
    void forEachCharacter(const std::function<bool(char32_t)>& visit) const override {
        FT_UInt glyph = 0;
        for (FT_ULong code = FT_Get_First_Char(face_, &glyph);
             glyph != 0 && visit(static_cast<char32_t>(code));
             code = FT_Get_Next_Char(face_, code, &glyph)) {
        }
    }

private:
    FT_Face face_;
};

} // namespace

SampleText sampleTextFor(FT_Face face) {
    return sampleTextFor(FreeTypeMap(face));
}

SampleText sampleTextFor(const CharacterMap& map) {
    std::array<std::size_t, kSamples.size()> counts{};
    for (std::size_t i = 0; i < kSamples.size(); ++i) {
        counts[i] = estimatedCount(map, kSamples[i]);
    }
    std::array<std::size_t, kSamples.size()> order{};
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // Stable: Latin comes first among scripts with as many characters.
    std::stable_sort(order.begin(), order.end(),
                     [&counts](std::size_t a, std::size_t b) { return counts[a] > counts[b]; });
    for (const std::size_t i : order) {
        if (counts[i] > 0 && mapsEveryLetter(map, kSamples[i].text)) {
            return {kSamples[i].script, std::u32string(kSamples[i].text)};
        }
    }
    return {SampleScript::Symbols, symbolRun(map)};
}

std::string_view scriptName(SampleScript script) {
    for (const ScriptSample& sample : kSamples) {
        if (sample.script == script) {
            return sample.name;
        }
    }
    return "symbols";
}

} // namespace drawing
