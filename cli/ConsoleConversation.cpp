#include "cli/ConsoleConversation.h"

#include "cli/ConsoleText.h"
#include "cli/StopOnInterrupt.h"
#include "cli/TerminalText.h"
#include "text/Text.h"

#include <istream>
#include <ostream>
#include <utility>

namespace cli {

namespace {

std::string folded(std::string answer) {
    return text::foldCaseUtf8(text::trimSpaces(answer));
}

} // namespace

ConsoleConversation::ConsoleConversation(Console& console, bool assumeYes)
    : console_(console), assumeYes_(assumeYes) {}

ConsoleConversation::~ConsoleConversation() {
    try {
        clearProgress();
    } catch (...) {
        // A stream that fails while the tool ends has nothing left to show.
    }
}

fontlist::Answer ConsoleConversation::show(const fontlist::UserMessage& message) {
    clearProgress();
    // A message can hold file names and paths, shown escaped on a terminal.
    const std::string text = messageText(message);
    console_.err << (console_.errorIsTerminal ? terminalText(text, LineBreaks::Kept) : text);
    if (message.buttons == fontlist::Buttons::Ok) {
        console_.err.flush();
        return fontlist::Answer::Ok;
    }
    if (assumeYes_) {
        console_.err << "  -> yes (--yes)\n";
        console_.err.flush();
        return fontlist::Answer::Yes;
    }
    if (!console_.inputIsTerminal) {
        console_.err << "  -> no (standard input is not a terminal; --yes answers yes)\n";
        console_.err.flush();
        return fontlist::Answer::No;
    }
    return askOnTerminal();
}

fontlist::Answer ConsoleConversation::askOnTerminal() {
    for (;;) {
        console_.err << "Proceed? [y]es, [n]o or [c]ancel: ";
        console_.err.flush();
        std::string line;
        if (!std::getline(console_.in, line)) {
            console_.err << "\n  -> no (end of input)\n";
            console_.err.flush();
            return fontlist::Answer::No;
        }
        const std::string answer = folded(line);
        if (answer == "y" || answer == "yes") {
            return fontlist::Answer::Yes;
        }
        if (answer == "n" || answer == "no") {
            return fontlist::Answer::No;
        }
        if (answer == "c" || answer == "cancel") {
            return fontlist::Answer::Cancel;
        }
    }
}

void ConsoleConversation::showProgress(const std::string& text) {
    if (!console_.errorIsTerminal) {
        return;
    }
    // Appended rather than "\r" + progressLine(text): GCC 12 at -O3 sees a false overlap in
    // the inlined operator+ and raises -Wrestrict.
    std::string line(1, '\r');
    line += progressLine(text);
    const std::size_t width = line.size() - 1;
    if (width < progressWidth_) {
        line.append(progressWidth_ - width, ' '); // cover what is left of the longer line
    }
    console_.err << line;
    console_.err.flush();
    progressWidth_ = width;
}

bool ConsoleConversation::stopAsked() {
    return StopOnInterrupt::asked();
}

void ConsoleConversation::clearProgress() {
    if (progressWidth_ == 0) {
        return;
    }
    console_.err << '\r' << std::string(progressWidth_, ' ') << '\r';
    console_.err.flush();
    progressWidth_ = 0;
}

} // namespace cli
