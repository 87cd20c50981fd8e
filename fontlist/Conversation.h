#pragma once

#include "fontlist/ProgramName.h"
#include "fontlist/UserMessage.h"
#include "text/Text.h"

#include <cstddef>
#include <cstdint>
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

    // The countdown after each listed file: how many are left after it. Shown as the bare
    // number unless a front end tells what it counts.
    virtual void showCountdown(std::size_t filesLeft) {
        showProgress(text::numberText(static_cast<std::int64_t>(filesLeft)));
    }

    // Whether the person asked the run to stop after the file in hand. A run asks once after
    // each listed file that has others after it, so an answer must be cheap: a flag, no call
    // to the system (a front end may ask its own question here once a stop was requested).
    virtual bool stopAsked() { return false; }

    // The run is over (its closing message may follow): the progress display goes back to
    // what it shows between runs, the window's title being the program's name.
    virtual void showIdle() { showProgress(std::string(fontlist::kProgramName)); }
};

} // namespace fontlist
