#include "fuzz/FuzzTargets.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "fontlist/HtmlFontList.h"
#include "fontlist/ValidFileName.h"
#include "fuzz/Properties.h"
#include "runtime/Text.h"

namespace fuzzing {

namespace {

constexpr std::array<fontlist::SpacesOption, 3> kOptions{fontlist::SpacesOption::NoChange,
                                                         fontlist::SpacesOption::ReplaceWithHyphen,
                                                         fontlist::SpacesOption::Remove};

constexpr std::string_view kNeverInKey = "\\/:*?\"<>|.";

void checkKey(std::string_view name, std::string_view key, fontlist::SpacesOption option) {
    require(key.size() <= name.size(), "the key is never longer than the name");
    require(key.find_first_of(kNeverInKey) == std::string_view::npos &&
                key.find('\0') == std::string_view::npos,
            "the key holds no character forbidden in file names, no full stop and no NUL");
    if (option != fontlist::SpacesOption::NoChange) {
        require(key.find(' ') == std::string_view::npos, "the option leaves no space");
    }
    if (isValidUtf8(name)) {
        require(isValidUtf8(key), "a UTF-8 name gives a UTF-8 key");
    }
}

// Undoes the character references of the page; false at a "&" that starts none of them.
bool unescapeHtml(std::string_view text, std::string& out) {
    static constexpr std::array<std::pair<std::string_view, char>, 4> kReferences{
        {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}}};
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        bool known = false;
        for (const auto& [reference, c] : kReferences) {
            if (text.substr(i, reference.size()) == reference) {
                out += c;
                i += reference.size();
                known = true;
                break;
            }
        }
        if (!known) {
            return false;
        }
    }
    return true;
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

// Undoes the percent-encoding of the link; false at a "%" without two upper-case hex digits.
bool percentDecode(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (text.size() - i < 3) {
            return false;
        }
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
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
    const std::string_view href = inner.substr(0, split);
    const std::string_view text = inner.substr(split + 2);
    require(href.find_first_of("<>\"") == std::string_view::npos &&
                text.find_first_of("<>\"") == std::string_view::npos,
            "no markup character stands bare in the link or the text");
    require(std::none_of(href.begin(), href.end(),
                         [](char c) {
                             const auto byte = static_cast<unsigned char>(c);
                             return byte < 0x20 || byte == 0x7F || c == '#' || c == '?';
                         }),
            "the link holds no control character, no '#' and no '?'");
    std::string unescaped;
    std::string decoded;
    require(unescapeHtml(href, unescaped) && percentDecode(unescaped, decoded) && decoded == path,
            "the link leads back to the path");
    require(unescapeHtml(text, unescaped) && unescaped == key, "the text shows the key");
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

    const std::string trimmed = runtime::text::trimSpaces(name);
    for (const fontlist::SpacesOption option : kOptions) {
        const std::string key = fontlist::ValidFileName(trimmed, option);
        checkKey(trimmed, key, option);
        checkLine(fontlist::htmlLinkLine(path, key), path, key);
    }
}

} // namespace fuzzing
