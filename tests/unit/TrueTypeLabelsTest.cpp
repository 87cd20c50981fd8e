// The labels of the name-table report: platform and encoding, language key and label, name ID.
#include "truetype/NameRecordLabels.h"

#include <gtest/gtest.h>

namespace {

using truetype::FontHex;
using truetype::FontLang;
using truetype::NameField;
using truetype::PlatEnc;

TEST(TrueTypeLabels, PlatformAndEncoding) {
    const struct {
        std::int16_t platform, encoding;
        const char* label;
    } cases[] = {
        {0, 0, "Apple Unicode"},
        {0, 3, "Apple Unicode"},
        {0, -1, "Apple Unicode"},
        {1, 0, "Mac"},
        {1, 1, "Mac"},
        {1, 2, ""},
        {2, 0, "ISO"},
        {2, 1, ""},
        {3, 0, "Win symbol"},
        {3, 1, "Win Unicode"},
        {3, 10, ""},
        {4, 0, ""},
        {255, 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlatEnc(c.platform, c.encoding), c.label) << c.platform << "/" << c.encoding;
    }
}

TEST(TrueTypeLabels, LanguageKeyIsZeroPlusHexLastFourLowerCase) {
    const struct {
        std::int16_t id;
        const char* key;
    } cases[] = {
        {0, "00"},       {3, "03"},        {0xB, "0b"},      {0x12, "012"}, {0x409, "0409"},
        {0xC0C, "0c0c"}, {0x1009, "1009"}, {0x7FFF, "7fff"}, {-1, "ffff"},  {-32768, "8000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontHex(c.id), c.key) << c.id;
    }
}

TEST(TrueTypeLabels, LanguageLabelsIgnoreCaseAndFallBackToTheKey) {
    const struct {
        const char* key;
        const char* label;
    } cases[] = {
        {"0409", "ENU"}, {"0C0C", "FRC"}, {"0c0c", "FRC"}, {"00", "ENG"},      {"0809", "ENG"},
        {"041c", "SQI"}, {"0422", "UKR"}, {"1809", "ENI"}, {"042D", "EUQ"},    {"0411", "0411"},
        {"03", "03"},    {"", ""},        {"409", "409"},  {"00409", "00409"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontLang(c.key), c.label) << c.key;
    }
}

TEST(TrueTypeLabels, EveryLanguageKeyOfItsIdHasItsLabel) {
    // Each key of the table must be reachable from a language ID through the key rule.
    const struct {
        std::int16_t id;
        const char* label;
    } cases[] = {
        {0x0000, "ENG"}, {0x041c, "SQI"}, {0x042d, "EUQ"}, {0x0423, "BEL"}, {0x0402, "BGR"},
        {0x0403, "CAT"}, {0x041a, "SHL"}, {0x0405, "CSY"}, {0x0406, "DAN"}, {0x0413, "NLD"},
        {0x0813, "NLB"}, {0x0409, "ENU"}, {0x0809, "ENG"}, {0x0c09, "ENA"}, {0x1009, "ENC"},
        {0x1409, "ENZ"}, {0x1809, "ENI"}, {0x0425, "ETI"}, {0x040b, "FIN"}, {0x040c, "FRA"},
        {0x080c, "FRB"}, {0x0c0c, "FRC"}, {0x100c, "FRS"}, {0x140c, "FRL"}, {0x0407, "DEU"},
        {0x0807, "DES"}, {0x0c07, "DEA"}, {0x1007, "DEL"}, {0x1407, "DEC"}, {0x0408, "ELL"},
        {0x040e, "HUN"}, {0x040f, "ISL"}, {0x0410, "ITA"}, {0x0810, "ITS"}, {0x0426, "LVI"},
        {0x0427, "LTH"}, {0x0414, "NOR"}, {0x0814, "NON"}, {0x0415, "PLK"}, {0x0416, "PTB"},
        {0x0816, "PTG"}, {0x0418, "ROM"}, {0x0419, "RUS"}, {0x041b, "SKY"}, {0x0424, "SLV"},
        {0x040a, "ESP"}, {0x080a, "ESM"}, {0x0c0a, "ESN"}, {0x041d, "SVE"}, {0x041f, "TRK"},
        {0x0422, "UKR"},
    };
    EXPECT_EQ(std::size(cases), 51u);
    for (const auto& c : cases) {
        EXPECT_EQ(FontLang(FontHex(c.id)), c.label) << std::hex << c.id;
    }
    // Macintosh language IDs other than 0 have no label.
    EXPECT_EQ(FontLang(FontHex(1)), "01");
}

TEST(TrueTypeLabels, NameIds) {
    const struct {
        std::int16_t id;
        const char* label;
    } cases[] = {
        {0, "Copyright | "},
        {1, "Font Name | "},
        {2, "Style/Weight | "},
        {3, "Font ID | "},
        {4, "Full Font Name | "},
        {5, "Version | "},
        {6, "Postscript Name | "},
        {7, "Trademark | "},
        {8, "Manufacturer | "},
        {9, "Designer | "},
        {10, "Description | "},
        {11, "Vendor URL | "},
        {12, "Designer URL | "},
        {13, "License Info | "},
        {14, "License URL | "},
        {15, ""},
        {16, "Preferred Family | "},
        {17, "Preferred Subfamily | "},
        {18, "Compatible Full Name | "},
        {19, ""},
        {256, ""},
        {-1, ""},
        {32767, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameField(c.id), c.label) << c.id;
    }
}

} // namespace
