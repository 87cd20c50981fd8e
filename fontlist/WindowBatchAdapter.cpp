#include "fontlist/WindowBatchAdapter.h"

#include "fontlist/BatchRequest.h"
#include "fontlist/BatchResult.h"
#include "fontlist/Conversation.h"
#include "fontlist/CopyMessages.h"
#include "fontlist/CopyUnderFullNames.h"
#include "fontlist/FontList.h"
#include "fontlist/SystemDirectories.h"
#include "platform/Failure.h"
#include "platform/PathText.h"

#include <utility>

namespace fontlist {

namespace {

// The window's host as the runs' conversation.
class HostConversation final : public Conversation {
public:
    explicit HostConversation(BatchHost& host) : host_(host) {}

    fontlist::Answer show(const fontlist::UserMessage& message) override {
        return host_.show(message);
    }
    void showProgress(const std::string& text) override { host_.showProgress(text); }

private:
    BatchHost& host_;
};

// The file list read again, as a request.
BatchRequest requestFrom(BatchHost& host, const BatchState& state, SpacesOption option,
                         fontcore::NameDecoding decoding) {
    host.refreshFileList();
    BatchRequest request;
    request.listing.directory = host.fileListDirectory();
    request.listing.names = host.fileListNames();
    request.folders = FontFolders{state.WindowsDir, state.FontsDir};
    request.spaces = option;
    request.decoding = decoding;
    return request;
}

// The run over the file list read again; the batch buttons are disabled after an empty one.
template <typename Run, typename Report>
BatchResult runOverFileList(BatchHost& host, const BatchState& state, SpacesOption option,
                            fontcore::NameDecoding decoding, Run&& run, Report&& report) {
    HostConversation conversation(host);
    BatchResult result;
    try {
        const BatchRequest request = requestFrom(host, state, option, decoding);
        result = run(conversation, request);
        if (request.listing.names.empty()) {
            host.disableBatchButtons();
        }
    } catch (...) {
        report(conversation, platform::currentFailure());
        result.end = RunEnd::Failed;
    }
    return result;
}

} // namespace

void recordSystemDirectories(BatchState& state, std::string_view systemFontRoot) {
    FontFolders folders = fontFoldersUnder(systemFontRoot);
    state.WindowsDir = std::move(folders.root);
    state.FontsDir = std::move(folders.fonts);
}

BatchOutcome CreateHTMLFontList_Click(BatchHost& host, BatchState& state, SpacesOption option,
                                      fontcore::NameDecoding decoding) {
    BatchResult result =
        runOverFileList(host, state, option, decoding, writeFontList,
                        [](Conversation& conversation, const platform::Failure& failure) {
                            reportFontListFailure(conversation, failure);
                        });
    if (result.wroteIntoFolder) {
        state.CurrentDir = platform::path::withTrailingSeparator(host.fileListDirectory());
        result.rows.moveColumnsInto(state.FontFiles, state.FontNames);
        state.FontFiles.push_back({});
        state.FontNames.push_back({});
    }
    return result;
}

BatchOutcome RenameFonts_Click(BatchHost& host, BatchState& state, SpacesOption option,
                               fontcore::NameDecoding decoding) {
    const BatchResult result =
        runOverFileList(host, state, option, decoding, copyUnderFullNames,
                        [](Conversation& conversation, const platform::Failure& failure) {
                            copymessages::reportFailure(conversation, failure, {});
                        });
    if (result.wroteIntoFolder) {
        try {
            host.refreshDirectoryList();
            host.refreshFileList();
        } catch (...) {
            HostConversation conversation(host);
            copymessages::reportFailure(conversation, platform::currentFailure(), {});
            return BatchOutcome{RunEnd::Failed, result.fontsIncomplete};
        }
    }
    return result;
}

} // namespace fontlist
