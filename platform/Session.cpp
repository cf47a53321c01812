// The session calls: "systemctl reboot" / "systemctl poweroff", started
// without a shell, their failure text reported to the caller.
#include "platform/Session.h"

#include <QProcess>
#include <QStringList>

namespace ven {
namespace {

SessionHandler& handler()
{
    static SessionHandler h;
    return h;
}

// The session manager may wait for the user's authorization; after this
// long the request counts as refused.
constexpr int kAnswerWithinMs = 120000;

bool runSystemctl(const QString& verb, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    QProcess p;
    p.start(QStringLiteral("systemctl"), {verb});
    if (!p.waitForStarted())
        return fail(QStringLiteral("systemctl %1: %2").arg(verb, p.errorString()));
    if (!p.waitForFinished(kAnswerWithinMs)) {
        p.kill();
        p.waitForFinished();
        return fail(QStringLiteral("systemctl %1 did not answer").arg(verb));
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        QString why = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        if (why.isEmpty())
            why = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        if (why.isEmpty())
            why = QStringLiteral("systemctl %1 failed with exit code %2").arg(verb).arg(p.exitCode());
        return fail(why);
    }
    return true;
}

bool perform(SessionAction action, QString* error)
{
    if (handler())
        return handler()(action, error);
    return runSystemctl(action == SessionAction::Restart ? QStringLiteral("reboot") : QStringLiteral("poweroff"), error);
}

} // namespace

bool restartComputer(QString* error) { return perform(SessionAction::Restart, error); }
bool shutDownComputer(QString* error) { return perform(SessionAction::ShutDown, error); }
void setSessionHandler(SessionHandler h) { handler() = std::move(h); }

} // namespace ven
