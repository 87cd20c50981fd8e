#include "text/TextList.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace text {

std::string_view TextList::at(std::size_t index) const {
    if (index >= entries_.size()) {
        throw std::out_of_range("TextList: index past the end");
    }
    return (*this)[index];
}

char* TextList::append(std::string_view text) {
    if (text.size() > kMaxTextLength) {
        throw std::length_error("TextList: text too long");
    }
    // The last block takes the text while it has room and no copy of the list shares it: a
    // copy that appends starts a block of its own, so no two lists write into one block.
    if (blocks_.empty() || lastSize_ - lastUsed_ < text.size() || blocks_.back().use_count() > 1) {
        const std::size_t size =
            std::max({blocks_.empty() ? kFirstBlock : std::min(lastSize_ * 2, kLargestBlock),
                      text.size(), std::size_t{1}});
        if (blocks_.size() >= (std::size_t{1} << (64 - kBlockShift))) {
            throw std::length_error("TextList: too many texts");
        }
        blocks_.emplace_back(std::make_unique_for_overwrite<char[]>(size));
        lastSize_ = size;
        lastUsed_ = 0;
    }
    // An empty text may stand at the start of any block (a full block's end is past what an
    // offset can hold).
    const std::size_t offset = text.empty() ? 0 : lastUsed_;
    char* const into = blocks_.back().get() + offset;
    if (!text.empty()) {
        std::memcpy(into, text.data(), text.size());
    }
    entries_.push_back((static_cast<std::uint64_t>(blocks_.size() - 1) << kBlockShift) |
                       (static_cast<std::uint64_t>(offset) << kLengthBits) |
                       static_cast<std::uint64_t>(text.size()));
    lastUsed_ += text.size();
    return into;
}

void TextList::clear() noexcept {
    blocks_.clear();
    entries_.clear();
    lastSize_ = 0;
    lastUsed_ = 0;
}

TextList TextList::reordered(const std::vector<std::uint32_t>& order) const {
    TextList result;
    result.blocks_ = blocks_;
    result.lastSize_ = lastSize_;
    result.lastUsed_ = lastUsed_;
    result.entries_.reserve(order.size());
    for (const std::uint32_t index : order) {
        result.entries_.push_back(entries_.at(index));
    }
    return result;
}

void TextList::reorder(const std::vector<std::uint32_t>& order) {
    if (order.size() != entries_.size()) {
        throw std::invalid_argument("TextList: an order of another length");
    }
    // Cycle by cycle: each entry moves once, and one bit an entry marks where it is done.
    std::vector<bool> placed(entries_.size());
    for (std::size_t start = 0; start < entries_.size(); ++start) {
        if (placed[start]) {
            continue;
        }
        const std::uint64_t first = entries_[start];
        std::size_t at = start;
        for (;;) {
            placed[at] = true;
            const std::size_t from = order[at];
            if (from == start) {
                entries_[at] = first;
                break;
            }
            if (from >= entries_.size() || placed[from]) {
                throw std::invalid_argument("TextList: an order that is no permutation");
            }
            entries_[at] = entries_[from];
            at = from;
        }
    }
}

std::vector<std::string> TextList::strings() const {
    std::vector<std::string> result;
    result.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        result.emplace_back((*this)[i]);
    }
    return result;
}

} // namespace text
