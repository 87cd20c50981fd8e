#pragma once

#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/Conversation.h"

namespace fontlist {

// Copies every listed font file into the "friendly" sub-directory of the listed folder (or,
// after a warning answered Yes, into "ft1fonts" under the system font root when the listed
// folder lies in the system font folder), each under the name made from its full name by
// ValidFileName and the lower-case extension (the full names read with the request's
// decoding); a .pfb file takes its ".pfm", ".afm", ".inf" and ".mmm" companions along. An empty
// listing is refused with a message. The progress display counts the files down; "Finished."
// is shown at the end.
//
// A failure 75 asks whether to go on (Yes resumes with the step after the failed one); any
// other failure is shown and ends the run, with nothing undone. A missing ".afm", ".inf" or
// ".mmm" is no failure; any other failure to copy one is told, and the run goes on. No copy
// lands on a listed file. After each listed file but the last the run asks the conversation
// whether to stop: then it ends after that file (its companions copied), with the closing steps
// done and "Stopped after N of M fonts." in place of "Finished.". A Type 1 font's companions are
// found as the listing finds names: FOO.PFM goes with FOO.PFB where there is no FOO.pfm. Never
// throws.
//
// Returns how the run ended (finished after "Finished.", refused, declined by a No or Cancel,
// failed, stopped on request), the number of fonts it left incomplete, which "Finished." also tells
// (a run can finish without having copied every font: a read-only file in the way, say), and
// whether its copies are in place in the folder, so that a front end that shows it reads its lists
// again.
BatchResult copyUnderFullNames(Conversation& conversation, const BatchRequest& request);

} // namespace fontlist
