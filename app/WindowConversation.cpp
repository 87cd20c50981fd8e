#include "app/WindowConversation.h"

#include "app/EventsWithoutInput.h"
#include "fontlist/UserMessage.h"

#include <QString>
#include <QWidget>

namespace app {

WindowConversation::WindowConversation(QWidget& window, fontlist::MessagePresenter& messages,
                                       std::chrono::milliseconds progressInterval)
    : window_(window), messages_(messages), progressInterval_(progressInterval) {}

void WindowConversation::hold(const std::function<void()>& run) {
    running_ = true;
    sinceProgress_.invalidate();
    run();
    handOverProgress();
    // A close request still held back by the window system is taken while the run holds.
    processEventsWithoutInput();
    running_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        window_.close();
    }
}

bool WindowConversation::deferClose() {
    // The run lets the window repaint between files; closing it under the run's feet would
    // tear the window down mid-run. The request is carried out when the run has ended, after
    // its closing message has been answered.
    if (running_) {
        closeRequested_ = true;
    }
    return running_;
}

fontlist::Answer WindowConversation::show(const fontlist::UserMessage& message) {
    // A message is seen under the title the run had reached; a close request that came
    // meanwhile is taken now, before the modal box blocks the window and Qt would drop it.
    handOverProgress();
    processEventsWithoutInput();
    return messages_.show(message);
}

void WindowConversation::showProgress(const std::string& text) {
    // A run over many fonts changes the title far more often than anyone can read it, and each
    // hand-over to the window system costs more than a lookup: the title is handed over at
    // most once per interval, always with the latest value.
    progressTitle_ = text;
    progressWaiting_ = true;
    if (!sinceProgress_.isValid() ||
        std::chrono::milliseconds(sinceProgress_.elapsed()) >= progressInterval_) {
        handOverProgress();
    }
}

void WindowConversation::handOverProgress() {
    if (!progressWaiting_) {
        return;
    }
    progressWaiting_ = false;
    window_.setWindowTitle(QString::fromStdString(progressTitle_));
    // Let the new title be painted, but take no input: the run goes on as soon as the window
    // has been brought up to date.
    processEventsWithoutInput();
    sinceProgress_.start();
}

} // namespace app
