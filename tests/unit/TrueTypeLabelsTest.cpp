// The language labels of the name-table report: the key made from a language ID, and the label
// the key reaches (the labels themselves show in the report tests).
#include "truetype/NameRecordLabels.h"

#include <gtest/gtest.h>

namespace {

using truetype::FontHex;
using truetype::FontLang;

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

TEST(TrueTypeLabels, LanguageIdsReachTheirLabelsThroughTheirKeys) {
    const struct {
        std::int16_t id;
        const char* label;
    } cases[] = {
        {0x0000, "ENG"},  // the key "00", Macintosh English
        {0x0809, "ENG"},  // the other key with this label
        {0x0C0C, "FRC"},  // written "0c0c", with a letter
        {0x1009, "ENC"},  // four digits of its own, no leading zero
        {0x0422, "UKR"},  // the last key of the table
        {0x0001, "01"},   // Macintosh languages other than 0 have no label
        {0x0411, "0411"}, // nor has Japanese
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FontLang(FontHex(c.id)), c.label) << std::hex << c.id;
    }
}

} // namespace
