#include "truetype/NameTableReader.h"

#include "runtime/Failure.h"
#include "runtime/Int16.h"
#include "runtime/Text.h"

#include <algorithm>

namespace truetype {

namespace {

std::int16_t signed16At(runtime::FontFileReader& font, std::int64_t position) {
    const std::uint8_t high = font.byteAt(position);
    return runtime::int16::fromBytes(high, font.byteAt(position + 1));
}

bool isNameTag(const std::string& tag) {
    static constexpr char name[] = "name";
    for (std::size_t i = 0; i < 4; ++i) {
        if (runtime::text::foldByte(static_cast<std::uint8_t>(tag[i])) !=
            static_cast<std::uint8_t>(name[i])) {
            return false;
        }
    }
    return true;
}

std::string errorText(const runtime::Failure& failure) {
    return "error: " + failure.description();
}

// Where the string of the record at position R starts, and how many of its bytes lie in the
// file. Bytes past the end of the file read as zero bytes, which the text drops anyway, so
// only those in the file are read.
struct StringPlace {
    std::int64_t position = 0; // 1-based, at least 1
    std::int64_t count = 0;
};

StringPlace stringPlace(runtime::FontFileReader& font, const NameTableLocation& table,
                        std::int64_t R) {
    const std::int16_t length = recordLength(font, R);
    const std::int16_t offset = signed16At(font, R + 10);
    StringPlace place;
    place.position = table.storageStart + offset;
    const auto start = static_cast<std::uint64_t>(place.position - 1);
    const std::uint64_t inFile = start < font.size() ? font.size() - start : 0;
    place.count = static_cast<std::int64_t>(std::min<std::uint64_t>(length, inFile));
    return place;
}

} // namespace

NameTableLocation TTFindNameTable(runtime::FontFileReader& font) {
    std::string tag = "    ";
    std::int16_t i = 0;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;
    std::uint8_t b3 = 0;
    while (!isNameTag(tag)) {
        // The entry's position is 16-bit arithmetic: 16 * 2048 overflows, so entries 0 to
        // 2047 are the most that are looked at.
        const std::int16_t p = runtime::int16::add(runtime::int16::multiply(16, i), 13);
        // Past the end of the file every entry reads as zero bytes and none is tagged "name":
        // the search would walk on to entry 2048 and overflow there. It overflows now.
        if (static_cast<std::uint64_t>(p) > font.size()) {
            throw runtime::Failure(runtime::FailureNumber::Overflow);
        }
        tag = font.bytesAt(p, 4);
        b1 = font.byteAt(p + 9);
        b2 = font.byteAt(p + 10);
        b3 = font.byteAt(p + 11);
        i = runtime::int16::add(i, 1);
    }
    NameTableLocation table;
    table.tableOffset = std::int64_t{b1} * 65536 + std::int64_t{b2} * 256 + b3;
    const std::int64_t T = table.tableOffset;
    const std::int64_t storageOffset = std::int64_t{font.byteAt(T + 5)} * 256 + font.byteAt(T + 6);
    table.storageStart = T + storageOffset + 1;
    table.recordCount = signed16At(font, T + 3);
    return table;
}

std::uint8_t recordPlatform(runtime::FontFileReader& font, std::int64_t R) {
    return font.byteAt(R + 1);
}

std::int16_t recordEncoding(runtime::FontFileReader& font, std::int64_t R) {
    return signed16At(font, R + 2);
}

std::int16_t recordLanguage(runtime::FontFileReader& font, std::int64_t R) {
    return signed16At(font, R + 4);
}

std::int16_t recordNameId(runtime::FontFileReader& font, std::int64_t R) {
    return signed16At(font, R + 6);
}

std::int16_t recordLength(runtime::FontFileReader& font, std::int64_t R) {
    return signed16At(font, R + 8);
}

std::int64_t recordStringBytes(runtime::FontFileReader& font, const NameTableLocation& table,
                               std::int64_t R) {
    return stringPlace(font, table, R).count;
}

std::string TTRecordText(runtime::FontFileReader& font, const NameTableLocation& table,
                         std::int64_t R) {
    const StringPlace place = stringPlace(font, table, R);
    std::string text = font.bytesAt(place.position, place.count);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    return text;
}

std::string TTEnglishNameFromReader(runtime::FontFileReader& font) {
    try {
        const NameTableLocation table = TTFindNameTable(font);
        std::int64_t chosen = 0;
        for (std::int64_t j = 0; j < table.recordCount; ++j) {
            const std::int64_t R = recordPosition(table, j);
            if (recordsPastEnd(font, R)) {
                break; // nothing after this can be chosen or fail
            }
            const std::uint8_t platform = recordPlatform(font, R);
            if (platform >= 4) {
                continue;
            }
            // All three are read, in this order, although only the name ID takes part in the
            // choice: an encoding or language ID of 32768 or more fails the lookup.
            recordEncoding(font, R);
            recordLanguage(font, R);
            const std::int16_t nameId = recordNameId(font, R);
            if (platform == 3 && nameId == 4) {
                chosen = R;
            } else if ((platform == 0 || platform == 1) && nameId == 4 && chosen == 0) {
                chosen = R;
            }
        }
        if (chosen == 0) {
            return {};
        }
        return runtime::text::decodeWindows1252(TTRecordText(font, table, chosen));
    } catch (...) {
        return errorText(runtime::currentFailure());
    }
}

std::string TTEnglishName(const std::string& TTPath) {
    try {
        runtime::FontFileReader font(TTPath);
        return TTEnglishNameFromReader(font);
    } catch (...) {
        return errorText(runtime::currentFailure());
    }
}

} // namespace truetype
