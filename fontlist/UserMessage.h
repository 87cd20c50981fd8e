#pragma once

#include <string>

namespace fontlist {

// A modal message to the user, as data: the core decides title, text, buttons and icon; each
// front end (window, command line, tests) decides how to show it. Texts are UTF-8 and may hold
// CR LF line breaks.
enum class Buttons { Ok, YesNoCancel, YesNo };
enum class MessageIcon { None, Critical, Warning };
enum class Answer { Ok, Yes, No, Cancel };

struct UserMessage {
    std::string title;
    std::string text;
    Buttons buttons = Buttons::Ok;
    MessageIcon icon = MessageIcon::None;
};

// Shows a modal message and returns the button pressed (Ok for an OK box). The window uses
// real message boxes; tests answer from a script.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual Answer show(const UserMessage& message) = 0;
};

} // namespace fontlist
