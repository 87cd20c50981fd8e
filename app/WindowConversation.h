#pragma once

#include "fontlist/Conversation.h"

#include <QElapsedTimer>

#include <chrono>
#include <functional>
#include <string>

class QWidget;

namespace app {

// How a batch run talks to the person at the window: its questions and messages in message
// boxes, its progress in the window's title. While a run holds the window, every event but the
// user's input goes through, and a close asked for meanwhile waits for the run's end.
class WindowConversation final : public fontlist::Conversation {
public:
    // The title is handed to the window system at most once per progressInterval (the latest
    // and the last title are always shown).
    WindowConversation(QWidget& window, fontlist::MessagePresenter& messages,
                       std::chrono::milliseconds progressInterval);

    // Runs a batch run; a close asked for meanwhile is carried out after it.
    void hold(const std::function<void()>& run);
    // Whether a run holds the window now; if so, a close is remembered for the run's end.
    bool deferClose();

    fontlist::Answer show(const fontlist::UserMessage& message) override;
    void showProgress(const std::string& text) override;

private:
    // Hands the latest progress title to the window, if one is waiting, and lets it be painted.
    void handOverProgress();

    QWidget& window_;
    fontlist::MessagePresenter& messages_;
    std::chrono::milliseconds progressInterval_;
    bool running_ = false;
    std::string progressTitle_;    // the latest progress title
    bool progressWaiting_ = false; // not yet handed to the window
    QElapsedTimer sinceProgress_;  // since the last title was handed over
    bool closeRequested_ = false;
};

} // namespace app
