#include "fontlist/DuplicatesOutput.h"

namespace fontlist {

// Stand-ins until the formats land.
void appendDuplicatesHeader(std::string&, const DuplicatesOptions&) {}

void appendDuplicateGroup(std::string&, const DuplicatesOptions&, std::size_t,
                          const DuplicateGroup&, std::span<const ScannedFile>) {}

} // namespace fontlist
