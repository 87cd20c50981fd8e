#include "app/FocusRing.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

namespace app {

namespace {

// As wide as the default style's frame around a list, so the ring hides none of the content.
constexpr int kRingWidth = 2;

} // namespace

FocusRing::FocusRing(QWidget& control) : QWidget(&control), control_(control) {
    setObjectName(control.objectName() + QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    control.installEventFilter(this);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &control_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            setGeometry(control_.rect());
            raise();
            show();
            break;
        case QEvent::FocusOut: hide(); break;
        case QEvent::Resize: setGeometry(control_.rect()); break;
        default: break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
    const QRect area = rect();
    painter.fillRect(area.left(), area.top(), area.width(), kRingWidth, colour);
    painter.fillRect(area.left(), area.bottom() - kRingWidth + 1, area.width(), kRingWidth, colour);
    painter.fillRect(area.left(), area.top(), kRingWidth, area.height(), colour);
    painter.fillRect(area.right() - kRingWidth + 1, area.top(), kRingWidth, area.height(), colour);
}

} // namespace app
