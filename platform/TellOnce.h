// Failures told to the user once per cause in a run: a writer that fails on
// every tick (a log in a read-only folder, a settings file that cannot be
// written) shows its message once, not a box a second. GUI thread only.
#pragma once

#include "platform/ErrorReporter.h"

#include <QString>
#include <QStringList>

namespace ven {

// Shows `messages`, each in its own box (`caption`, `icon`, OK), the first
// time `cause` is met in this run; later calls with the same cause show
// nothing; with no messages the cause is only marked as told. True when
// the cause was new.
bool tellOnce(const QString& cause, const QStringList& messages, const QString& caption = {},
              Icon icon = Icon::None);
// True once `cause` has been told in this run.
bool toldAlready(const QString& cause);
// Forgets every cause told so far (tests start each case afresh).
void forgetToldCauses();

// The cause of a failed settings write: the file and the reason.
QString settingsFailureCause(const QString& file, const QString& why);
// writeIni whose failure is told once per settings file and reason, as
// "Write Error: <file>: <reason>". Returns what writeIni returned.
bool writeIniTold(const QString& file, const QString& section, const QString& entry, const QString& value);

} // namespace ven
