#pragma once

#include "fontcore/NameDecoding.h"
#include "fontlist/BatchRequest.h"
#include "fontlist/SamplesOptions.h"
#include "fontlist/SpacesOption.h"

#include <functional>
#include <memory>

class QPushButton;

namespace app {

class DirectoryList;
class FileList;
class WindowConversation;

// The window's side of its two batch runs: what a run is given from the window's controls (the
// file list read again), and what the window does when the run has ended (its batch buttons off
// after an empty listing, its lists read again after a copy run that wrote into the folder).
// Each run is held by the conversation: the window takes no input until it ends, and its batch
// buttons are shown off meanwhile.
class BatchWiring {
public:
    struct Controls {
        FileList& files;
        DirectoryList& directories;
        QPushButton& createList; // "Create HTML Font list"
        QPushButton& copyFonts;  // "Copy/Rename Fonts"
    };

    BatchWiring(Controls controls, WindowConversation& conversation);
    ~BatchWiring();

    BatchWiring(const BatchWiring&) = delete;
    BatchWiring& operator=(const BatchWiring&) = delete;

    // _fonts.html and _report.txt in the listed folder, and _specimens.html with samples (at
    // the default sizes, each font's own sample text, drawn by the window's drawer, its names
    // read for people in the user's language).
    void writeFontList(const fontlist::FontFolders& folders, fontlist::SpacesOption spaces,
                       fontcore::NameDecoding decoding, bool samples,
                       fontcore::NameLanguage language);
    // The listed fonts copied under their full names; the closing message itself says how many
    // fonts it left incomplete.
    void copyUnderFullNames(const fontlist::FontFolders& folders, fontlist::SpacesOption spaces,
                            fontcore::NameDecoding decoding);

private:
    fontlist::BatchRequest request(const fontlist::FontFolders& folders,
                                   fontlist::SpacesOption spaces, fontcore::NameDecoding decoding);
    // Runs run (which says whether the listing was empty) held by the conversation.
    void holdWithButtonsOff(const std::function<bool()>& run);

    Controls controls_;
    WindowConversation& conversation_;
    // Made the first time a run asks for samples.
    std::unique_ptr<fontlist::FaceDrawer> drawer_;
};

} // namespace app
