#include "app/BatchWiring.h"

#include "app/DirectoryList.h"
#include "app/FileList.h"
#include "app/WindowConversation.h"
#include "drawing/FreeTypeFaceDrawer.h"
#include "fontlist/BatchResult.h"
#include "fontlist/CopyMessages.h"
#include "fontlist/CopyUnderFullNames.h"
#include "fontlist/FontList.h"
#include "platform/Failure.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace app {

BatchWiring::BatchWiring(Controls controls, WindowConversation& conversation)
    : controls_(controls), conversation_(conversation) {}

BatchWiring::~BatchWiring() = default;

// The file list read again, as the run's request.
fontlist::BatchRequest BatchWiring::request(const fontlist::FontFolders& folders,
                                            fontlist::SpacesOption spaces,
                                            fontcore::NameDecoding decoding) {
    controls_.files.refresh();
    fontlist::BatchRequest request{.listing = {controls_.files.path(), {}},
                                   .folders = folders,
                                   .spaces = spaces,
                                   .decoding = decoding};
    const int count = controls_.files.entryCount();
    request.listing.names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        request.listing.names.push_back(controls_.files.entry(i));
    }
    return request;
}

void BatchWiring::writeFontList(const fontlist::FontFolders& folders, fontlist::SpacesOption spaces,
                                fontcore::NameDecoding decoding, bool samples,
                                fontcore::NameLanguage language) {
    holdWithButtonsOff([&] {
        try {
            fontlist::BatchRequest asked = request(folders, spaces, decoding);
            if (samples) {
                if (!drawer_) {
                    drawer_ = std::make_unique<drawing::FreeTypeFaceDrawer>();
                }
                asked.specimens.emplace();
                asked.language = language;
                asked.specimens->drawer = drawer_.get();
            }
            fontlist::writeFontList(conversation_, asked);
            return asked.listing.names.empty();
        } catch (...) {
            // No memory for the listing: told as the run tells its own failures.
            fontlist::reportFontListFailure(conversation_, platform::currentFailure());
        }
        return false;
    });
}

void BatchWiring::copyUnderFullNames(const fontlist::FontFolders& folders,
                                     fontlist::SpacesOption spaces,
                                     fontcore::NameDecoding decoding) {
    holdWithButtonsOff([&] {
        try {
            const fontlist::BatchRequest asked = request(folders, spaces, decoding);
            const fontlist::BatchResult result = fontlist::copyUnderFullNames(conversation_, asked);
            if (result.wroteIntoFolder) {
                // A new "friendly" folder shows in the tree, the list as it is now.
                controls_.directories.refresh();
                controls_.files.refresh();
            }
            return asked.listing.names.empty();
        } catch (...) {
            fontlist::copymessages::reportFailure(conversation_, platform::currentFailure(), {});
        }
        return false;
    });
}

// The batch buttons are shown off while the run holds the window; afterwards they are as they
// were (the focus back on the one it was on), unless the listing was empty: then they stay off.
void BatchWiring::holdWithButtonsOff(const std::function<bool()>& run) {
    const bool createList = controls_.createList.isEnabled();
    const bool copyFonts = controls_.copyFonts.isEnabled();
    const QPointer<QWidget> focused = QApplication::focusWidget();
    controls_.createList.setEnabled(false);
    controls_.copyFonts.setEnabled(false);
    bool emptyListing = false;
    conversation_.hold([&] { emptyListing = run(); });
    if (emptyListing) {
        return;
    }
    controls_.createList.setEnabled(createList);
    controls_.copyFonts.setEnabled(copyFonts);
    if (focused != nullptr && focused->isEnabled() && focused->isVisible()) {
        focused->setFocus();
    }
}

} // namespace app
