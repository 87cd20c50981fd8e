#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/TextFileWriter.h"

namespace fontlist::html_list {

// A file written beside its target, waiting to be put in place: what a failure to put it there
// is explained with, and its path, named where its earlier version could not be put back.
struct PendingFile {
    platform::TextFileWriter& writer;
    std::string_view explanation;
    const std::string& path;
};

// All or none: each file is checked before any is replaced, and those replaced are put back,
// last first, when a later one cannot follow them. A signal that would end the process among
// the renames waits until the files are whole again, all new or all old. Raises the failure as
// a RunFailure.
void putAllInPlace(std::span<const PendingFile> files);

} // namespace fontlist::html_list
