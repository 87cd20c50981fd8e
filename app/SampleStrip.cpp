#include "app/SampleStrip.h"

#include <QPainter>
#include <QPalette>

namespace app {

namespace {

constexpr int kPadding = 3;

} // namespace

SampleStrip::SampleStrip(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void SampleStrip::setDrawing(const drawing::SampleDrawing& drawing) {
    reason_ = QString::fromStdString(drawing.reason);
    coverage_ = QImage();
    if (drawing.drawn() && drawing.image.width > 0 && drawing.image.height > 0) {
        // A deep copy: the drawing's bytes are not kept.
        coverage_ = QImage(drawing.image.pixels.data(), drawing.image.width, drawing.image.height,
                           drawing.image.width, QImage::Format_Alpha8)
                        .copy();
    }
    update();
}

int SampleStrip::wantedHeight() const {
    if (!coverage_.isNull()) {
        return coverage_.height() + 2 * kPadding;
    }
    return fontMetrics().height() + 2 * kPadding;
}

void SampleStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor ink = palette().color(QPalette::Text);
    if (coverage_.isNull()) {
        painter.setPen(ink);
        painter.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, reason_);
        return;
    }
    QImage tinted(coverage_.size(), QImage::Format_ARGB32_Premultiplied);
    tinted.fill(ink);
    tinted.setAlphaChannel(coverage_);
    // A sample taller than the strip (a tall face, a low window) is shown whole, made smaller,
    // rather than cut through its largest line.
    const int room = height() - 2 * kPadding;
    if (room > 0 && tinted.height() > room) {
        tinted = tinted.scaledToHeight(room, Qt::SmoothTransformation);
    }
    painter.drawImage(kPadding, kPadding, tinted);
}

} // namespace app
