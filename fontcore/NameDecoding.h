#pragma once

#include <cstdint>

namespace fontcore {

// The user's language in the terms of a TrueType `name` table's records, worked out once per
// run by the front end; -1 for what it does not have.
struct NameLanguage {
    std::int32_t windowsId = -1;      // the Windows language ID: 0x040C for French (France)
    std::int32_t windowsPrimary = -1; // its primary language, the low 10 bits: 0x0C
    std::int32_t macCode = -1;        // the Macintosh language code: 1 for French

    friend constexpr bool operator==(const NameLanguage&, const NameLanguage&) = default;
};

// How the full name of a TrueType font is chosen among its `name` records, and how the strings
// of the table become text.
struct NameDecoding {
    enum class Mode : std::uint8_t {
        // The last Windows full-name record, else the first Unicode or Macintosh one; every
        // string byte for byte in Windows-1252, NUL bytes dropped, whatever the platform: a
        // UTF-16 character below U+0100 comes out right, any other as two characters. The
        // default, which stored pages and scripts rely on.
        ByteWise,
        // The "Readable names" option: the full-name record in the user's language where the
        // font has one, else in US English, else in any English, else the byte-wise one; the
        // strings in UTF-16BE for platforms 0 and 3, Mac Roman for Macintosh Roman, every
        // other one byte for byte as above.
        Readable,
    };

    Mode mode = Mode::ByteWise;
    NameLanguage language; // Readable: the user's, tried first

    static const NameDecoding ByteWise;
    // Readable names without a language of the user's: English is tried first.
    static const NameDecoding Readable;

    static constexpr NameDecoding readableIn(NameLanguage language) {
        return {.mode = Mode::Readable, .language = language};
    }
    constexpr bool readable() const { return mode == Mode::Readable; }

    friend constexpr bool operator==(const NameDecoding&, const NameDecoding&) = default;
};

inline constexpr NameDecoding NameDecoding::ByteWise{};
inline constexpr NameDecoding NameDecoding::Readable = NameDecoding::readableIn({});

} // namespace fontcore
