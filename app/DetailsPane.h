#pragma once

#include <QPlainTextEdit>

#include <string>

namespace app {

class SampleStrip;

// The details pane: the naming data, and while samples are on, the selected font drawn in its
// own face in a strip above the text. With the strip hidden it is a plain text edit to the
// pixel (no margin).
class DetailsPane : public QPlainTextEdit {
public:
    explicit DetailsPane(QWidget* parent);

    // Draws the first font of the file at path (the system's bytes) with title as its name.
    void showSample(const std::string& path, const std::string& title);
    void hideSample();
    const SampleStrip& sampleStrip() const { return *strip_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeStrip();
    void setTopMargin(int height);

    SampleStrip* strip_ = nullptr; // owned by the pane
};

} // namespace app
