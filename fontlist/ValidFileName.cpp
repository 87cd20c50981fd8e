#include "fontlist/ValidFileName.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "text/ControlCharacters.h"

namespace fontlist {

namespace {

// What becomes of each byte of a name.
enum ByteFate : std::uint8_t { Kept, Dropped, Space, MayBeControl };

// The nine characters forbidden in file names on Windows, every full stop, and the control
// characters: NUL would cut the path short at that point (a Type 1 header can hold one between
// its parentheses), so that every file made from the name would land on one truncated name;
// 0x01-0x1F are forbidden on Windows too, and those and DEL make a file name that a terminal
// acts on when it is listed. A name read from a font as single bytes can hold them: an escape
// sequence, or the high bytes of UTF-16 Cyrillic (0x04). The lead bytes of the control characters
// beyond ASCII (C1, bidirectional, separators) are looked at with the bytes that follow them.
constexpr std::array<ByteFate, 256> kFates = [] {
    std::array<ByteFate, 256> fates{};
    fates.fill(Kept);
    for (const char c : {'\\', '/', ':', '*', '?', '"', '<', '>', '|', '.', '\x7F'}) {
        fates[static_cast<unsigned char>(c)] = Dropped;
    }
    for (std::size_t control = 0; control < 0x20; ++control) {
        fates[control] = Dropped;
    }
    fates[' '] = Space;
    fates[0xC2] = MayBeControl;
    fates[0xE2] = MayBeControl;
    return fates;
}();

} // namespace

std::string ValidFileName(std::string_view inputfilename, SpacesOption option) {
    // The result is never longer than the name: written in place, then cut to its length.
    std::string result(inputfilename.size(), '\0');
    char* const start = result.data();
    char* into = start;
    for (std::size_t i = 0; i < inputfilename.size(); ++i) {
        const char c = inputfilename[i];
        switch (kFates[static_cast<unsigned char>(c)]) {
        case Kept: *into++ = c; break;
        case Dropped: break;
        case Space:
            if (option == SpacesOption::NoChange) {
                *into++ = ' ';
            } else if (option == SpacesOption::ReplaceWithHyphen) {
                *into++ = '-';
            }
            break;
        case MayBeControl:
            if (const std::size_t control = text::wideControlAt(inputfilename, i)) {
                i += control - 1;
            } else {
                *into++ = c;
            }
            break;
        }
    }
    result.resize(static_cast<std::size_t>(into - start));
    return result;
}

} // namespace fontlist
