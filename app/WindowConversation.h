#pragma once

#include "fontlist/Conversation.h"

#include <QElapsedTimer>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

class QWidget;

namespace app {

// How a batch run talks to the person at the window: its questions and messages in message
// boxes, its progress in the window's title. While a run holds the window, every event but the
// user's input goes through. Escape pressed in the window, or a close asked for meanwhile,
// requests a stop: at the run's next check the person is asked whether to stop after the
// current font. A close is carried out after the run, unless that question was answered No.
class WindowConversation final : public fontlist::Conversation {
public:
    // The title is handed to the window system at most once per progressInterval (the latest
    // and the last title are always shown); the events that wait, an Escape among them, are
    // taken then.
    WindowConversation(QWidget& window, fontlist::MessagePresenter& messages,
                       std::chrono::milliseconds progressInterval);

    // Runs a batch run; a close asked for meanwhile is carried out after it.
    void hold(const std::function<void()>& run);
    // Whether a run holds the window now; if so, a close is remembered for the run's end and
    // a stop is requested.
    bool deferClose();

    fontlist::Answer show(const fontlist::UserMessage& message) override;
    void showProgress(const std::string& text) override;
    // "Quillvane - 141,803 fonts left".
    void showCountdown(std::size_t filesLeft) override;
    // Asks "Stop after the current font?" once a stop was requested; No lets the run go on
    // and drops a close asked for meanwhile.
    bool stopAsked() override;

private:
    // Hands the latest progress title to the window, if one is waiting, and lets it be painted.
    void handOverProgress();
    void handOverProgressWhenDue();
    // Lets what waits be delivered, the user's input discarded; an Escape requests a stop.
    void processEvents();

    QWidget& window_;
    fontlist::MessagePresenter& messages_;
    std::chrono::milliseconds progressInterval_;
    bool running_ = false;
    std::string progressTitle_;     // the latest progress title
    bool progressWaiting_ = false;  // not yet handed to the window
    bool countdownWaiting_ = false; // the latest progress is the countdown at filesLeft_
    std::size_t filesLeft_ = 0;
    QElapsedTimer sinceProgress_; // since the last title was handed over
    bool closeRequested_ = false;
    bool stopRequested_ = false; // by Escape or a close, not yet asked about
};

} // namespace app
