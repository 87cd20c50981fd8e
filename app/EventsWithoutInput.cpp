#include "app/EventsWithoutInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

namespace app {

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return true;
    default: return false;
    }
}

// An Escape key pressed in the window: as the window system hands it to the window's surface,
// or as it is sent to one of its widgets.
bool isEscapeIn(const QWidget* window, QObject* receiver, QEvent* event) {
    if (window == nullptr || event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) {
        return false;
    }
    if (const auto* surface = qobject_cast<const QWindow*>(receiver)) {
        return surface == window->windowHandle();
    }
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    return widget != nullptr && widget->window() == window;
}

// Discards the user's input to every object for as long as it is installed, noting an Escape
// pressed in the stop window.
class InputDiscarder : public QObject {
public:
    explicit InputDiscarder(const QWidget* stopWindow) : stopWindow_(stopWindow) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputDiscarder() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputDiscarder(const InputDiscarder&) = delete;
    InputDiscarder& operator=(const InputDiscarder&) = delete;

    bool escapePressed() const { return escapePressed_; }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!isUserInput(event->type())) {
            return false;
        }
        escapePressed_ = escapePressed_ || isEscapeIn(stopWindow_, receiver, event);
        return true;
    }

private:
    const QWidget* stopWindow_;
    bool escapePressed_ = false;
};

} // namespace

bool processEventsWithoutInput(const QWidget* stopWindow) {
    const InputDiscarder discarder(stopWindow);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return discarder.escapePressed();
}

} // namespace app
