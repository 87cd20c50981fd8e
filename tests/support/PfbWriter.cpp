#include "support/PfbWriter.h"

namespace testsupport {

std::string pfbSegment(PfbSegmentType type, std::string_view body) {
    std::string out;
    out.push_back(static_cast<char>(0x80));
    out.push_back(static_cast<char>(type));
    if (type == PfbSegmentType::End) {
        return out;
    }
    const auto length = static_cast<std::uint32_t>(body.size());
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((length >> shift) & 0xFFu));
    }
    out.append(body);
    return out;
}

std::string sampleBinary(std::size_t size) {
    std::string out(size, '\0');
    std::uint32_t state = 0x2545F491u;
    for (std::size_t i = 0; i < size; ++i) {
        // A full-period linear congruential step; the low byte runs through every value.
        state = state * 1664525u + 1013904223u;
        out[i] = static_cast<char>(i < 256 ? i : (state >> 24));
    }
    return out;
}

std::string pfbFont(std::string_view clearText, std::string_view binary) {
    return pfbSegment(PfbSegmentType::ClearText, clearText) +
           pfbSegment(PfbSegmentType::Binary, binary) + pfbSegment(PfbSegmentType::End);
}

namespace {

std::string trailer() {
    std::string text;
    for (int line = 0; line < 8; ++line) {
        text += std::string(64, '0') + "\n";
    }
    return text + "cleartomark\n";
}

} // namespace

std::string pfaFont(std::string_view clearText, std::string_view binary) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out(clearText);
    for (std::size_t i = 0; i < binary.size(); ++i) {
        const auto byte = static_cast<unsigned char>(binary[i]);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xFu];
        if (i % 32 == 31 || i + 1 == binary.size()) {
            out += '\n';
        }
    }
    return out + trailer();
}

std::string unixType1Font(std::string_view clearText, std::string_view binary) {
    return std::string(clearText) + std::string(binary) + trailer();
}

std::string typicalClearText(std::string_view fullName, std::string_view familyName,
                             std::string_view weight, std::string_view version,
                             std::string_view lineEnd) {
    std::string postScriptName;
    for (const char c : fullName) {
        if (c != ' ') {
            postScriptName.push_back(c);
        }
    }
    const std::string end(lineEnd);
    std::string text;
    text += "%!PS-AdobeFont-1.0: " + postScriptName + " " + std::string(version) + end;
    text += "%%CreationDate: Mon Jan  1 00:00:00 2024" + end;
    text += "% Written by the Quillvane test suite" + end;
    text += "11 dict begin" + end;
    text += "/FontInfo 9 dict dup begin" + end;
    text += "/version (" + std::string(version) + ") readonly def" + end;
    text += "/Notice (A font made for tests) readonly def" + end;
    text += "/FullName (" + std::string(fullName) + ") readonly def" + end;
    text += "/FamilyName (" + std::string(familyName) + ") readonly def" + end;
    text += "/Weight (" + std::string(weight) + ") readonly def" + end;
    text += "/ItalicAngle 0 def" + end;
    text += "/isFixedPitch false def" + end;
    text += "end readonly def" + end;
    text += "/FontName /" + postScriptName + " def" + end;
    text += "/PaintType 0 def" + end;
    text += "/FontType 1 def" + end;
    text += "/FontMatrix [0.001 0 0 0.001 0 0] readonly def" + end;
    text += "/Encoding StandardEncoding def" + end;
    text += "/FontBBox {0 -200 1000 900} readonly def" + end;
    text += "currentdict end" + end;
    text += "currentfile eexec" + end;
    return text;
}

} // namespace testsupport
