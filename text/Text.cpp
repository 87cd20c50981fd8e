#include "text/Text.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/Failure.h"

namespace text {

namespace {

// The UTF-8 form of each Windows-1252 byte, built once at compile time so that decoding is
// one table look-up and a short copy per byte.
struct Utf8Char {
    std::array<char, 3> bytes{};
    std::uint8_t length = 0;
};

constexpr std::array<char32_t, 32> kHighControls{
    U'\u20AC', U'\u0081', U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', U'\u008D', U'\u017D', U'\u008F',
    U'\u0090', U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', U'\u009D', U'\u017E', U'\u0178',
};

constexpr Utf8Char encode(char32_t codePoint) {
    Utf8Char out;
    if (codePoint < 0x80) {
        out.bytes[0] = static_cast<char>(codePoint);
        out.length = 1;
    } else if (codePoint < 0x800) {
        out.bytes[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out.bytes[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        out.length = 2;
    } else {
        out.bytes[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out.bytes[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out.bytes[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        out.length = 3;
    }
    return out;
}

constexpr std::array<Utf8Char, 256> makeDecodeTable() {
    std::array<Utf8Char, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        const bool high = byte >= 0x80 && byte <= 0x9F;
        table[byte] = encode(high ? kHighControls[byte - 0x80] : char32_t{byte});
    }
    return table;
}

constexpr std::array<Utf8Char, 256> kDecode = makeDecodeTable();

constexpr std::array<Utf8Char, 256> makeDecodeDroppingNulTable() {
    std::array<Utf8Char, 256> table = makeDecodeTable();
    table[0].length = 0;
    return table;
}

constexpr std::array<Utf8Char, 256> kDecodeDroppingNul = makeDecodeDroppingNulTable();

constexpr std::array<std::uint8_t, 256> makeFoldTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned folded = byte;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            folded = byte + 0x20;
        } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
            folded = byte + 0x10; // S caron, OE, Z caron
        } else if (byte == 0x9F) {
            folded = 0xFF; // Y diaeresis
        }
        table[byte] = static_cast<std::uint8_t>(folded);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kFold = makeFoldTable();

// For each folded byte, the other byte that folds to it (its upper case), or the byte itself
// when there is none. Folding is one-to-one from upper to lower case, so there is at most one.
constexpr std::array<std::uint8_t, 256> makePartnerTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] = static_cast<std::uint8_t>(byte);
    }
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (kFold[byte] != byte) {
            table[kFold[byte]] = static_cast<std::uint8_t>(byte);
        }
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kPartner = makePartnerTable();

// The first byte equal to value in [from, end); end when there is none.
const char* scanFor(const char* from, const char* end, std::uint8_t value) {
    const void* hit = std::memchr(from, value, static_cast<std::size_t>(end - from));
    return hit == nullptr ? end : static_cast<const char*>(hit);
}

bool equalFolded(const char* a, const char* b, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (kFold[static_cast<std::uint8_t>(a[i])] != kFold[static_cast<std::uint8_t>(b[i])]) {
            return false;
        }
    }
    return true;
}

// Appends the UTF-8 form of each byte by the table; the bytes the table gives no length are
// dropped.
void appendByTable(std::string& out, std::string_view bytes,
                   const std::array<Utf8Char, 256>& table) {
    // Written through a pointer into room for the longest result, then cut to what was
    // written: a long string (a licence, a copyright notice) costs no call per byte.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * 3);
    char* end = out.data() + start;
    for (const char byte : bytes) {
        const Utf8Char& utf8 = table[static_cast<std::uint8_t>(byte)];
        std::memcpy(end, utf8.bytes.data(), utf8.bytes.size());
        end += utf8.length;
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
}

} // namespace

void appendWindows1252(std::string& out, std::string_view bytes) {
    appendByTable(out, bytes, kDecode);
}

void appendWindows1252DroppingNuls(std::string& out, std::string_view bytes) {
    appendByTable(out, bytes, kDecodeDroppingNul);
}

std::string decodeWindows1252(std::string_view bytes) {
    std::string out;
    appendWindows1252(out, bytes);
    return out;
}

std::uint8_t foldByte(std::uint8_t byte) noexcept {
    return kFold[byte];
}

void foldCaseInPlace(char* utf8, std::size_t size) noexcept {
    // Every letter this folds has a lower case of the same UTF-8 length, so the text is folded
    // in place. 0xC3 and 0xC5 can only ever be lead bytes, and an ASCII byte is never part of
    // a longer sequence, so matching them byte by byte never touches a broken sequence.
    char* const out = utf8;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<std::uint8_t>(out[i]);
        if (byte >= 'A' && byte <= 'Z') {
            out[i] = static_cast<char>(byte + 0x20);
            continue;
        }
        if (i + 1 >= size) {
            break;
        }
        const auto next = static_cast<std::uint8_t>(out[i + 1]);
        if (byte == 0xC3 && next >= 0x80 && next <= 0x9E && next != 0x97) {
            // U+00C0..U+00DE except U+00D7 (multiplication sign) -> U+00E0..U+00FE.
            out[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        } else if (byte == 0xC5 && (next == 0xA0 || next == 0x92 || next == 0xBD)) {
            // U+0160 S caron, U+0152 OE, U+017D Z caron -> the next code point.
            out[i + 1] = static_cast<char>(next + 1);
            ++i;
        } else if (byte == 0xC5 && next == 0xB8) {
            // U+0178 Y diaeresis -> U+00FF.
            out[i] = static_cast<char>(0xC3);
            out[i + 1] = static_cast<char>(0xBF);
            ++i;
        }
    }
}

std::string foldCaseUtf8(std::string_view utf8) {
    std::string out(utf8);
    foldCaseInPlace(out.data(), out.size());
    return out;
}

int compareNoCase(std::string_view a, std::string_view b) {
    // std::char_traits<char> compares as unsigned char, and the byte order of UTF-8 is the
    // order of its code points.
    const int result = std::string_view(foldCaseUtf8(a)).compare(foldCaseUtf8(b));
    return (result > 0) - (result < 0);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    // Folding keeps the length, so texts of different lengths never match.
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

std::int64_t find(std::string_view haystack, std::int64_t start, std::string_view needle) {
    if (start < 1) {
        throw platform::Failure(platform::FailureNumber::InvalidArgument);
    }
    const auto length = static_cast<std::int64_t>(haystack.size());
    if (needle.empty()) {
        return start <= length + 1 ? start : 0;
    }
    const auto needleLength = static_cast<std::int64_t>(needle.size());
    if (start > length || needleLength > length - (start - 1)) {
        return 0;
    }
    const std::int64_t last = length - needleLength; // 0-based index of the last candidate
    // Candidates are the bytes that fold to the needle's first byte: at most two values, each
    // found with memchr, which goes through a font's header far faster than a byte loop.
    const std::uint8_t first = kFold[static_cast<std::uint8_t>(needle.front())];
    const std::uint8_t partner = kPartner[first];
    const char* const text = haystack.data();
    const char* const end = text + last + 1;
    const char* nextFirst = scanFor(text + (start - 1), end, first);
    const char* nextPartner = partner == first ? end : scanFor(text + (start - 1), end, partner);
    for (;;) {
        const char* candidate = std::min(nextFirst, nextPartner);
        if (candidate == end) {
            return 0;
        }
        if (equalFolded(candidate + 1, needle.data() + 1, needle.size() - 1)) {
            return (candidate - text) + 1;
        }
        // Only the value just tried moves on; the other one's next place is still ahead.
        if (candidate == nextFirst) {
            nextFirst = scanFor(candidate + 1, end, first);
        } else {
            nextPartner = scanFor(candidate + 1, end, partner);
        }
    }
}

std::optional<std::string_view> cut(std::string_view text, std::int64_t start, std::int64_t count) {
    if (start < 1 || count < 0) {
        return std::nullopt;
    }
    const auto length = static_cast<std::int64_t>(text.size());
    if (start > length || count == 0) {
        return std::string_view();
    }
    const std::int64_t available = length - (start - 1);
    return text.substr(static_cast<std::size_t>(start - 1),
                       static_cast<std::size_t>(std::min(count, available)));
}

std::string take(std::string_view text, std::int64_t start, std::int64_t count) {
    const std::optional<std::string_view> piece = cut(text, start, count);
    if (!piece) {
        throw platform::Failure(platform::FailureNumber::InvalidArgument);
    }
    return std::string(*piece);
}

std::string_view withoutOuterSpaces(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string trimSpaces(std::string_view text) {
    return std::string(withoutOuterSpaces(text));
}

std::string numberText(std::int64_t value) {
    const std::string digits = std::to_string(value);
    if (value < 0) {
        return digits;
    }
    std::string out;
    out.reserve(digits.size() + 1);
    out.push_back(' ');
    out.append(digits);
    return out;
}

std::string counted(std::size_t count, std::string_view one, std::string_view many) {
    std::string out = std::to_string(count);
    out += ' ';
    out += count == 1 ? one : many;
    return out;
}

std::string groupedNumber(std::size_t value) {
    const std::string digits = std::to_string(value);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return out;
}

std::string countedGrouped(std::size_t count, std::string_view one, std::string_view many) {
    std::string out = groupedNumber(count);
    out += ' ';
    out += count == 1 ? one : many;
    return out;
}

void appendParagraph(std::string& message, std::string_view paragraph) {
    message += kCrLf;
    message += kCrLf;
    message += paragraph;
}

} // namespace text
