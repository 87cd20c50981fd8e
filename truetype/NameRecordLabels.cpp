#include "truetype/NameRecordLabels.h"

#include "text/Text.h"

#include <algorithm>
#include <array>

namespace truetype {

namespace {

struct LanguageLabel {
    std::string_view key;
    std::string_view label;
};

// 51 keys: language ID 0 (English on the Macintosh platform) and Windows language IDs.
constexpr std::array<LanguageLabel, 51> languageLabels{{
    {"00", "ENG"},   {"041c", "SQI"}, {"042d", "EUQ"}, {"0423", "BEL"}, {"0402", "BGR"},
    {"0403", "CAT"}, {"041a", "SHL"}, {"0405", "CSY"}, {"0406", "DAN"}, {"0413", "NLD"},
    {"0813", "NLB"}, {"0409", "ENU"}, {"0809", "ENG"}, {"0c09", "ENA"}, {"1009", "ENC"},
    {"1409", "ENZ"}, {"1809", "ENI"}, {"0425", "ETI"}, {"040b", "FIN"}, {"040c", "FRA"},
    {"080c", "FRB"}, {"0c0c", "FRC"}, {"100c", "FRS"}, {"140c", "FRL"}, {"0407", "DEU"},
    {"0807", "DES"}, {"0c07", "DEA"}, {"1007", "DEL"}, {"1407", "DEC"}, {"0408", "ELL"},
    {"040e", "HUN"}, {"040f", "ISL"}, {"0410", "ITA"}, {"0810", "ITS"}, {"0426", "LVI"},
    {"0427", "LTH"}, {"0414", "NOR"}, {"0814", "NON"}, {"0415", "PLK"}, {"0416", "PTB"},
    {"0816", "PTG"}, {"0418", "ROM"}, {"0419", "RUS"}, {"041b", "SKY"}, {"0424", "SLV"},
    {"040a", "ESP"}, {"080a", "ESM"}, {"0c0a", "ESN"}, {"041d", "SVE"}, {"041f", "TRK"},
    {"0422", "UKR"},
}};

// The keys of the table are written in lower case, so a key folded once compares with them as
// it stands (a report looks up one key per record).
constexpr bool keysAreLowerCase() {
    for (const LanguageLabel& entry : languageLabels) {
        for (const char c : entry.key) {
            if (c >= 'A' && c <= 'Z') {
                return false;
            }
        }
    }
    return true;
}
static_assert(keysAreLowerCase());

// The table in the order of its keys, for a binary search; no key is there twice, so the
// order of the table itself decides nothing.
constexpr std::array<LanguageLabel, languageLabels.size()> labelsByKey = [] {
    std::array<LanguageLabel, languageLabels.size()> sorted = languageLabels;
    std::sort(sorted.begin(), sorted.end(),
              [](const LanguageLabel& a, const LanguageLabel& b) { return a.key < b.key; });
    return sorted;
}();
static_assert(std::adjacent_find(labelsByKey.begin(), labelsByKey.end(),
                                 [](const LanguageLabel& a, const LanguageLabel& b) {
                                     return a.key == b.key;
                                 }) == labelsByKey.end());

constexpr std::array<std::string_view, 19> nameFields{
    "Copyright | ",
    "Font Name | ",
    "Style/Weight | ",
    "Font ID | ",
    "Full Font Name | ",
    "Version | ",
    "Postscript Name | ",
    "Trademark | ",
    "Manufacturer | ",
    "Designer | ",
    "Description | ",
    "Vendor URL | ",
    "Designer URL | ",
    "License Info | ",
    "License URL | ",
    "", // 15 has no label
    "Preferred Family | ",
    "Preferred Subfamily | ",
    "Compatible Full Name | ",
};

} // namespace

std::string_view PlatEnc(std::int16_t Plat, std::int16_t PEnc) {
    switch (Plat) {
    case 0: return "Apple Unicode";
    case 1: return PEnc == 0 || PEnc == 1 ? "Mac" : "";
    case 2: return PEnc == 0 ? "ISO" : "";
    case 3:
        if (PEnc == 0) {
            return "Win symbol";
        }
        return PEnc == 1 ? "Win Unicode" : "";
    default: return "";
    }
}

std::string FontHex(std::int16_t languageId) {
    // Negative IDs cannot come from the reader (they overflow first); written as the 16-bit
    // pattern they would have, they still give four digits.
    static constexpr char kHex[] = "0123456789abcdef";
    auto value = static_cast<unsigned>(static_cast<std::uint16_t>(languageId));
    std::string key;
    do {
        key.insert(key.begin(), kHex[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    key.insert(key.begin(), '0');
    if (key.size() > 4) {
        key.erase(0, key.size() - 4);
    }
    return key;
}

std::string FontLang(std::string_view key) {
    const std::string folded = text::foldCaseUtf8(key);
    const auto* entry = std::lower_bound(
        labelsByKey.begin(), labelsByKey.end(), folded,
        [](const LanguageLabel& label, const std::string& wanted) { return label.key < wanted; });
    if (entry != labelsByKey.end() && entry->key == folded) {
        return std::string(entry->label);
    }
    return std::string(key);
}

std::string_view NameField(std::int16_t NameNum) {
    if (NameNum < 0 || static_cast<std::size_t>(NameNum) >= nameFields.size()) {
        return "";
    }
    return nameFields[static_cast<std::size_t>(NameNum)];
}

} // namespace truetype
