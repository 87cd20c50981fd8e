#include "text/Text.h"

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "support/FailureNumber.h"

#include "platform/Failure.h"

namespace {

// Expected texts are written as u8 literals so that they are UTF-8 whatever the compiler's
// narrow execution character set.
std::string utf8(const char8_t* literal) {
    return std::string(reinterpret_cast<const char*>(literal));
}

using testsupport::failureNumberOf;

// --- Windows-1252 decoding -------------------------------------------------------------------

TEST(Text, DecodesEveryByteOfTheHighControlRange) {
    // 0x80-0x9F differ from Latin-1; the five unassigned bytes keep their C1 code points.
    const char8_t* const expected[32] = {
        u8"\u20AC", u8"\u0081", u8"\u201A", u8"\u0192", u8"\u201E", u8"\u2026", u8"\u2020",
        u8"\u2021", u8"\u02C6", u8"\u2030", u8"\u0160", u8"\u2039", u8"\u0152", u8"\u008D",
        u8"\u017D", u8"\u008F", u8"\u0090", u8"\u2018", u8"\u2019", u8"\u201C", u8"\u201D",
        u8"\u2022", u8"\u2013", u8"\u2014", u8"\u02DC", u8"\u2122", u8"\u0161", u8"\u203A",
        u8"\u0153", u8"\u009D", u8"\u017E", u8"\u0178",
    };
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(text::decodeWindows1252(one), utf8(expected[byte - 0x80])) << std::hex << byte;
    }
}

