#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Reading a directory's entries, one source for each system.
namespace runtime::directory_entries {

enum class EntryKind { RegularFile, Directory };

// The entries of a directory of one kind (links followed) whose folded names keep() accepts,
// as pairs of folded name and name; hidden entries, "." and ".." left out. Empty when the
// directory cannot be read.
std::vector<std::pair<std::string, std::string>>
visibleEntries(const std::string& directory, EntryKind kind,
               const std::function<bool(const std::string&)>& keep);

} // namespace runtime::directory_entries
