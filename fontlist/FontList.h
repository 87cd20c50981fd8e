#pragma once

#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/Conversation.h"
#include "platform/Failure.h"

namespace fontlist {

// Writes _fonts.html (every listed font under its key, linked to its file, in alphabetical
// order) and _report.txt (the groups of files whose keys are equal without regard to case,
// i.e. files that copy-and-rename would give the same name) into the listed folder. A file's
// key is the one its FontRow gives, its full name read with the request's decoding.
//
// Refuses an empty listing and any folder in or below the system font folder (an empty one
// names no font folder). Counts down in the progress display. A stop asked for (the
// conversation's stopAsked, after each lookup but the last) ends the run before anything is
// written, with "Stopped after N of M fonts." and RunEnd::Stopped; once the lookups are done the
// run is not stopped, and writes its files. Every failure is told through the
// conversation and ends the run; nothing is thrown. Returns how the run ended (Finished,
// Refused, Failed or Stopped: it asks no questions); as the fonts left incomplete, how many files
// could not be read (out of memory, a file that may not be read or has gone), which are listed
// under their error text and counted in the closing message; once the files are written, that it
// wrote into the folder, and the rows in the order of the page.
//
// The page declares its encoding (UTF-8) on the line after "<HTML>"; in the report, the
// control characters of paths are escaped.
//
// With the request's specimens set, _specimens.html is written too (every font in its own
// face, in the page's order), the three files replaced together or not at all, and the closing
// message names it in a paragraph of its own; the page and the report are the same as without
// it.
BatchResult writeFontList(Conversation& conversation, const BatchRequest& request);
// The same, taking the listing's names over instead of copying them: a run over a million
// files that has no more use for its listing holds their names once.
BatchResult writeFontList(Conversation& conversation, BatchRequest&& request);

// Tells a failure that ended the HTML list before it began (its listing could not be made) as
// the run tells its own. Never throws.
void reportFontListFailure(Conversation& conversation, const platform::Failure& failure) noexcept;

} // namespace fontlist
