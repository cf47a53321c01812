// A paste that does not fit in an entry or text box is refused whole, with a
// message that says how much fits, before the widget takes any of it: nothing
// is cut without a word, and a huge clipboard is never laid out.
#pragma once

#include <QString>

class QWidget;

namespace ven {

// Characters `editor` still takes, counted as stored (a text box's line end
// as CR LF), the selection replaced; -1 when it has no limit. `editor` is a
// QLineEdit (its maxLength) or a QPlainTextEdit (the framework's limit).
int pasteRoom(const QWidget* editor);

// The characters `text` takes when stored in `editor`.
int pastedSize(const QWidget* editor, const QString& text);

// Shows the refusal and returns true when `text` does not fit in `editor`.
bool refusePaste(QWidget* editor, const QString& text);

// Makes `editor` (a QLineEdit or QPlainTextEdit) refuse a paste that does not
// fit: the paste key, the middle click's selection and a drop.
void limitPastes(QWidget* editor);

} // namespace ven
