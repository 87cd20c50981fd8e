#include "fontlist/FilesInPlace.h"

#include "fontlist/HtmlListFiles.h"
#include "platform/TemporaryFileCleanup.h"
#include "text/Text.h"

namespace fontlist::html_list {

namespace {

// Puts back the earlier versions of the first `count` files, last first; says in the failure's
// explanation which could not be put back.
void undoFirst(std::span<const PendingFile> files, std::size_t count, RunFailure& failure) {
    for (std::size_t i = count; i-- > 0;) {
        try {
            files[i].writer.undo();
        } catch (const platform::Failure& undoFailure) {
            failure.explanation += std::string(text::kCrLf) + std::string(text::kCrLf) +
                                   files[i].path +
                                   " was written, and its earlier version could not be put "
                                   "back: " +
                                   undoFailure.cause();
        }
    }
}

} // namespace

void putAllInPlace(std::span<const PendingFile> files) {
    for (const PendingFile& file : files) {
        explained(file.explanation, [&] { file.writer.prepare(); });
    }
    const platform::EndingSignalsHeld held;
    std::size_t committed = 0;
    try {
        for (; committed + 1 < files.size(); ++committed) {
            explained(files[committed].explanation,
                      [&] { files[committed].writer.commitUndoably(); });
        }
        if (!files.empty()) {
            explained(files.back().explanation, [&] { files.back().writer.commit(); });
        }
    } catch (RunFailure& failure) {
        undoFirst(files, committed, failure);
        throw;
    }
}

} // namespace fontlist::html_list
