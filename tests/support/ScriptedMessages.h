#pragma once

#include "fontlist/UserMessage.h"

#include <deque>
#include <functional>
#include <vector>

namespace testsupport {

// Stands in for the message boxes: records every message and answers from a script (OK for an
// OK box and Cancel for a question once the script runs out), so a test never blocks.
class ScriptedMessages : public fontlist::MessagePresenter {
public:
    fontlist::Answer show(const fontlist::UserMessage& message) override {
        shown.push_back(message);
        if (whileShown) {
            whileShown(message);
        }
        if (!answers.empty()) {
            const fontlist::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == fontlist::Buttons::Ok ? fontlist::Answer::Ok
                                                        : fontlist::Answer::Cancel;
    }

    std::vector<fontlist::UserMessage> shown;
    std::deque<fontlist::Answer> answers;
    // What a test looks at while a message is up.
    std::function<void(const fontlist::UserMessage&)> whileShown;
};

} // namespace testsupport
