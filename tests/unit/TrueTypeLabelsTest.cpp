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

TEST(TrueTypeLabels, NameIds) {
    const struct {
        std::int16_t id;
        const char* label;
    } cases[] = {
        {0, "Copyright | "},
        {4, "Full Font Name | "},
        {14, "License URL | "},
        {15, ""},
        {16, "Preferred Family | "},
        {18, "Compatible Full Name | "},
        {19, ""},
        {256, ""},
        {-1, ""},
        {32767, ""},
        {-32768, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameField(c.id), c.label) << c.id;
    }
}

} // namespace
