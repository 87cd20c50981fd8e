#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "text/TextList.h"

namespace fontlist {

// Sorts sortlist[First..Last] (both inclusive) into ascending order without regard to case and
// makes every exchange at the same two positions of sortlist2, so that the pairs stay
// together. Not stable: equal keys end up in the order the classic partition leaves them
// (pivot at the middle, rounded to even; every stop exchanged), which the HTML list shows, so
// the partition must stay as it is. The stack stays shallow on any input.
//
// Nothing is done when First > Last; a range beyond either list throws std::out_of_range
// before anything is moved.
void QuickSort(std::vector<std::string>& sortlist, std::vector<std::string>& sortlist2,
               std::size_t First, std::size_t Last);

// The order QuickSort gives keys whose folded forms (text::foldCaseUtf8) are folded,
// sorted as the whole range: entry i of the result is the index of the key QuickSort puts at
// position i. The keys stay where they are; only four bytes a key move.
std::vector<std::uint32_t> quickSortOrder(const text::TextList& folded);

} // namespace fontlist
