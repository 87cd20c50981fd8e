#include "fontlist/CopyShortfalls.h"

#include <algorithm>

#include "text/Text.h"

namespace fontlist {

namespace {

using text::kCrLf;

std::string fontsText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " font" : " fonts");
}

} // namespace

CopyShortfalls::List& CopyShortfalls::listFor(std::string_view key) {
    const auto found =
        std::ranges::find_if(lists_, [&](const List& list) { return list.key == key; });
    if (found != lists_.end()) {
        return *found;
    }
    lists_.push_back(List{std::string(key), 0, {}});
    return lists_.back();
}

void CopyShortfalls::withoutCompanion(std::string_view extension, std::string_view fileName) {
    List& list = listFor(extension);
    if (list.named.size() < kNamed) {
        list.named.emplace_back(fileName);
    }
    ++list.count;
    ++count_;
}

void CopyShortfalls::unreadable(std::string_view fileName, const platform::Failure& failure) {
    List& list = listFor({});
    if (list.named.size() < kNamed) {
        list.named.push_back(std::string(fileName) + " (" + failure.cause() + ")");
    }
    ++list.count;
    ++count_;
}

std::string CopyShortfalls::text() const {
    std::string text;
    for (const List& list : lists_) {
        text += kCrLf;
        text += kCrLf;
        if (list.key.empty()) {
            text += fontsText(list.count) + (list.count == 1 ? " was" : " were") +
                    " left incomplete because a file could not be read: ";
        } else {
            text += fontsText(list.count) + (list.count == 1 ? " was" : " were") +
                    " copied without " + (list.count == 1 ? "its " : "their ") + list.key +
                    " file: ";
        }
        for (std::size_t i = 0; i < list.named.size(); ++i) {
            text += i == 0 ? "" : ", ";
            text += list.named[i];
        }
        if (list.count > list.named.size()) {
            text += " and " + std::to_string(list.count - list.named.size()) + " more";
        }
        text += '.';
    }
    return text;
}

} // namespace fontlist
