#pragma once

#include "fontlist/UserMessage.h"

namespace app {

// Shows a modal message and returns the button pressed. The window uses real message boxes;
// tests answer from a script.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual fontlist::Answer show(const fontlist::UserMessage& message) = 0;
};

} // namespace app
