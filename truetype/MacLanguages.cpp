#include "truetype/MacLanguages.h"

#include <algorithm>
#include <array>

namespace truetype {

namespace {

struct MacLanguage {
    std::int32_t code;
    std::string_view iso; // a language, with "-" and a script where the code names one
};

// Codes 0 to 94 and 128 to 150. Where one language has several codes, the one for its usual
// script comes first among them or carries the plain language code.
constexpr std::array<MacLanguage, 118> macLanguages{{
    {0, "en"},       {1, "fr"},   {2, "de"},       {3, "it"},       {4, "nl"},
    {5, "sv"},       {6, "es"},   {7, "da"},       {8, "pt"},       {9, "no"},
    {10, "he"},      {11, "ja"},  {12, "ar"},      {13, "fi"},      {14, "el"},
    {15, "is"},      {16, "mt"},  {17, "tr"},      {18, "hr"},      {19, "zh-Hant"},
    {20, "ur"},      {21, "hi"},  {22, "th"},      {23, "ko"},      {24, "lt"},
    {25, "pl"},      {26, "hu"},  {27, "et"},      {28, "lv"},      {29, "se"},
    {30, "fo"},      {31, "fa"},  {32, "ru"},      {33, "zh-Hans"}, {34, "nl-BE"},
    {35, "ga"},      {36, "sq"},  {37, "ro"},      {38, "cs"},      {39, "sk"},
    {40, "sl"},      {41, "yi"},  {42, "sr"},      {43, "mk"},      {44, "bg"},
    {45, "uk"},      {46, "be"},  {47, "uz"},      {48, "kk"},      {49, "az-Cyrl"},
    {50, "az-Arab"}, {51, "hy"},  {52, "ka"},      {53, "ro-MD"},   {54, "ky"},
    {55, "tg"},      {56, "tk"},  {57, "mn-Mong"}, {58, "mn"},      {59, "ps"},
    {60, "ku"},      {61, "ks"},  {62, "sd"},      {63, "bo"},      {64, "ne"},
    {65, "sa"},      {66, "mr"},  {67, "bn"},      {68, "as"},      {69, "gu"},
    {70, "pa"},      {71, "or"},  {72, "ml"},      {73, "kn"},      {74, "ta"},
    {75, "te"},      {76, "si"},  {77, "my"},      {78, "km"},      {79, "lo"},
    {80, "vi"},      {81, "id"},  {82, "tl"},      {83, "ms"},      {84, "ms-Arab"},
    {85, "am"},      {86, "ti"},  {87, "om"},      {88, "so"},      {89, "sw"},
    {90, "rw"},      {91, "rn"},  {92, "ny"},      {93, "mg"},      {94, "eo"},
    {128, "cy"},     {129, "eu"}, {130, "ca"},     {131, "la"},     {132, "qu"},
    {133, "gn"},     {134, "ay"}, {135, "tt"},     {136, "ug"},     {137, "dz"},
    {138, "jv"},     {139, "su"}, {140, "gl"},     {141, "af"},     {142, "br"},
    {143, "iu"},     {144, "gd"}, {145, "gv"},     {146, "ga"},     {147, "to"},
    {148, "el"},     {149, "kl"}, {150, "az"},
}};

static_assert(std::is_sorted(macLanguages.begin(), macLanguages.end(),
                             [](const MacLanguage& a, const MacLanguage& b) {
                                 return a.code < b.code;
                             }));

constexpr std::int32_t kTraditionalChinese = 19;
constexpr std::int32_t kSimplifiedChinese = 33;

} // namespace

std::string_view isoCodeOfMacLanguage(std::int32_t macCode) {
    const auto* entry = std::lower_bound(
        macLanguages.begin(), macLanguages.end(), macCode,
        [](const MacLanguage& language, std::int32_t code) { return language.code < code; });
    return entry != macLanguages.end() && entry->code == macCode ? entry->iso : std::string_view();
}

std::int32_t macLanguageOf(std::string_view language, std::string_view scriptOrRegion) {
    if (language == "zh") {
        const bool simplified =
            scriptOrRegion == "Hans" || scriptOrRegion == "CN" || scriptOrRegion == "SG";
        return simplified ? kSimplifiedChinese : kTraditionalChinese;
    }
    if (language == "nb" || language == "nn") {
        language = "no";
    }
    const auto* entry =
        std::find_if(macLanguages.begin(), macLanguages.end(),
                     [language](const MacLanguage& mac) { return mac.iso == language; });
    return entry != macLanguages.end() ? entry->code : -1;
}

} // namespace truetype
