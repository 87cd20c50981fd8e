#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fontlist {

// Sorts sortlist[First..Last] (both inclusive) into ascending order without regard to case and
// makes every exchange at the same two positions of sortlist2, so that the pairs stay
// together. Entries outside the range are never read or moved. Not stable: keys that compare
// equal end up in the order the exchanges leave them.
//
// The classic partition: the pivot is a copy of the key at the middle of the range, the half
// rounded to even ((0,1) -> 0, (0,3) -> 2, (2,5) -> 4); Low and High move towards each other
// and every pair they stop at is exchanged, also when they meet. The part left of the meeting
// point and the part right of it are then sorted the same way. The smaller part is sorted by a
// recursive call and the larger one by the same call going round again, so the stack stays
// shallow on any input; as the two parts are disjoint, the result is that of sorting the left
// part first.
//
// Nothing is done when First > Last. Both lists must hold entries at every index of the range;
// otherwise std::out_of_range is thrown before anything is moved.
void QuickSort(std::vector<std::string>& sortlist, std::vector<std::string>& sortlist2,
               std::size_t First, std::size_t Last);

} // namespace fontlist
