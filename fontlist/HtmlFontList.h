#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/BatchHost.h"
#include "fontlist/BatchOutcome.h"
#include "fontlist/BatchState.h"
#include "fontlist/SpacesOption.h"

namespace fontlist {

// "Create HTML Font list": writes _fonts.html (every listed font under its key, linked to its
// file, in alphabetical order) and _report.txt (the groups of files whose keys are equal
// without regard to case, i.e. files that copy-and-rename would give the same name) into the
// file list's directory. The key of a file is ValidFileName of its trimmed full name (the
// error text of a failed lookup included), or "?" + the listed name without its extension
// when that is empty, when the lookup failed with Overflow, or when the file is neither
// ".ttf" nor ".pfb".
//
// Refuses an empty file list (and disables the batch buttons) and any directory in or below
// state.FontsDir (an empty FontsDir names no font directory). Fills state.CurrentDir,
// state.FontFiles (paths) and state.FontNames (keys). Counts down in the progress display.
// Every failure is reported to the user through the host and ends the run; nothing is thrown.
// Returns how the run ended: Finished, Refused or Failed (it asks no questions), and as the
// fonts left incomplete, how many files could not be read (out of memory, a file that may not
// be read or has gone): they are listed under their error text, and the closing message says
// how many there were.
//
// The full names are read with the given decoding. The page declares its encoding (UTF-8) on
// the line after "<HTML>"; in the report, the control characters of paths are escaped.
BatchOutcome
CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option,
                         fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace fontlist
