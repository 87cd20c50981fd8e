#include "app/BatchWiring.h"

#include "app/DirectoryList.h"
#include "app/FileList.h"
#include "app/WindowConversation.h"
#include "fontlist/BatchHost.h"
#include "fontlist/CopyAndRename.h"
#include "fontlist/HtmlFontList.h"

#include <QPushButton>

namespace app {

// The file list as browsing left it, the conversation, and what the window does after a run.
class BatchWiring::Host final : public fontlist::BatchHost {
public:
    explicit Host(BatchWiring& wiring) : wiring_(wiring) {}

    std::string fileListDirectory() override { return wiring_.controls_.files.path(); }
    int fileListCount() override { return wiring_.controls_.files.entryCount(); }
    std::string fileListEntry(int index) override { return wiring_.controls_.files.entry(index); }
    void refreshFileList() override { wiring_.rereadFiles(); }
    void refreshDirectoryList() override { wiring_.rereadDirectories(); }
    fontlist::Answer show(const fontlist::UserMessage& message) override {
        return wiring_.conversation_.show(message);
    }
    void showProgress(const std::string& text) override {
        wiring_.conversation_.showProgress(text);
    }
    void disableBatchButtons() override { wiring_.disableBatchButtons(); }

private:
    BatchWiring& wiring_;
};

BatchWiring::BatchWiring(Controls controls, WindowConversation& conversation)
    : controls_(controls), conversation_(conversation) {}

void BatchWiring::writeFontList(fontlist::BatchState& state, fontlist::SpacesOption spaces,
                                fontcore::NameDecoding decoding) {
    conversation_.hold([&] {
        Host host(*this);
        fontlist::CreateHTMLFontList_Click(host, state, spaces, decoding);
    });
}

void BatchWiring::copyUnderFullNames(fontlist::BatchState& state, fontlist::SpacesOption spaces,
                                     fontcore::NameDecoding decoding) {
    conversation_.hold([&] {
        Host host(*this);
        fontlist::RenameFonts_Click(host, state, spaces, decoding);
    });
}

void BatchWiring::disableBatchButtons() {
    controls_.createList.setEnabled(false);
    controls_.copyFonts.setEnabled(false);
}

void BatchWiring::rereadFiles() {
    controls_.files.refresh();
}

void BatchWiring::rereadDirectories() {
    controls_.directories.refresh();
}

} // namespace app
