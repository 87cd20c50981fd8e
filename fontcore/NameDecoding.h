#pragma once

namespace fontcore {

// How the strings of a TrueType `name` table become text.
enum class NameDecoding {
    // Byte for byte in Windows-1252, NUL bytes dropped, whatever the platform: a UTF-16
    // character below U+0100 comes out right, any other as two characters. The default, which
    // stored pages and scripts rely on.
    ByteWise,
    // The "Unicode names" option: UTF-16BE for platforms 0 and 3, Mac Roman for Macintosh
    // Roman, every other string byte for byte as above.
    Unicode,
};

} // namespace fontcore
