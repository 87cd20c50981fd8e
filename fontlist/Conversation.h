#pragma once

#include "fontlist/UserMessage.h"

#include <string>

namespace fontlist {

// How a batch run talks to a person: it asks (a question with its buttons) or tells (an OK box),
// and shows its progress. The window answers with its message boxes and title, the command-line
// tool with its console, the tests with a script. A run never formats anything for one of them:
// titles, texts, buttons and icons are data.
class Conversation {
public:
    virtual ~Conversation() = default;

    // Shows a modal message and returns the button pressed (Ok for an OK box).
    virtual fontlist::Answer show(const fontlist::UserMessage& message) = 0;

    // The progress display: shown at once, while the run goes on.
    virtual void showProgress(const std::string& text) = 0;
};

} // namespace fontlist
