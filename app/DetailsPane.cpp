#include "app/DetailsPane.h"

#include "app/SampleStrip.h"
#include "drawing/SampleDrawing.h"

#include <algorithm>

namespace app {

namespace {

// The sizes of the sample lines in pixels, and of the name above them.
constexpr int kSampleSizes[] = {14, 20, 28};
constexpr int kTitlePixels = 16;

} // namespace

DetailsPane::DetailsPane(QWidget* parent) : QPlainTextEdit(parent), strip_(new SampleStrip(this)) {
    strip_->setObjectName(QStringLiteral("FontSample"));
    strip_->hide();
}

void DetailsPane::showSample(const std::string& path, const std::string& title) {
    strip_->setDrawing(drawing::drawSample(path, 0, {title, kTitlePixels, kSampleSizes, {}, 2048}));
    strip_->show();
    placeStrip();
}

void DetailsPane::hideSample() {
    if (strip_->isHidden()) {
        return;
    }
    strip_->hide();
    strip_->setDrawing({});
    setTopMargin(0);
}

void DetailsPane::setTopMargin(int height) {
    if (viewportMargins().top() != height) {
        setViewportMargins(0, height, 0, 0);
    }
}

void DetailsPane::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    if (!strip_->isHidden()) {
        placeStrip();
    }
}

// The strip takes the top of the pane inside its frame, at most two thirds of it, so that the
// naming data keeps some lines.
void DetailsPane::placeStrip() {
    const int frame = frameWidth();
    const int height = std::min(strip_->wantedHeight(), (this->height() - 2 * frame) * 2 / 3);
    setTopMargin(height);
    strip_->setGeometry(frame, frame, viewport()->width(), height);
}

} // namespace app
