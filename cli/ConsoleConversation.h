#pragma once

#include "cli/Console.h"
#include "fontlist/Conversation.h"
#include "fontlist/UserMessage.h"

#include <cstddef>
#include <string>

namespace cli {

// The batch runs' conversation on a console. Messages go to the error stream. A question is
// answered Yes with assumeYes; otherwise it is asked on the terminal, or answered No when the
// input is not a terminal. The progress display is one line on the error stream, redrawn in
// place, drawn only when that stream is a terminal, and taken off when the run is idle again.
class ConsoleConversation final : public fontlist::Conversation {
public:
    ConsoleConversation(Console& console, bool assumeYes);
    ~ConsoleConversation() override;

    ConsoleConversation(const ConsoleConversation&) = delete;
    ConsoleConversation& operator=(const ConsoleConversation&) = delete;

    fontlist::Answer show(const fontlist::UserMessage& message) override;
    void showProgress(const std::string& text) override;
    void showIdle() override { clearProgress(); }
    // A Ctrl+C came while a StopOnInterrupt lives.
    bool stopAsked() override;

    // Takes the progress line off the terminal, if one is drawn.
    void clearProgress();

private:
    fontlist::Answer askOnTerminal();

    Console& console_;
    bool assumeYes_;
    std::size_t progressWidth_ = 0; // the width of the progress line on the terminal, or 0
};

} // namespace cli
