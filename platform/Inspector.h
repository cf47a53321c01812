// The inspector: when the environment variable VENDROLIX_INSPECT names a
// local socket, the program answers questions about what its windows show
// there (titles and places, the controls' texts and rectangles, the rows a
// list draws, texts cut short by their space, the focus, the clipboard).
// The end-to-end tests read what a person sees through it; their keys and
// clicks come from the X server, as a person's do. Without the variable
// nothing listens.
//
// A question is one line: a verb, then its arguments separated by tabs. The
// answer is one line of JSON.
//
//   windows                   every shown window: title, procedure, frame
//                             geometry, active, minimized, child of the frame
//   controls <title>          the window's shown controls: name, class, text,
//                             rectangle on the screen, enabled, focused, clipped
//                             (a <title> "xid:<id>" names a top-level window
//                             by the X id that `windows` gives)
//   rows <title> <control>    the list's rows in view, each cell as drawn
//   clipped [<title>]         every shown text that its space cuts short
//   focus                     the window and control that have the keyboard
//   clipboard                 the clipboard's text
//   start <procedure> [<request> [<parameter>]]
//                             starts a procedure on a thread of its own with
//                             that request (1 insert ... 4 select), as the
//                             frame's commands do; its thread number
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <functional>

class QWidget;

namespace ven {

// Starts listening when VENDROLIX_INSPECT is set; false when it is set and
// the socket could not be made.
bool startInspector();

// What the inspector's `start` does: the program's way of starting a
// procedure by name; the thread number, 0 when it did not start.
using InspectorStart = std::function<int(const QString& procedure, uint8_t request, const QString& parameter)>;
void setInspectorStart(InspectorStart start);

// The answer to one question (also used in-process by the offscreen tests).
QJsonValue inspect(const QString& question);

// A list model answers true in this role for a cell whose text the window
// lets its column's edge cut (a free text longer than a short code); such a
// cut is told with "free": true.
inline constexpr int kCutTextRole = 0x0100 + 90;  // Qt::UserRole + 90

// The texts of `root`'s shown widgets that their space cuts short: each with
// the widget's name, class, text, the width it needs and the width it has.
QJsonArray clippedTexts(QWidget* root);

} // namespace ven
