#include "fontlist/FontRows.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fontcore/FullName.h"
#include "fontlist/QuickSort.h"
#include "fontlist/UnreadFont.h"
#include "fontlist/ValidFileName.h"
#include "platform/FileSystem.h"
#include "platform/OrderedWorkPool.h"
#include "platform/PathText.h"
#include "platform/SideBySide.h"
#include "text/Text.h"
#include "text/Utf8.h"

namespace fontlist {

namespace {

// The text without its last count characters (UTF-8 sequences, not bytes).
std::string_view withoutLastCharacters(std::string_view text, int count) {
    std::size_t end = text.size();
    for (int dropped = 0; dropped < count && end > 0; ++dropped) {
        --end;
        while (end > 0 && text::utf8::isContinuation(static_cast<unsigned char>(text[end]))) {
            --end;
        }
    }
    return text.substr(0, end);
}

// "?" and the listed file's own name without its extension: "arial.ttf" -> "?arial", "x.t1" ->
// "?x", "sub/dir/x.ttf" (a file of a tree) -> "?x". A name of no type of ours loses its last
// four characters ("a.ttfx" -> "?a.").
std::string questionMarkForm(std::string_view listed) {
    const std::string_view listedName = listed.substr(listed.rfind(platform::path::separator) + 1);
    const std::string_view extension = fontExtensionOf(listedName);
    // Built by appending rather than as "?" + std::string(...): GCC 12 at -O3 sees a false
    // overlap in the inlined operator+ and raises -Wrestrict.
    std::string form(1, '?');
    form += extension.empty() ? withoutLastCharacters(listedName, 4)
                              : listedName.substr(0, listedName.size() - extension.size());
    return form;
}

// The lookups run side by side in slices of this many files, so that what waits to be taken
// in order stays small however many files there are.
constexpr std::size_t kLookupSlice = 16384;

// Leaves the lookups when a stop was asked for: the pool's helpers stop and are joined.
struct StopAsked {};

} // namespace

// The question-mark form marks a file as unread where its full name gives nothing, where the
// lookup overflowed (a ".ttf" file that is no TrueType font, say), and for a name the window's
// patterns can let through (".ttfx", say), which is not looked up, rather than give it some
// other file's key.
FontRow lookUpRow(const platform::ListedFile& file, std::string_view name, SpacesOption option,
                  fontcore::NameDecoding decoding) {
    FontRow row;
    row.name = name;
    row.type = fontTypeOf(name);
    const std::optional<fontcore::FullName> fullName = nameAndLengthOf(file, row.length, decoding);
    if (!fullName || fullName->failedWith(platform::FailureNumber::Overflow)) {
        row.key = questionMarkForm(name);
        return row;
    }
    row.unread = fullName->failure && couldNotBeRead(*fullName->failure);
    // The name itself where the lookup succeeded, without a copy of it.
    const std::string failureText = fullName->failure ? fullName->text() : std::string();
    const std::string_view text = fullName->failure ? failureText : fullName->name;
    row.key = ValidFileName(text::withoutOuterSpaces(text), option);
    if (row.key.empty()) {
        row.key = questionMarkForm(name);
    }
    return row;
}

FontRows::FontRows(text::TextList names)
    : names_(std::move(names)), lengths_(names_.size(), FontRow::kNotOpened) {
    keys_.reserve(names_.size());
}

std::uint64_t FontRows::length(std::size_t row, const std::string& path) const {
    const std::uint32_t listed = order_.empty() ? static_cast<std::uint32_t>(row) : order_[row];
    if (const auto failed = failures_.find(listed); failed != failures_.end()) {
        throw failed->second;
    }
    return lengths_[listed] != FontRow::kNotOpened ? lengths_[listed]
                                                   : platform::fs::fileLength(path);
}

void FontRows::add(FontRow&& row) {
    const auto listed = static_cast<std::uint32_t>(keys_.size());
    keys_.push_back(row.key);
    if (row.length.failure) {
        failures_.emplace(listed, std::move(*row.length.failure));
    } else {
        lengths_[listed] = row.length.bytes;
    }
    unread_ += row.unread ? 1 : 0;
}

std::vector<GroupPlace> FontRows::sortByKey() {
    std::vector<GroupPlace> places;
    {
        // Each key is folded once; the sort moves indices, not texts.
        text::TextList folded;
        folded.reserve(keys_.size());
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            const std::string_view key = keys_[i];
            text::foldCaseInPlace(folded.append(key), key.size());
        }
        order_ = quickSortOrder(folded);
        places = findGroupPlaces(folded, order_);
    }
    platform::sideBySide([&] { keys_.reorder(order_); }, [&] { names_.reorder(order_); });
    return places;
}

namespace {

// Looks up the slice of the listed files from `from` side by side, taking the rows in listed
// order; throws StopAsked when a stop is asked for after a file that is not the last.
void lookUpSlice(Conversation& conversation, const platform::ListingDirectory& held,
                 const std::string& directory, FontRows& rows, std::size_t from,
                 SpacesOption option, fontcore::NameDecoding decoding) {
    const std::size_t count = rows.size();
    platform::inOrderParallel<FontRow>(
        std::min(kLookupSlice, count - from),
        [&](std::size_t j) {
            const std::string_view name = rows.name(from + j);
            thread_local std::string path; // reused by each thread's lookups
            path.assign(directory);
            path += name;
            const platform::ListedFile file{held, path, path.c_str() + directory.size()};
            return lookUpRow(file, name, option, decoding);
        },
        [&](std::size_t j, FontRow&& row) {
            rows.add(std::move(row));
            const std::size_t left = count - from - j - 1;
            conversation.showCountdown(left);
            if (left > 0 && conversation.stopAsked()) {
                throw StopAsked{};
            }
        });
}

} // namespace

FontRows lookUpRows(Conversation& conversation, const std::string& directory, text::TextList names,
                    SpacesOption option, fontcore::NameDecoding decoding) {
    FontRows rows(std::move(names));
    const std::size_t count = rows.size();
    // The fonts are opened relative to their directory, held open for the run.
    const platform::ListingDirectory held(directory);
    // The lookups only read their own files, so they run side by side; the countdown follows
    // them in the order of the list.
    try {
        for (std::size_t from = 0; from < count; from += kLookupSlice) {
            lookUpSlice(conversation, held, directory, rows, from, option, decoding);
        }
    } catch (const StopAsked&) {
        // rows holds the files looked up before the stop.
    }
    return rows;
}

} // namespace fontlist
