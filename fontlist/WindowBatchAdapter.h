#pragma once

// The window's way into the batch runs while it still hands them itself as a BatchHost and
// keeps a BatchState: to be removed when the window calls the runs directly. Nothing but the
// window uses it.

#include "fontcore/NameDecoding.h"
#include "fontlist/BatchHost.h"
#include "fontlist/BatchOutcome.h"
#include "fontlist/BatchState.h"
#include "fontlist/SpacesOption.h"

#include <string_view>

namespace fontlist {

// The system folders under the system font root, kept in the window's state.
void recordSystemDirectories(BatchState& state, std::string_view systemFontRoot);

// "Create HTML Font list": reads the file list again, runs writeFontList over it, disables the
// batch buttons when it was empty, and keeps the listed names and keys in the state in the order
// of the page (with an empty entry after the last). Never throws.
BatchOutcome
CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option,
                         fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// "Copy/Rename Fonts": reads the file list again, runs copyUnderFullNames over it, disables
// the batch buttons when it was empty, and reads the directory tree and the file list again
// when the copies are in place. Never throws.
BatchOutcome RenameFonts_Click(BatchHost& host, BatchState& state, SpacesOption option,
                               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace fontlist
