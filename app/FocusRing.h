#pragma once

#include <QWidget>

class QEvent;
class QObject;
class QPaintEvent;

namespace app {

// A ring in the highlight colour around a control while it has the keyboard focus. The two lists
// and the details pane show none of their own in the default style: a list draws its current
// item's focus frame in the selection's colour, over the selection, and the read-only pane only
// a caret. The ring lies over the control's frame and takes no input.
class FocusRing final : public QWidget {
public:
    // Made a child of the control, which owns it; named after it ("File1FocusRing").
    explicit FocusRing(QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget& control_;
};

} // namespace app
