#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fontcore/NameDecoding.h"
#include "fontcore/OpenFontFile.h"
#include "fontlist/Conversation.h"
#include "fontlist/DuplicateGroups.h"
#include "fontlist/FontTypes.h"
#include "fontlist/SpacesOption.h"
#include "platform/Failure.h"
#include "platform/FontFileReader.h"
#include "text/TextList.h"

namespace fontlist {

// What the lookup learns of one listed file. A field the runs come to need is added here and
// taken into FontRows::add.
struct FontRow {
    static constexpr std::uint64_t kNotOpened = UINT64_MAX;

    std::string_view name;          // as listed, without its directory
    const FontType* type = nullptr; // none for a file of no type of ours, which is not opened
    // Its trimmed full name made fit for a file name (a failed lookup's error text included),
    // or "?" and the listed name without its extension where that gives nothing, where the
    // lookup overflowed, or for a file of no type of ours.
    std::string key;
    // From the lookup's open of the file, or that open's failure; kNotOpened when not opened.
    fontcore::FileLength length{.bytes = kNotOpened};
    bool unread = false; // the file could not be read: its key is the failure's text
};

// Looks up one listed file of a directory held open.
FontRow lookUpRow(const platform::ListedFile& file, std::string_view name, SpacesOption option,
                  fontcore::NameDecoding decoding);

// The rows of every listed file, held compactly (a million fonts keep one copy of the names
// and one of the keys): in listed order until sortByKey, then in the order of their keys.
class FontRows {
public:
    FontRows() = default;
    explicit FontRows(text::TextList names);

    std::size_t size() const noexcept { return names_.size(); }
    std::string_view name(std::size_t row) const noexcept { return names_[row]; }
    std::string_view key(std::size_t row) const noexcept { return keys_[row]; }
    const text::TextList& names() const noexcept { return names_; }
    const text::TextList& keys() const noexcept { return keys_; }
    // How many listed files have been looked up: all of them unless the lookups were stopped.
    std::size_t lookedUp() const noexcept { return keys_.size(); }
    // How many files could not be read.
    std::size_t unreadCount() const noexcept { return unread_; }

    // The length of a row's file at path: as its lookup learnt it, read now for a file that
    // was not opened, or the failure of its open raised.
    std::uint64_t length(std::size_t row, const std::string& path) const;

    // Takes the lookup of the next listed file (rows are added in listed order).
    void add(FontRow&& row);

    // Sorts the rows by key without regard to case; returns each sorted row's place in its
    // group of equal keys.
    std::vector<GroupPlace> sortByKey();

private:
    text::TextList names_;
    text::TextList keys_;
    // By listed place: the lengths the lookups learnt, and the failures of their opens.
    std::vector<std::uint64_t> lengths_;
    std::unordered_map<std::uint32_t, platform::Failure> failures_;
    std::vector<std::uint32_t> order_; // once sorted, each row's listed place
    std::size_t unread_ = 0;
};

// Looks up every listed file of the directory (given with its trailing separator) side by
// side, counting down in the progress display in the order of the list. After each file but
// the last it asks the conversation whether to stop; if so, the rows hold the files looked up
// so far (lookedUp() is less than size()).
FontRows lookUpRows(Conversation& conversation, const std::string& directory, text::TextList names,
                    SpacesOption option, fontcore::NameDecoding decoding);

} // namespace fontlist
