#pragma once

#include "app/MessagePresenter.h"

#include <deque>
#include <vector>

namespace testsupport {

// Stands in for the message boxes: records every message and answers from a script (OK for an
// OK box and Cancel for a question once the script runs out), so a test never blocks.
class ScriptedMessages : public app::MessagePresenter {
public:
    runtime::Answer show(const runtime::UserMessage& message) override {
        shown.push_back(message);
        if (!answers.empty()) {
            const runtime::Answer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return message.buttons == runtime::Buttons::Ok ? runtime::Answer::Ok
                                                       : runtime::Answer::Cancel;
    }

    std::vector<runtime::UserMessage> shown;
    std::deque<runtime::Answer> answers;
};

} // namespace testsupport
