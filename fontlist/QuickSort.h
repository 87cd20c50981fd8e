#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

} // namespace fontlist
