#pragma once

#include "drawing/SampleDrawing.h"

#include <QImage>
#include <QString>
#include <QWidget>

namespace app {

// A font's sample as drawn by the drawing core, painted in the text colour of its parent;
// or the one line that says why the font cannot be drawn.
class SampleStrip : public QWidget {
public:
    explicit SampleStrip(QWidget* parent);

    void setDrawing(const drawing::SampleDrawing& drawing);
    // The height that shows the whole sample (or the reason line).
    int wantedHeight() const;
    const QImage& coverage() const { return coverage_; }
    const QString& reason() const { return reason_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage coverage_; // 8-bit alpha; null when there is only a reason
    QString reason_;
};

} // namespace app
