#include "fontlist/QuickSort.h"

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/SideBySide.h"
#include "text/Text.h"

namespace fontlist {

namespace {

// The partition of the sort over positions first..last. Keys is what it sorts: keys.folded(i)
// is the folded key at position i (valid until the next exchange), keys.exchange(i, j) swaps
// two positions. Every comparison is a plain byte compare of folded keys (UTF-8 byte order is
// code point order, which is the order of text::compareNoCase). The sequence of
// exchanges depends on the keys alone, so sorting an order of indices gives the same order as
// sorting the lists themselves.
template <typename Keys>
class Partition {
public:
    explicit Partition(Keys& keys) : keys_(keys) {}

    // Indices are signed: High steps one below the range when the last exchange is at its
    // first entry.
    void sort(std::int64_t first, std::int64_t last) {
        for (;;) {
            std::int64_t low = first;
            std::int64_t high = last;
            partition(first, last, low, high);
            const bool sortLeft = first < high;
            const bool sortRight = low < last;
            if (sortLeft && sortRight) {
                if (high - first < last - low) {
                    sort(first, high);
                    first = low;
                } else {
                    sort(low, last);
                    last = high;
                }
            } else if (sortLeft) {
                last = high;
            } else if (sortRight) {
                first = low;
            } else {
                return;
            }
        }
    }

    // The same, the two parts the first partition leaves sorted side by side: each part's
    // exchanges touch only its own positions and depend only on its own keys, so the order
    // is the one sort() gives. Only for keys that stay where they are while positions move.
    void sortOnTwoThreads(std::int64_t first, std::int64_t last) {
        std::int64_t low = first;
        std::int64_t high = last;
        partition(first, last, low, high);
        platform::sideBySide(
            [&] {
                if (first < high) {
                    sort(first, high);
                }
            },
            [&] {
                if (low < last) {
                    sort(low, last);
                }
            });
    }

private:
    // One pass over first..last around the key in the middle: afterwards positions first..high
    // hold keys up to it and low..last keys from it on.
    void partition(std::int64_t first, std::int64_t last, std::int64_t& low, std::int64_t& high) {
        // A copy of the key's text, or a view where the texts never move.
        const typename Keys::Pivot pivot(keys_.folded(middle(first, last)));
        for (;;) {
            while (keys_.folded(low) < pivot) {
                ++low;
            }
            while (keys_.folded(high) > pivot) {
                --high;
            }
            if (low > high) {
                break;
            }
            keys_.exchange(low, high);
            ++low;
            --high;
            if (low > high) {
                break;
            }
        }
    }

    // (first + last) / 2 with a half going to the even neighbour.
    static std::int64_t middle(std::int64_t first, std::int64_t last) {
        const std::int64_t sum = first + last;
        const std::int64_t half = sum / 2;
        if (sum % 2 == 0 || half % 2 == 0) {
            return half;
        }
        return half + 1;
    }

    Keys& keys_;
};

// The two lists and the folded keys of the range, which travel with them: each key is folded
// once.
class ListKeys {
public:
    using Pivot = std::string; // exchanges move the folded texts themselves

    ListKeys(std::vector<std::string>& keys, std::vector<std::string>& carried, std::size_t first,
             std::size_t last)
        : keys_(keys), carried_(carried), offset_(first) {
        folded_.reserve(last - first + 1);
        for (std::size_t i = first; i <= last; ++i) {
            folded_.push_back(text::foldCaseUtf8(keys_[i]));
        }
    }

    std::string_view folded(std::int64_t index) const {
        return folded_[static_cast<std::size_t>(index) - offset_];
    }

    void exchange(std::int64_t a, std::int64_t b) {
        const auto i = static_cast<std::size_t>(a);
        const auto j = static_cast<std::size_t>(b);
        std::swap(keys_[i], keys_[j]);
        std::swap(carried_[i], carried_[j]);
        std::swap(folded_[i - offset_], folded_[j - offset_]);
    }

private:
    std::vector<std::string>& keys_;
    std::vector<std::string>& carried_;
    std::vector<std::string> folded_;
    std::size_t offset_;
};

// An order of indices into folded keys that stay where they are: only the indices move.
class OrderKeys {
public:
    using Pivot = std::string_view;

    OrderKeys(const text::TextList& folded, std::vector<std::uint32_t>& order)
        : folded_(folded), order_(order) {}

    std::string_view folded(std::int64_t index) const {
        return folded_[order_[static_cast<std::size_t>(index)]];
    }

    void exchange(std::int64_t a, std::int64_t b) {
        std::swap(order_[static_cast<std::size_t>(a)], order_[static_cast<std::size_t>(b)]);
    }

private:
    const text::TextList& folded_;
    std::vector<std::uint32_t>& order_;
};

// From this many keys on, the order is sorted on two threads: below it, starting a thread
// costs about what it saves.
constexpr std::size_t kTwoThreadsFrom = 32768;

} // namespace

void QuickSort(std::vector<std::string>& sortlist, std::vector<std::string>& sortlist2,
               std::size_t First, std::size_t Last) {
    if (First > Last) {
        return;
    }
    if (Last >= sortlist.size() || Last >= sortlist2.size()) {
        throw std::out_of_range("QuickSort: range beyond the end of a list");
    }
    ListKeys keys(sortlist, sortlist2, First, Last);
    Partition(keys).sort(static_cast<std::int64_t>(First), static_cast<std::int64_t>(Last));
}

std::vector<std::uint32_t> quickSortOrder(const text::TextList& folded) {
    if (folded.size() > UINT32_MAX) {
        throw std::length_error("quickSortOrder: too many keys");
    }
    std::vector<std::uint32_t> order(folded.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    if (!order.empty()) {
        OrderKeys keys(folded, order);
        const auto last = static_cast<std::int64_t>(order.size()) - 1;
        if (order.size() >= kTwoThreadsFrom) {
            Partition(keys).sortOnTwoThreads(0, last);
        } else {
            Partition(keys).sort(0, last);
        }
    }
    return order;
}

} // namespace fontlist
