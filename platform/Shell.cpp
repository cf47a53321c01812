// The shell verbs on the Linux desktop: Qt's desktop services for documents
// and addresses, detached processes for programs, Qt Multimedia for sounds.
#include "platform/Shell.h"

#include "platform/WindowDef.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QProcess>
#include <QUrl>

namespace ven {
namespace {

ShellHandler& handler()
{
    static ShellHandler h;
    return h;
}

std::function<void(const QString&)>& failureHook()
{
    static std::function<void(const QString&)> h;
    return h;
}

int16_t failed(int16_t code, const QString& why)
{
    if (failureHook())
        failureHook()(why);
    return code;
}

// A sound device that fails fails for every sound: it is told once a run.
bool& deviceFailureTold()
{
    static bool told = false;
    return told;
}
int16_t deviceFailed(const QString& why)
{
    if (deviceFailureTold())
        return kShellNoAssociation;
    deviceFailureTold() = true;
    return failed(kShellNoAssociation, why + " (told once; sounds stay silent)");
}

QString unquoted(QString s)
{
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith('"') && s.endsWith('"'))
        s = s.mid(1, s.size() - 2);
    return s;
}

QString resolved(const QString& file)
{
    QFileInfo fi(file);
    if (fi.isRelative() && !ShellDirectory.isEmpty())
        fi = QFileInfo(QDir(ShellDirectory), file);
    return fi.filePath();
}

int16_t play(const QString& file)
{
    // The user's file, else the program's own sound of that name (the
    // configured bells name files beside the program that need not exist).
    const QString path = resolved(file);
    QUrl source;
    if (QFileInfo(path).isFile())
        source = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    else if (const QString own = findPictureFile(QFileInfo(path).fileName()); own.startsWith(':'))
        source = QUrl("qrc" + own);
    else
        return failed(kShellFileNotFound, "Sound file not found: " + path);
    if (QMediaDevices::audioOutputs().isEmpty())
        return deviceFailed("No sound device to play " + path);
    // One player per sound; it deletes itself when the sound has ended.
    auto* player = new QMediaPlayer;
    auto* out = new QAudioOutput(player);
    player->setAudioOutput(out);
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player, [player](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia)
            player->deleteLater();
    });
    QObject::connect(player, &QMediaPlayer::errorOccurred, player, [player, path](QMediaPlayer::Error error, const QString& e) {
        const QString why = "Sound " + path + " could not be played: " + e;
        if (error == QMediaPlayer::ResourceError)
            deviceFailed(why);  // the device, not the file
        else
            failed(kShellNoAssociation, why);
        player->deleteLater();
    });
    player->setSource(source);
    player->play();
    return kShellDone;
}

int16_t open(const QString& target)
{
    const QString lower = target.toLower();
    if (lower.startsWith("mailto:") || lower.contains("://") || lower.startsWith("www."))
        return QDesktopServices::openUrl(QUrl::fromUserInput(target)) ? kShellDone
                                                                        : failed(kShellNoAssociation, "Cannot open " + target);
    const QString path = resolved(target);
    QFileInfo fi(path);
    if (!fi.exists())
        return failed(kShellFileNotFound, "File not found: " + path);
    if (fi.isFile() && fi.isExecutable())
        return QProcess::startDetached(fi.absoluteFilePath(), splitParameters(ShellParameters),
                                       ShellDirectory.isEmpty() ? fi.absolutePath() : ShellDirectory)
                   ? kShellDone
                   : failed(kShellNoAssociation, "Cannot start " + path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()))
               ? kShellDone
               : failed(kShellNoAssociation, "No program opens " + path);
}

} // namespace

int16_t ShellExecute()
{
    if (handler())
        return ShellResult = handler()();
    const QString file = unquoted(ShellFile);
    if (file.isEmpty())
        return ShellResult = failed(kShellFileNotFound, "No file named");
    if (ShellOperation.compare("Play", Qt::CaseInsensitive) == 0)
        return ShellResult = play(file);
    return ShellResult = open(file);
}

void setShellHandler(ShellHandler h)
{
    handler() = std::move(h);
}

void forgetSoundDeviceFailure()
{
    deviceFailureTold() = false;
}

void setShellFailureHook(std::function<void(const QString&)> hook)
{
    failureHook() = std::move(hook);
}

QStringList splitParameters(const QString& text)
{
    QStringList out;
    QString cur;
    bool quoted = false, any = false;
    for (QChar c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                out << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (any)
        out << cur;
    return out;
}

} // namespace ven
