#include "app/QtMessagePresenter.h"

#include "app/PlainText.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

namespace app {

namespace {

// A box sizes itself to its text; under a long title and a short text the title bar would
// shorten the title. The box is made at least as wide as the title in the title bar's font,
// with room beside it for the window icon and the minimise, maximise and close buttons (each
// about as wide as the title bar is high).
void makeRoomForTitle(QMessageBox& box) {
    const int title = QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont))
                          .horizontalAdvance(box.windowTitle());
    const int buttons = 4 * box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    // The box fixes its size from its layout's minimum when it is shown; a spacer across the
    // whole layout raises that minimum.
    grid->addItem(new QSpacerItem(title + buttons, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

fontlist::Answer QtMessagePresenter::show(const fontlist::UserMessage& message) {
    QMessageBox box(parent_);
    box.setWindowTitle(QString::fromStdString(message.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(message.text));
    switch (message.icon) {
    case fontlist::MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case fontlist::MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case fontlist::MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    if (message.buttons == fontlist::Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (message.buttons == fontlist::Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    makeRoomForTitle(box);
    switch (box.exec()) {
    case QMessageBox::Yes: return fontlist::Answer::Yes;
    case QMessageBox::No: return fontlist::Answer::No;
    case QMessageBox::Cancel: return fontlist::Answer::Cancel;
    default:
        if (message.buttons == fontlist::Buttons::YesNo) {
            return fontlist::Answer::No;
        }
        return message.buttons == fontlist::Buttons::Ok ? fontlist::Answer::Ok
                                                        : fontlist::Answer::Cancel;
    }
}

} // namespace app
