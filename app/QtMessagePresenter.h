#pragma once

#include "app/MessagePresenter.h"

class QWidget;

namespace app {

// Message boxes as QMessageBox, modal over the given window.
class QtMessagePresenter : public MessagePresenter {
public:
    explicit QtMessagePresenter(QWidget* parent) : parent_(parent) {}
    runtime::Answer show(const runtime::UserMessage& message) override;

private:
    QWidget* parent_;
};

} // namespace app