TEST(Text, DecodesLatin1BytesAsTheirOwnCodePoints) {
    const struct {
        char byte;
        const char8_t* expected;
    } cases[] = {
        {'\x7F', u8"\u007F"}, {'\xA0', u8"\u00A0"}, {'\xC9', u8"\u00C9"},
        {'\xDF', u8"\u00DF"}, {'\xFF', u8"\u00FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::decodeWindows1252(std::string(1, c.byte)), utf8(c.expected));
    }
    // A NUL is a character like any other (removing NULs is the readers' business).
    EXPECT_EQ(text::decodeWindows1252(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(text::decodeWindows1252("Caf\xE9 \x80 \x8Ctre"), utf8(u8"Café € Œtre"));
    EXPECT_EQ(text::decodeWindows1252(""), "");
}

TEST(Text, AppendsDecodedBytesAfterWhatIsThere) {
    // Characters of one, two and three bytes at the end of the appended text.
    for (const char* tail : {"a", "\xE9", "\x80"}) {
        std::string out = "Name: ";
        text::appendWindows1252(out, std::string("x\0y", 3) + tail);
        EXPECT_EQ(out, "Name: " + std::string("x\0y", 3) + text::decodeWindows1252(tail));
        out = "Name: ";
        text::appendWindows1252DroppingNuls(out, std::string("\0x\0\0y\0", 6) + tail);
        EXPECT_EQ(out, "Name: xy" + text::decodeWindows1252(tail));
    }
    std::string out = "kept";
    text::appendWindows1252DroppingNuls(out, std::string(5, '\0'));
    EXPECT_EQ(out, "kept");

    // Runs of plain ASCII are copied eight bytes at a time: every mix of runs and other bytes
    // decodes as the bytes one by one do.
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', 'c', 'd', 'e', 'f', '\0', '\x80', '\xE9', '\x7F'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 40, ' ');
        for (char& c : bytes) {
            c = alphabet[random() % sizeof alphabet];
        }
        std::string whole = "x";
        std::string withoutNuls = "x";
        for (const char c : bytes) {
            whole += text::decodeWindows1252(std::string(1, c));
            if (c != '\0') {
                withoutNuls += text::decodeWindows1252(std::string(1, c));
            }
        }
        std::string appended = "x";
        text::appendWindows1252(appended, bytes);
        EXPECT_EQ(appended, whole);
        appended = "x";
        text::appendWindows1252DroppingNuls(appended, bytes);
        EXPECT_EQ(appended, withoutNuls);
    }
}

// --- Case folding --------------------------------------------------------------------------

TEST(Text, FoldByteLowersTheLettersOfWindows1252Only) {
    const struct {
        std::uint8_t byte;
        std::uint8_t folded;
    } cases[] = {
        {'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'@', '@'},   {'[', '['},
        {0xC0, 0xE0}, {0xC9, 0xE9}, {0xDE, 0xFE}, {0xD7, 0xD7}, {0xDF, 0xDF},
        {0xE9, 0xE9}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF},
        {0x9A, 0x9A}, {0x80, 0x80}, {0x8D, 0x8D}, {0xF7, 0xF7}, {0x00, 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::foldByte(c.byte), c.folded) << std::hex << int{c.byte};
    }
}

TEST(Text, FoldCaseUtf8) {
    const struct {
        const char8_t* in;
        const char8_t* out;
    } cases[] = {
        {u8"ABC xyz 123", u8"abc xyz 123"},
        {u8"ÀÉÎÕÜ", u8"àéîõü"},
        {u8"Þ", u8"þ"},
        {u8"×÷", u8"×÷"}, // multiplication sign is not a letter
        {u8"ß", u8"ß"},   // has no single-letter upper case here
        {u8"Ÿ", u8"ÿ"},   // U+0178 folds to U+00FF, a different lead byte
        {u8"ŠŒŽ", u8"šœž"},
        {u8"ΑΒΓ Ж", u8"ΑΒΓ Ж"}, // beyond Windows-1252: unchanged
        {u8"Ā", u8"Ā"},         // Latin Extended-A letters other than the four stay
        {u8"€", u8"€"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::foldCaseUtf8(utf8(c.in)), utf8(c.out)) << utf8(c.in);
    }
    // Broken UTF-8 passes through untouched, except for ASCII letters and whole sequences.
    EXPECT_EQ(text::foldCaseUtf8("\xC3"), "\xC3");
    EXPECT_EQ(text::foldCaseUtf8("\x80\x89X"), "\x80\x89x");
    EXPECT_EQ(text::foldCaseUtf8("\xE2\xC3\x89"), "\xE2\xC3\xA9");
    EXPECT_EQ(text::foldCaseUtf8("\xC9Z"), "\xC9z"); // a Windows-1252 byte is not UTF-8
}

TEST(Text, CompareNoCaseOrdersByFoldedCodePoints) {
    EXPECT_EQ(text::compareNoCase("Arial", "ARIAL"), 0);
    EXPECT_EQ(text::compareNoCase(utf8(u8"ÉTÉ"), utf8(u8"été")), 0);
    EXPECT_EQ(text::compareNoCase(utf8(u8"Ÿ"), utf8(u8"ÿ")), 0);
    EXPECT_LT(text::compareNoCase("apple", "Banana"), 0);
    EXPECT_GT(text::compareNoCase("Banana", "apple"), 0);
    EXPECT_LT(text::compareNoCase("Arial", "arial Bold"), 0); // a prefix sorts first
    EXPECT_LT(text::compareNoCase("", "a"), 0);
    // '_' (0x5F) lies between 'A' and 'a': it sorts before both once 'A' is folded.
    EXPECT_LT(text::compareNoCase("_", "a"), 0);
    EXPECT_LT(text::compareNoCase("_", "A"), 0);
    // Non-ASCII sorts after ASCII, by code point: z < é < ÿ < Œ (U+0153 folded) < €.
    EXPECT_LT(text::compareNoCase("z", utf8(u8"é")), 0);
    EXPECT_LT(text::compareNoCase(utf8(u8"É"), utf8(u8"Ÿ")), 0);
    EXPECT_LT(text::compareNoCase(utf8(u8"ÿ"), utf8(u8"Œ")), 0);
    EXPECT_LT(text::compareNoCase(utf8(u8"œ"), utf8(u8"€")), 0);
    EXPECT_TRUE(text::equalsNoCase("Times.TTF", "times.ttf"));
    EXPECT_FALSE(text::equalsNoCase("times.ttf", "times.tt"));
    EXPECT_FALSE(text::equalsNoCase(utf8(u8"ß"), "ss"));
}

// --- find and take: the Type 1 header window's searches and cuts -----------------------------

TEST(Text, FindPositions) {
    const std::string window = "%!PS /FullName (Font) /fullname (x)";
    const struct {
        std::int64_t start;
        const char* needle;
        std::int64_t found;
    } cases[] = {
        {1, "/FullName", 6},  // the first one
        {7, "/FullName", 23}, // the next one, in other case
        {1, "/FULLNAME", 6},  // case ignored in the needle too
        {1, "(", 16},         // a single character
        {17, "(", 33},        // found at or after start only
        {1, "%!", 1},         // at the very start
        {35, ")", 35},        // the last character
        {36, ")", 0},         // one past the end
        {1000, ")", 0},       // far past the end
        {1, "/Weight", 0},    // not there
        {30, "(x) ", 0},      // would run past the end
        {1, "", 1},           // an empty needle is found where the search starts...
        {35, "", 35},         // ...anywhere in the text...
        {36, "", 36},         // ...also one past the end...
        {37, "", 0},          // ...but not further
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::find(window, c.start, c.needle), c.found)
            << "start " << c.start << " needle '" << c.needle << "'";
    }
    EXPECT_EQ(text::find("", 1, "a"), 0);
    EXPECT_EQ(text::find("", 1, ""), 1);
}

TEST(Text, FindIgnoresCaseOfWindows1252Letters) {
    EXPECT_EQ(text::find("xx\xC9t\xC9", 1, "\xE9T\xE9"), 3);
    EXPECT_EQ(text::find("ab\x8A", 1, "\x9A"), 3);
    EXPECT_EQ(text::find("ab\x9A", 1, "\x8A"), 3);
    EXPECT_EQ(text::find("\x9F", 1, "\xFF"), 1);
    EXPECT_EQ(text::find("\xD7", 1, "\xF7"), 0); // multiplication and division signs differ
    EXPECT_EQ(text::find("\xDF", 1, "SS"), 0);
}

TEST(Text, FindWithStartBelowOneFails) {
    // The Type 1 entry lookup searches for "(" from the key's position, which is 0 when the
    // key is missing.
    EXPECT_EQ(failureNumberOf([] { text::find("abc", 0, "a"); }), 5);
    EXPECT_EQ(failureNumberOf([] { text::find("abc", -1, ""); }), 5);
    EXPECT_EQ(failureNumberOf([] { text::find("", INT64_MIN, "a"); }), 5);
}

TEST(Text, TakeCuts) {
    const struct {
        std::int64_t start;
        std::int64_t count;
        const char* result;
    } cases[] = {
        {1, 3, "abc"},              // from the start
        {2, 2, "bc"},               // from inside
        {1, 5, "abcde"},            // all of it
        {5, 1, "e"},                // the last character
        {5, 100, "e"},              // a count beyond the rest gives the rest
        {3, INT64_MAX, "cde"},      // ...however large
        {6, 1, ""},                 // a start past the end gives nothing
        {100, 5, ""},               // ...however far
        {INT64_MAX, INT64_MAX, ""}, // ...without overflowing
        {2, 0, ""},                 // a count of 0 gives nothing
    };
    for (const auto& c : cases) {
        EXPECT_EQ(text::take("abcde", c.start, c.count), c.result)
            << "start " << c.start << " count " << c.count;
        EXPECT_EQ(text::cut("abcde", c.start, c.count), c.result);
    }
    EXPECT_EQ(text::take(std::string("a\0b", 3), 1, 3), std::string("a\0b", 3));
}

TEST(Text, TakeWithBadArgumentsFails) {
    // A missing ")" makes the entry lookup call take(s, 0 - s); a ")" before "(" gives a
    // negative count too.
    EXPECT_EQ(failureNumberOf([] { text::take("abc", 0, 1); }), 5);
    EXPECT_EQ(failureNumberOf([] { text::take("abc", 1, -1); }), 5);
    EXPECT_EQ(failureNumberOf([] { text::take("abc", 10, -1); }), 5);
    EXPECT_EQ(failureNumberOf([] { text::take("", 0, 0); }), 5);
    EXPECT_FALSE(text::cut("abc", 0, 1));
    EXPECT_FALSE(text::cut("abc", 10, -1));
}

// --- trimSpaces, numberText ---------------------------------------------------------------

TEST(Text, TrimSpacesRemovesBlanksOnly) {
    EXPECT_EQ(text::trimSpaces("  Times Roman  "), "Times Roman");
    EXPECT_EQ(text::trimSpaces("\tTimes \t"), "\tTimes \t");
    EXPECT_EQ(text::trimSpaces(" \t "), "\t");
    EXPECT_EQ(text::trimSpaces("    "), "");
    EXPECT_EQ(text::trimSpaces(""), "");
    EXPECT_EQ(text::trimSpaces("a"), "a");
}

TEST(Text, NumberTextHoldsThePlaceOfTheSign) {
    EXPECT_EQ(text::numberText(5), " 5");
    EXPECT_EQ(text::numberText(-5), "-5");
    EXPECT_EQ(text::numberText(0), " 0");
    EXPECT_EQ(text::numberText(1234567890123), " 1234567890123");
    EXPECT_EQ(text::numberText(INT64_MIN), "-9223372036854775808");
}

TEST(Text, GroupedNumbersHaveACommaBeforeEachThreeDigits) {
    const std::pair<std::size_t, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {160000, "160,000"}, {1234567, "1,234,567"}};
    for (const auto& [value, grouped] : cases) {
        EXPECT_EQ(text::groupedNumber(value), grouped);
    }
    EXPECT_EQ(text::countedGrouped(1, "font left", "fonts left"), "1 font left");
    EXPECT_EQ(text::countedGrouped(141803, "font left", "fonts left"), "141,803 fonts left");
}

} // namespace
