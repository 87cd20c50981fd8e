#include "fuzz/FuzzTargets.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "fontlist/HtmlLinkLine.h"
#include "fontlist/ValidFileName.h"
#include "fuzz/Properties.h"
#include "text/Text.h"

namespace fuzzing {

namespace {

constexpr std::array<fontlist::SpacesOption, 3> kOptions{fontlist::SpacesOption::NoChange,
                                                         fontlist::SpacesOption::ReplaceWithHyphen,
                                                         fontlist::SpacesOption::Remove};

constexpr std::string_view kNeverInKey = "\\/:*?\"<>|.";

void checkKey(std::string_view name, std::string_view key, fontlist::SpacesOption option) {
    require(key.size() <= name.size(), "the key is never longer than the name");
    require(key.find_first_of(kNeverInKey) == std::string_view::npos &&
                std::none_of(key.begin(), key.end(),
                             [](char c) {
                                 const auto byte = static_cast<unsigned char>(c);
                                 return byte < 0x20 || byte == 0x7F;
                             }),
            "the key holds no character forbidden in file names, no full stop and no control "
            "character");
    if (option != fontlist::SpacesOption::NoChange) {
        require(key.find(' ') == std::string_view::npos, "the option leaves no space");
    }
    if (isValidUtf8(name)) {
        require(isValidUtf8(key), "a UTF-8 name gives a UTF-8 key");
    }
}

// The character that a character reference at the start of text stands for, and the
// reference's length; 0 for a "&" that starts none of the page's references.
std::size_t characterReference(std::string_view text, char& c) {
    static constexpr std::array<std::pair<std::string_view, char>, 4> kReferences{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}}};
    for (const auto& [reference, stands] : kReferences) {
        if (text.starts_with(reference)) {
            c = stands;
            return reference.size();
        }
    }
    return 0;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The escaped text (the link or the text of the line) holds no bare markup character and, for
// the link, no control character, "#", "?" or backslash, and only UTF-8; with its character
// references undone and, for the link, then its percent-encoding ("%" and two upper-case hex
// digits), it is exactly the original. Checked as it is decoded, without building the decoded text:
// a reference never stands for "%", so undoing both in one pass is the same as undoing one after
// the other.
void checkEscaped(std::string_view escaped, std::string_view original, bool link) {
    const std::string_view leadsBack =
        link ? "the link leads back to the path" : "the text shows the key";
    std::size_t o = 0;
    for (std::size_t i = 0; i < escaped.size();) {
        char c = escaped[i];
        if (c == '&') {
            const std::size_t length = characterReference(escaped.substr(i), c);
            require(length != 0, leadsBack);
            i += length;
        } else if (c == '%' && link) {
            const int high = escaped.size() - i >= 3 ? hexValue(escaped[i + 1]) : -1;
            const int low = high >= 0 ? hexValue(escaped[i + 2]) : -1;
            require(low >= 0, leadsBack);
            c = static_cast<char>(high * 16 + low);
            i += 3;
        } else {
            require(c != '<' && c != '>' && c != '"',
                    "no markup character stands bare in the link or the text");
            const auto byte = static_cast<unsigned char>(c);
            require(!link || (byte >= 0x20 && byte != 0x7F && c != '#' && c != '?' && c != '\\'),
                    "the link holds no control character, no '#', no '?' and no backslash");
            ++i;
        }
        require(o < original.size() && original[o] == c, leadsBack);
        ++o;
    }
    require(o == original.size(), leadsBack);
    require(!link || isValidUtf8(escaped), "bytes that are not UTF-8 are percent-encoded");
}

// The line is one element whose link and text lead back to the path and the key.
void checkLine(std::string_view line, std::string_view path, std::string_view key) {
    constexpr std::string_view open = "<A HREF=\"";
    constexpr std::string_view close = "</A><BR>";
    require(line.starts_with(open) && line.ends_with(close) &&
                line.size() >= open.size() + close.size(),
            "the line is one link element");
    const std::string_view inner =
        line.substr(open.size(), line.size() - open.size() - close.size());
    const std::size_t split = inner.find("\">");
    require(split != std::string_view::npos, "the link ends where the text begins");
    checkEscaped(inner.substr(0, split), path, true);
    checkEscaped(inner.substr(split + 2), key, false);
}

} // namespace

void htmlLine(Input input) {
    const std::string_view bytes(reinterpret_cast<const char*>(input.data()), input.size());
    const std::size_t nameLength =
        bytes.empty()
            ? 0
            : std::min<std::size_t>(static_cast<unsigned char>(bytes[0]), bytes.size() - 1);
    const std::string_view name = bytes.empty() ? bytes : bytes.substr(1, nameLength);
    const std::string_view path = bytes.empty() ? bytes : bytes.substr(1 + nameLength);

    const std::string trimmed = text::trimSpaces(name);
    std::string lastKey;
    for (const fontlist::SpacesOption option : kOptions) {
        std::string key = fontlist::ValidFileName(trimmed, option);
        checkKey(trimmed, key, option);
        // The options differ only where the name has spaces; the same key gives the same line.
        if (option == kOptions.front() || key != lastKey) {
            checkLine(fontlist::htmlLinkLine(path, key), path, key);
        }
        lastKey = std::move(key);
    }
}

} // namespace fuzzing
