#include "type1/HeaderFacts.h"

#include "platform/Failure.h"
#include "text/Text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace type1 {

namespace {

// PostScript's white space, and the characters that end a name.
bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}

bool isDelimiter(char c) {
    return isWhiteSpace(c) || std::string_view("()<>[]{}/%").find(c) != std::string_view::npos;
}

// Where the value after the first occurrence of key that ends at a delimiter starts, past its
// white space; npos without one.
std::size_t valueAfterKey(std::string_view window, std::string_view key) {
    std::int64_t from = 1;
    for (;;) {
        const std::int64_t at = text::find(window, from, key);
        if (at == 0) {
            return std::string_view::npos;
        }
        auto end = static_cast<std::size_t>(at - 1) + key.size();
        if (end >= window.size() || isDelimiter(window[end])) {
            while (end < window.size() && isWhiteSpace(window[end])) {
                ++end;
            }
            return end;
        }
        from = at + 1;
    }
}

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// Resolves the escape whose backslash stands before text[i], appending what it stands for;
// returns the place of its last character.
std::size_t resolveEscape(std::string_view text, std::size_t i, std::string& out) {
    const char c = text[i];
    if (isOctal(c)) {
        unsigned value = 0;
        std::size_t end = i;
        while (end < text.size() && end < i + 3 && isOctal(text[end])) {
            value = value * 8 + static_cast<unsigned>(text[end] - '0');
            ++end;
        }
        out += static_cast<char>(value & 0xFF);
        return end - 1;
    }
    switch (c) {
    case 'n': out += '\n'; return i;
    case 'r': out += '\r'; return i;
    case 't': out += '\t'; return i;
    case 'b': out += '\b'; return i;
    case 'f': out += '\f'; return i;
    case '\r': return i + 1 < text.size() && text[i + 1] == '\n' ? i + 1 : i;
    case '\n': return i;
    default: out += c; return i; // \( \) \\ and any other character stand for themselves
    }
}

// The literal whose "(" stands at text[open], resolved; none where it does not end.
std::optional<std::string> stringLiteral(std::string_view text, std::size_t open) {
    std::string bytes;
    int depth = 1;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (i + 1 == text.size()) {
                break;
            }
            i = resolveEscape(text, i + 1, bytes);
            continue;
        }
        if (c == ')' && --depth == 0) {
            return bytes;
        }
        depth += c == '(' ? 1 : 0;
        if (c == '\r') {
            i += i + 1 < text.size() && text[i + 1] == '\n' ? 1 : 0;
            bytes += '\n';
            continue;
        }
        bytes += c;
    }
    return std::nullopt;
}

std::string decoded(const std::optional<std::string>& bytes) {
    std::string out;
    if (bytes) {
        text::appendWindows1252DroppingNuls(out, *bytes);
    }
    return out;
}

// The name literal that key's entry holds ("/FontName /Foo-Bold def" gives "Foo-Bold"); none
// where its value is no name literal.
std::optional<std::string> nameEntry(std::string_view window, std::string_view key) {
    std::size_t at = valueAfterKey(window, key);
    if (at >= window.size() || window[at] != '/') {
        return std::nullopt;
    }
    const std::size_t start = ++at;
    while (at < window.size() && !isDelimiter(window[at])) {
        ++at;
    }
    return std::string(window.substr(start, at - start));
}

} // namespace

std::optional<std::string> stringEntry(std::string_view window, std::string_view key) {
    const std::size_t value = valueAfterKey(window, key);
    if (value >= window.size() || window[value] != '(') {
        return std::nullopt;
    }
    return stringLiteral(window, value);
}

fontcore::FontFacts headerFacts(platform::FontFileReader& reader, HeaderLayout layout,
                                fontcore::FactsUse use) {
    const std::string_view window = headerWindowInFile(reader, layout);
    const std::optional<std::string_view> listedName = T1EntryValue(window, "/FullName");
    if (!listedName) {
        throw platform::Failure(platform::FailureNumber::InvalidArgument);
    }
    fontcore::FaceFacts face;
    if (use == fontcore::FactsUse::List) {
        // As the name lookup gives it, NULs and all.
        face.fullName = text::decodeWindows1252(*listedName);
    } else {
        const std::optional<std::string> fullName = stringEntry(window, "/FullName");
        face.fullName = fullName ? decoded(fullName) : decoded(std::string(*listedName));
    }
    face.version = decoded(stringEntry(window, "/version"));
    face.familyName = decoded(stringEntry(window, "/FamilyName"));
    face.weight = decoded(stringEntry(window, "/Weight"));
    face.notice = decoded(stringEntry(window, "/Notice"));
    face.fontName = decoded(nameEntry(window, "/FontName"));
    return {.faces = {std::move(face)}, .failure = std::nullopt};
}

} // namespace type1
