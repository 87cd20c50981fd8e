#include "app/WindowConversation.h"

#include "app/EventsWithoutInput.h"
#include "fontlist/ProgramName.h"
#include "fontlist/UserMessage.h"
#include "text/Text.h"

#include <QString>
#include <QWidget>

namespace app {

WindowConversation::WindowConversation(QWidget& window, fontlist::MessagePresenter& messages,
                                       std::chrono::milliseconds progressInterval)
    : window_(window), messages_(messages), progressInterval_(progressInterval) {}

void WindowConversation::hold(const std::function<void()>& run) {
    running_ = true;
    stopRequested_ = false;
    sinceProgress_.invalidate();
    run();
    handOverProgress();
    // A close request still held back by the window system is taken while the run holds.
    processEvents();
    running_ = false;
    // A stop asked for after the run's last check has nothing left to stop.
    stopRequested_ = false;
    if (closeRequested_) {
        closeRequested_ = false;
        window_.close();
    }
}

bool WindowConversation::deferClose() {
    // The run lets the window repaint between files; closing it under the run's feet would
    // tear the window down mid-run. The run is asked to stop, and the request is carried out
    // when it has ended, after its closing message has been answered.
    if (running_) {
        closeRequested_ = true;
        stopRequested_ = true;
    }
    return running_;
}

fontlist::Answer WindowConversation::show(const fontlist::UserMessage& message) {
    // A message is seen under the title the run had reached; a close request that came
    // meanwhile is taken now, before the modal box blocks the window and Qt would drop it.
    handOverProgress();
    processEvents();
    return messages_.show(message);
}

void WindowConversation::showProgress(const std::string& text) {
    progressTitle_ = text;
    countdownWaiting_ = false;
    progressWaiting_ = true;
    handOverProgressWhenDue();
}

void WindowConversation::showCountdown(std::size_t filesLeft) {
    // Only the number is kept: the title is made when it is handed over.
    filesLeft_ = filesLeft;
    countdownWaiting_ = true;
    progressWaiting_ = true;
    handOverProgressWhenDue();
}

void WindowConversation::handOverProgressWhenDue() {
    // A run over many fonts changes the title far more often than anyone can read it, and each
    // hand-over to the window system costs more than a lookup: the title is handed over at
    // most once per interval, always with the latest value.
    if (!sinceProgress_.isValid() ||
        std::chrono::milliseconds(sinceProgress_.elapsed()) >= progressInterval_) {
        handOverProgress();
    }
}

bool WindowConversation::stopAsked() {
    if (!stopRequested_) {
        return false;
    }
    const bool stop =
        show({std::string(fontlist::kProgramName), "Stop after the current font?",
              fontlist::Buttons::YesNo, fontlist::MessageIcon::None}) == fontlist::Answer::Yes;
    // Escapes pressed again while the question came up are answered by it.
    stopRequested_ = false;
    if (!stop) {
        closeRequested_ = false;
    }
    return stop;
}

void WindowConversation::handOverProgress() {
    if (!progressWaiting_) {
        return;
    }
    progressWaiting_ = false;
    if (countdownWaiting_) {
        countdownWaiting_ = false;
        progressTitle_.assign(fontlist::kProgramName);
        progressTitle_ += " - ";
        progressTitle_ += text::countedGrouped(filesLeft_, "font left", "fonts left");
    }
    window_.setWindowTitle(QString::fromStdString(progressTitle_));
    // Let the new title be painted, but take no input: the run goes on as soon as the window
    // has been brought up to date.
    processEvents();
    sinceProgress_.start();
}

void WindowConversation::processEvents() {
    if (processEventsWithoutInput(running_ ? &window_ : nullptr)) {
        stopRequested_ = true;
    }
}

} // namespace app
