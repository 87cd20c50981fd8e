#include "fontlist/QuickSort.h"

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "runtime/Text.h"

namespace fontlist {

namespace {

// The two lists and the folded keys of the range, which travel with them: each key is folded
// once, and every comparison is then a plain byte compare (UTF-8 byte order is code point
// order, which is the order of runtime::text::compareNoCase).
class Sorter {
public:
    Sorter(std::vector<std::string>& keys, std::vector<std::string>& carried, std::size_t first,
           std::size_t last)
        : keys_(keys), carried_(carried), offset_(first) {
        folded_.reserve(last - first + 1);
        for (std::size_t i = first; i <= last; ++i) {
            folded_.push_back(runtime::text::foldCaseUtf8(keys_[i]));
        }
    }

    // Indices are signed: High steps one below the range when the last exchange is at its
    // first entry.
    void sort(std::int64_t first, std::int64_t last) {
        for (;;) {
            std::int64_t low = first;
            std::int64_t high = last;
            const std::string pivot(folded(middle(first, last)));
            for (;;) {
                while (folded(low) < pivot) {
                    ++low;
                }
                while (folded(high) > pivot) {
                    --high;
                }
                if (low > high) {
                    break;
                }
                exchange(low, high);
                ++low;
                --high;
                if (low > high) {
                    break;
                }
            }
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

private:
    // (first + last) / 2 with a half going to the even neighbour.
    static std::int64_t middle(std::int64_t first, std::int64_t last) {
        const std::int64_t sum = first + last;
        const std::int64_t half = sum / 2;
        if (sum % 2 == 0 || half % 2 == 0) {
            return half;
        }
        return half + 1;
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

    std::vector<std::string>& keys_;
    std::vector<std::string>& carried_;
    std::vector<std::string> folded_;
    std::size_t offset_;
};

} // namespace

void QuickSort(std::vector<std::string>& sortlist, std::vector<std::string>& sortlist2,
               std::size_t First, std::size_t Last) {
    if (First > Last) {
        return;
    }
    if (Last >= sortlist.size() || Last >= sortlist2.size()) {
        throw std::out_of_range("QuickSort: range beyond the end of a list");
    }
    Sorter sorter(sortlist, sortlist2, First, Last);
    sorter.sort(static_cast<std::int64_t>(First), static_cast<std::int64_t>(Last));
}

} // namespace fontlist
