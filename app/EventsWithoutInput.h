#pragma once

class QWidget;

namespace app {

// Lets Qt deliver everything that waits (paints, timers, and what the window system has queued,
// among it a request to close a window) while the user's clicks, keys and wheel turns are
// discarded. A batch run calls it between its steps: the window is kept painted and a close
// request reaches the window at once, where Qt would otherwise hold it back until the run's
// next message box and then drop it as meant for a blocked window; yet nothing the user does
// starts anything in the middle of the run. An Escape pressed in stopWindow (where one is
// given) is not delivered either, but told: returns whether one was pressed, so that the run
// can be asked to stop.
bool processEventsWithoutInput(const QWidget* stopWindow = nullptr);

} // namespace app
