#include "app/QtMessagePresenter.h"

#include "app/PlainText.h"

#include <QMessageBox>

namespace app {

runtime::Answer QtMessagePresenter::show(const runtime::UserMessage& message) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(message.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(message.text));
    switch (message.icon) {
    case runtime::MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case runtime::MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case runtime::MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    if (message.buttons == runtime::Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return runtime::Answer::Yes;
    case QMessageBox::No: return runtime::Answer::No;
    case QMessageBox::Cancel: return runtime::Answer::Cancel;
    default:
        return message.buttons == runtime::Buttons::Ok ? runtime::Answer::Ok
                                                       : runtime::Answer::Cancel;
    }
}

} // namespace app
