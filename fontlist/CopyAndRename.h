#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/BatchHost.h"
#include "fontlist/BatchOutcome.h"
#include "fontlist/BatchState.h"
#include "fontlist/SpacesOption.h"

#include <cstddef>

namespace fontlist {

// The click event of "Copy/Rename Fonts": reads the file list again; when it is empty, says
// so and disables both batch buttons (the run is refused); otherwise runs RenameFont and
// returns what it returns. Never throws.
BatchOutcome RenameFonts_Click(BatchHost& host, BatchState& state, SpacesOption option,
                               fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

// Copies every listed font file into the "friendly" sub-directory of the listed directory (or,
// after a warning answered Yes, into "ft1fonts" under the Windows directory when the listed
// directory lies in the system font directory), each under the name made from its full name
// by ValidFileName and the lower-case extension (the full names read with the given decoding); a
// .pfb file takes its ".pfm", ".afm", ".inf" and ".mmm" companions along. The title counts the
// files down; the lists are read again and "Finished." is shown at the end.
//
// A failure 75 asks whether to go on (Yes resumes with the step after the failed one); any
// other failure is shown and ends the run, with nothing undone. A missing ".afm", ".inf" or
// ".mmm" is no failure; any other failure to copy one is told, and the run goes on. No copy
// lands on a listed file. A Type 1 font's companions are found as the file list finds names:
// FOO.PFM goes with FOO.PFB where there is no FOO.pfm. Never throws.
//
// Returns how the run ended (finished after "Finished.", declined by a No or Cancel, failed)
// and the number of fonts it left incomplete, which "Finished." also tells: a run can finish
// without having copied every font (a read-only file in the way, say).
BatchOutcome RenameFont(BatchHost& host, BatchState& state, SpacesOption option,
                        fontcore::NameDecoding decoding = fontcore::NameDecoding::ByteWise);

} // namespace fontlist
