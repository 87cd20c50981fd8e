#pragma once

class QComboBox;

namespace app {

// For a drop-down list whose entries are longer than its box: the open list is as wide as its
// longest entry needs, and each entry, like the box itself, has its whole text as a tooltip.
// Call once the entries are in.
void showEntriesWhole(QComboBox* box);

} // namespace app
