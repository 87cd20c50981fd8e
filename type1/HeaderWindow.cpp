#include "type1/HeaderWindow.h"

#include "fontcore/OpenFontFile.h"
#include "platform/Failure.h"
#include "text/Text.h"

#include <algorithm>

namespace type1 {

std::string_view headerWindowInFile(platform::FontFileReader& reader, HeaderLayout layout) {
    const auto page = reader.pageFrom(layout == HeaderLayout::Segmented ? kHeaderWindowStart : 1);
    return {reinterpret_cast<const char*>(page.data()),
            std::min(page.size(), static_cast<std::size_t>(kHeaderWindowLength))};
}

std::optional<std::string_view> T1EntryValue(std::string_view window, std::string_view key) {
    using text::find;
    // The searches run on the raw window and are not checked against each other: a missing
    // key would make the next search start at 0, and a ")" before the "(" makes the count
    // negative, both of which find and take refuse with failure 5.
    const std::int64_t keyAt = find(window, 1, key);
    if (keyAt == 0) {
        return std::nullopt;
    }
    const std::int64_t openAt = find(window, keyAt, "(");
    // The closing parenthesis is looked for from the key, not from the "(".
    const std::int64_t closeAt = find(window, keyAt, ")");
    // Without a "(" after the key the cut starts at the window's first byte, so the value is
    // everything before the ")". Files named from such a value are made safe where names
    // become file names, not here.
    const std::int64_t start = openAt + 1;
    return text::cut(window, start, closeAt - start);
}

namespace {

fontcore::FullName nameFromWindow(platform::FontFileReader& reader, HeaderLayout layout) {
    try {
        const std::optional<std::string_view> value =
            T1EntryValue(headerWindowInFile(reader, layout), "/FullName");
        if (!value) {
            return {.failure = platform::Failure(platform::FailureNumber::InvalidArgument)};
        }
        return {.name = text::decodeWindows1252(*value)};
    } catch (...) {
        return {.failure = platform::currentFailure()};
    }
}

} // namespace

fontcore::FullName T1NameFromReader(platform::FontFileReader& reader) {
    return nameFromWindow(reader, HeaderLayout::Segmented);
}

fontcore::FullName T1TextNameFromReader(platform::FontFileReader& reader) {
    return nameFromWindow(reader, HeaderLayout::Text);
}

fontcore::FullName T1Name(const std::string& utf8Path) {
    return fontcore::nameOfFontFile(utf8Path, T1NameFromReader);
}

} // namespace type1
