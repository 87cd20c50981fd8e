#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// A list of texts held back to back in a few large blocks, each entry 8 bytes: a million file
// names take their bytes and 8 MB, not a heap string each. Entries are read as views, valid
// while the list (or a copy of it) lives. A copy shares the blocks and copies only the
// entries, so the same names can be ordered two ways at the cost of the entries alone.
//
// A text is at most kMaxTextLength bytes (a longer one throws std::length_error).
class TextList {
public:
    static constexpr std::size_t kMaxTextLength = (std::size_t{1} << 20) - 1;

    TextList() = default;

    std::size_t size() const noexcept { return entries_.size(); }
    bool empty() const noexcept { return entries_.empty(); }

    std::string_view operator[](std::size_t index) const noexcept {
        const std::uint64_t entry = entries_[index];
        return {blocks_[entry >> kBlockShift].get() + ((entry >> kLengthBits) & kOffsetMask),
                static_cast<std::size_t>(entry & kLengthMask)};
    }
    // The same, throwing std::out_of_range past the end.
    std::string_view at(std::size_t index) const;

    // Appends a copy of text and returns where the copy lies, for changes in place that keep
    // its length (folding its case, say).
    char* append(std::string_view text);
    void push_back(std::string_view text) { append(text); }

    void reserve(std::size_t entries) { entries_.reserve(entries); }
    void clear() noexcept;

    // The list in another order, sharing this list's blocks: entry i of the result is entry
    // order[i] of this list.
    TextList reordered(const std::vector<std::uint32_t>& order) const;
    // The same in place, moving only the entries. order must hold every index once; one that
    // does not throws std::invalid_argument and leaves the entries in some order.
    void reorder(const std::vector<std::uint32_t>& order);

    // Every text, as strings (for tests and small lists).
    std::vector<std::string> strings() const;

private:
    static constexpr unsigned kLengthBits = 20;
    static constexpr unsigned kOffsetBits = 20;
    static constexpr unsigned kBlockShift = kLengthBits + kOffsetBits;
    static constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;
    static constexpr std::uint64_t kOffsetMask = (std::uint64_t{1} << kOffsetBits) - 1;
    // Blocks grow from 4 KiB to 1 MiB, so that a short list costs little and a long one few
    // blocks; a block is never longer than an offset can reach.
    static constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
    static constexpr std::size_t kLargestBlock = std::size_t{1} << kOffsetBits;

    std::vector<std::shared_ptr<char[]>> blocks_;
    std::size_t lastSize_ = 0; // of the last block
    std::size_t lastUsed_ = 0; // bytes of the last block in use
    std::vector<std::uint64_t> entries_;
};

} // namespace text
