#pragma once

#include "fontlist/UserMessage.h"

class QWidget;

namespace app {

// Message boxes as QMessageBox, modal over the given window.
class QtMessagePresenter : public fontlist::MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent) : parent_(parent) {}
    fontlist::Answer show(const fontlist::UserMessage& message) override;

private:
    QWidget* parent_;
};

} // namespace app
