#pragma once

#include "fontlist/ProgramName.h"
#include "fontlist/UserMessage.h"

#include <string>

namespace fontlist {

// How a batch run talks to a person: it asks (a question with its buttons) or tells (an OK box),
// and shows its progress. The window answers with its message boxes and title, the command-line
// tool with its console, the tests with a script. A run never formats anything for one of them:
// titles, texts, buttons and icons are data.
class Conversation : public MessagePresenter {
public:
    // The progress display: shown at once, while the run goes on.
    virtual void showProgress(const std::string& text) = 0;

    // The run is over (its closing message may follow): the progress display goes back to
    // what it shows between runs, the window's title being the program's name.
    virtual void showIdle() { showProgress(std::string(fontlist::kProgramName)); }
};

} // namespace fontlist
