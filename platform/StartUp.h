// What the program's start does beside its first window, so that the
// window shows as soon as it can.
#pragma once

#include <functional>

class QWidget;

namespace ven {

// Loads, on a worker thread, what the first window's icons and texts would
// otherwise wait for on the GUI thread: the image format plugins. Call once the application object exists; the application
// waits for the worker as it ends.
void warmUpInBackground();

// Runs `work` once `window` has been exposed and painted for the first
// time (at once when it is exposed already); nothing when the window goes
// before that.
void whenFirstShown(QWidget* window, std::function<void()> work);

} // namespace ven
