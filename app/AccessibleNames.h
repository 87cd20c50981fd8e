#pragma once

class QWidget;

namespace app {

// What assistive technology (a screen reader) announces for each control of the window, found
// by its object name: a name that says what the control is where its caption does not (or it
// has none), and a description where the name alone is not enough. The details pane becomes
// text that the keyboard can move through line by line, still read-only.
void giveAccessibleNames(QWidget& window);

} // namespace app
