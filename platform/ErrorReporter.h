// Message boxes and the error reporter that shows the framework's message
// table. GUI thread only.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/Messages.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace ven {

enum class Icon : uint8_t { None, Stop, Question, Exclamation, Information };

struct MessageBoxRequest {
    QString caption;
    QString text;         // "|" already turned into line breaks
    Icon icon = Icon::None;
    QStringList buttons;  // "&Yes", "&No" ...
    int defaultButton = 1;
};

// Shows a message box: "|" in the text starts a new line, the buttons are
// given as "&Yes|&No". Returns the number of the button pressed, 1 for the
// first; closing the box otherwise gives the default button.
int messageBox(const QString& text, const QString& caption = {}, Icon icon = Icon::None,
               const QString& buttons = QStringLiteral("&OK"), int defaultButton = 1);

// Puts a handler in place of the real boxes (tests answer them); an empty
// function restores the real ones.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
void setMessageBoxHandler(MessageBoxHandler handler);

// The one error reporter: shows messages of the table with their
// placeholders filled; after a fatal message (a file that cannot be made,
// opened or used) the window that needed the file closes, and the rest of
// the program runs on.
class ErrorReporter {
public:
    // The procedure named in error messages while it runs.
    void setProcedure(const QString& name) { procedure_ = name; }
    const QString& procedure() const { return procedure_; }

    // Shows message `number`: a question with "&Yes|&No" (1 Yes, 2 No), a
    // notice with "&OK". `buttons` and `defaultButton` override the kind's.
    // A fatal message appends "  Press OK to close this window." and closes
    // the window after OK; 0 when the table has no such message.
    int show(int number, const MessageArgs& args = {}, const QString& buttons = {}, int defaultButton = 0);
    // Shows the message that an engine status carries, with its own filled
    // text; 0 (and nothing shown) for a status without message.
    int show(const Status& st, const QString& buttons = {}, int defaultButton = 0);

    // Runs `op` until it succeeds: a failure shows its status's message, and
    // a question (such as "... Try Again?") answered Yes runs `op` again.
    // False when it failed and the user gave up or was only told.
    bool retry(const std::function<Status()>& op);

    // Heard after each fatal message, once its window is closing (tests).
    void setAfterFatal(std::function<void()> after) { afterFatal_ = std::move(after); }

private:
    int showText(int number, const QString& text, const QString& buttons, int defaultButton);
    QString procedure_;
    std::function<void()> afterFatal_;
};

ErrorReporter& errors();

} // namespace ven
