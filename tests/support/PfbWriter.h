#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A small writer of Type 1 fonts in the binary printer-font (.pfb) layout, for tests, fuzz
// seeds and benchmarks. A .pfb file is a chain of segments, each a marker byte 0x80, a type
// byte and (except the end marker) a 32-bit little-endian length followed by that many bytes.
// Nothing here checks that the clear text is valid PostScript: tests need broken headers too.
namespace testsupport {

enum class PfbSegmentType : std::uint8_t {
    ClearText = 1,
    Binary = 2,
    End = 3,
};

// One segment: 0x80, the type, the body's length (little-endian) and the body. For End the
// result is the two bytes 0x80 0x03 and the body is ignored.
std::string pfbSegment(PfbSegmentType type, std::string_view body = {});

// Arbitrary but fixed bytes standing in for a font's encrypted part; all 256 byte values
// occur, parentheses included.
std::string sampleBinary(std::size_t size = 512);

// A whole .pfb file: a clear-text segment, a binary segment and the end marker. The clear
// text starts at byte 7 of the result (1-based).
std::string pfbFont(std::string_view clearText, std::string_view binary = sampleBinary());

// The same font in the two layouts without segment headers, the clear text first in both:
// ASCII (.pfa), the encrypted part as lines of hexadecimal digits, and Unix (.t1), the
// encrypted part in binary. Both end with the trailer of zeros and "cleartomark".
std::string pfaFont(std::string_view clearText, std::string_view binary = sampleBinary());
std::string unixType1Font(std::string_view clearText, std::string_view binary = sampleBinary());

// A clear-text header shaped like the ones font tools write: a "%!PS-AdobeFont-1.0:" line,
// comment lines, "11 dict begin", the FontInfo dictionary with /version, /Notice, /FullName,
// /FamilyName and /Weight (in that order), the rest of the font dictionary and
// "currentfile eexec". Lines end with lineEnd (CR, as many .pfb files have, by default).
// The values are written between parentheses as given, without escaping.
std::string typicalClearText(std::string_view fullName, std::string_view familyName = "Test Sans",
                             std::string_view weight = "Regular",
                             std::string_view version = "001.000", std::string_view lineEnd = "\r");

} // namespace testsupport
