#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/TextList.h"

// Reading a directory's entries, one source for each system.
namespace platform::directory_entries {

enum class EntryKind { RegularFile, Directory };

// Appends to names the entries of a directory of one kind (links followed) whose folded names
// keep() accepts, and to folded their folded names at the same indices; hidden entries, "."
// and ".." left out. Nothing when the directory cannot be read. An entry the directory says
// is a regular file (or a directory) is taken at its word; only a link, or an entry of a type
// the file system does not tell, costs a call of its own.
void visibleEntries(const std::string& directory, EntryKind kind,
                    const std::function<bool(std::string_view)>& keep, text::TextList& names,
                    text::TextList& folded);

} // namespace platform::directory_entries
