// The shell verbs on the Linux desktop: Qt's desktop services for documents
// and addresses, detached processes for programs, Qt Multimedia for sounds.
#include "platform/Shell.h"

#include "platform/DesktopEntries.h"
#include "platform/ErrorReporter.h"
#include "platform/WindowDef.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMediaDevices>
#include <QMimeDatabase>
#include <QMediaPlayer>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

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

// The running call's own failure notice (ShellOnFailure as the call took it).
using FailureNotice = std::function<void(const QString&)>;
FailureNotice& callNotice()
{
    static FailureNotice n;
    return n;
}

// Tells a failure to the call's notice when it has one, else to the hook.
void tell(const FailureNotice& notice, const QString& why)
{
    if (notice)
        notice(why);
    else if (failureHook())
        failureHook()(why);
}

int16_t failed(int16_t code, const QString& why)
{
    ShellFailure = why;
    tell(callNotice(), why);
    return code;
}

// A failure the user asked for by a click: told to the hook and shown.
int16_t refused(int16_t code, const QString& why)
{
    failed(code, why);
    messageBox(why, ShellOperation.trimmed(), Icon::Exclamation);
    return code;
}

// A sound device that fails fails for every sound: it is told once a run.
bool& deviceFailureTold()
{
    static bool told = false;
    return told;
}
// A call with a notice of its own is told every time.
int16_t deviceFailed(const QString& why, const FailureNotice& notice)
{
    ShellFailure = why;
    if (notice) {
        notice(why);
    } else if (!deviceFailureTold()) {
        deviceFailureTold() = true;
        tell({}, why + " (told once; sounds stay silent)");
    }
    return kShellNoAssociation;
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
        return deviceFailed("No sound device to play " + path, callNotice());
    // One player per sound; it deletes itself when the sound has ended.
    auto* player = new QMediaPlayer;
    auto* out = new QAudioOutput(player);
    player->setAudioOutput(out);
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player, [player](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia)
            player->deleteLater();
    });
    QObject::connect(player, &QMediaPlayer::errorOccurred, player,
                     [player, path, notice = callNotice()](QMediaPlayer::Error error, const QString& e) {
                         const QString why = "Sound " + path + " could not be played: " + e;
                         if (error == QMediaPlayer::ResourceError)
                             deviceFailed(why, notice);  // the device, not the file
                         else
                             tell(notice, why);
                         player->deleteLater();
                     });
    player->setSource(source);
    player->play();
    return kShellDone;
}

int16_t toDesktop(const QUrl& url, const QString& what)
{
    if (!url.isValid() || url.isEmpty())
        return refused(kShellFileNotFound, "Not a valid address: " + what);
    return QDesktopServices::openUrl(url) ? kShellDone : refused(kShellNoAssociation, "No program opens " + what);
}

bool startsWith(const QString& s, const char* prefix)
{
    return s.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
}

// The addresses that only a program of the desktop's can take: its scheme,
// what such a program does, and why this address then goes nowhere.
struct SchemeUse {
    const char* scheme;
    const char* does;
    const char* cannot;  // %1: the address without its scheme
};
const SchemeUse kSchemeUses[] = {
    {"tel", "dial telephone numbers (tel: addresses)", "%1 cannot be dialled"},
    {"mailto", "write e-mail (mailto: addresses)", "no message to %1 can be written"},
    {"http", "show web pages (http: addresses)", "%1 cannot be shown"},
    {"https", "show web pages (https: addresses)", "%1 cannot be shown"},
};

// Hands an address to the desktop when a program there takes its scheme;
// otherwise the user is told how to choose one.
int16_t toSchemeHandler(const QUrl& url, const QString& target)
{
    if (url.isValid() && !url.isEmpty())
        for (const SchemeUse& u : kSchemeUses)
            if (url.scheme().compare(QLatin1String(u.scheme), Qt::CaseInsensitive) == 0
                && schemeHandler(QString::fromLatin1(u.scheme)).isEmpty()) {
                const QString address = url.scheme() == u"tel" || url.scheme() == u"mailto"
                                            ? target.mid(target.indexOf(u':') + 1).trimmed()
                                            : url.toString();
                return refused(kShellNoAssociation,
                               QStringLiteral("No program is set up to %1, so %2. Choose one in the desktop's settings "
                                              "or with: xdg-mime default <program>.desktop x-scheme-handler/%3")
                                   .arg(QString::fromLatin1(u.does), QString::fromLatin1(u.cannot).arg(address),
                                        QString::fromLatin1(u.scheme)));
            }
    return toDesktop(url, target);
}

int16_t openDocument(const QString& target)
{
    if (startsWith(target, "mailto:"))
        return toSchemeHandler(mailToUrl(target.mid(7)), target);
    if (startsWith(target, "tel:"))
        return toSchemeHandler(telUrl(target.mid(4)), target);
    if (startsWith(target, "http://") || startsWith(target, "https://") || startsWith(target, "ftp://")
        || startsWith(target, "www."))
        return toSchemeHandler(webUrl(target), target);
    const QString path = startsWith(target, "file://") ? QUrl(target).toLocalFile() : resolved(target);
    QFileInfo fi(path);
    if (!fi.exists())
        return refused(kShellFileNotFound, "File not found: " + path);
    if (mayRunAsProgram(fi.absoluteFilePath()))
        return refused(kShellAccessDenied, fi.absoluteFilePath()
                                               + " is a program file (it has the executable permission) and is not "
                                                 "opened. Remove its executable permission to open it as a document.");
    return toDesktop(QUrl::fromLocalFile(fi.absoluteFilePath()), path);
}

int16_t startProgram(const QString& program, const QStringList& arguments, QString folder)
{
    folder = folder.trimmed();
    if (!folder.isEmpty() && !QFileInfo(folder).isDir())
        return refused(kShellPathNotFound, "Start folder not found: " + folder);
    const QString path = findProgram(program, folder);
    if (path.isEmpty())
        return refused(kShellFileNotFound, "Program not found: " + program);
    return QProcess::startDetached(path, arguments, folder.isEmpty() ? QDir::currentPath() : folder)
               ? kShellDone
               : refused(kShellNoAssociation, "Cannot start " + path);
}

} // namespace

int16_t ShellExecute()
{
    ShellFailure.clear();
    // The notice belongs to this call only, also when the shell is called again from within it.
    const FailureNotice previous = std::exchange(callNotice(), std::exchange(ShellOnFailure, {}));
    struct Restore {
        FailureNotice previous;
        ~Restore() { callNotice() = std::move(previous); }
    } restore{previous};
    if (handler()) {
        ShellResult = handler()();
        if (ShellResult <= 32 && callNotice())
            callNotice()(ShellFailure.isEmpty() ? QStringLiteral("The shell failed (%1)").arg(ShellResult) : ShellFailure);
        return ShellResult;
    }
    const QString file = unquoted(ShellFile);
    if (file.isEmpty())
        return ShellResult = failed(kShellFileNotFound, "No file named");
    const QString verb = ShellOperation.trimmed();
    if (verb.compare("Play", Qt::CaseInsensitive) == 0) {
        // A relative sound lies in the given working folder, as for any verb.
        const QString folder = unquoted(ShellDirectory.trimmed());
        const bool inFolder = QFileInfo(file).isRelative() && !folder.isEmpty();
        return ShellResult = play(inFolder ? QDir(folder).filePath(file) : file);
    }
    if (verb.compare("Start", Qt::CaseInsensitive) == 0)
        return ShellResult = startProgram(file, splitParameters(ShellParameters), ShellDirectory);
    return ShellResult = openDocument(file);
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
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"') {
            cur += c;  // a doubled quote within quotes is the quote itself
            ++i;
        } else if (c == '"') {
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

QString quoteArgument(const QString& argument)
{
    QString quoted = argument;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

QString findProgram(const QString& program, const QString& folder)
{
    const QString name = unquoted(program);
    if (name.isEmpty())
        return {};
    QString path;
    if (name.contains(u'/')) {
        QFileInfo fi(name);
        if (fi.isRelative())
            fi = QFileInfo(QDir(folder.trimmed().isEmpty() ? QDir::currentPath() : folder.trimmed()), name);
        path = fi.absoluteFilePath();
    } else {
        // A bare name is looked up on PATH only, never in the start folder:
        // a file dropped into a shared folder must not shadow a program.
        path = QStandardPaths::findExecutable(name);
    }
    const QFileInfo fi(path);
    return !path.isEmpty() && fi.isFile() && fi.isExecutable() ? QDir::cleanPath(fi.absoluteFilePath()) : QString();
}

bool mayRunAsProgram(const QString& file)
{
    const QFileInfo fi(file);
    if (!fi.isFile() || !(fi.permissions() & (QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther)))
        return false;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return true;  // unreadable: no telling what it is
    // Scripts, binary programs, and text of any kind: a text file without a
    // "#!" line is run by the shell when it is executed.
    const QByteArray head = f.read(8192);
    if (head.startsWith("#!") || head.startsWith("\x7F" "ELF") || !head.contains('\0'))
        return true;
    static const char* const kPrograms[] = {
        "text/plain", "application/x-executable", "application/x-sharedlib", "application/x-desktop",
        "application/x-ms-dos-executable", "application/x-msdownload", "application/x-shellscript",
    };
    const QMimeDatabase db;
    for (const QMimeType& type : {db.mimeTypeForFile(fi), db.mimeTypeForFile(fi, QMimeDatabase::MatchContent)})
        for (const char* kind : kPrograms)
            if (type.inherits(QLatin1String(kind)))
                return true;
    return false;
}

QUrl mailToUrl(const QString& address)
{
    QString a = address.trimmed();
    if (startsWith(a, "mailto:"))
        a = a.mid(7).trimmed();
    if (a.isEmpty())
        return {};
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(a, QUrl::DecodedMode);
    return url;
}

QUrl webUrl(const QString& address)
{
    QString a = address.trimmed();
    if (a.isEmpty())
        return {};
    if (!a.contains(QLatin1String("://")))
        a.prepend(QLatin1String("http://"));
    const QUrl url(a, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http" && scheme != u"https" && scheme != u"ftp"))
        return {};
    return url;
}

QUrl telUrl(const QString& number)
{
    QString digits;
    for (QChar c : number.trimmed()) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits += c;
        else if (c == u'*' || c == u'#' || (c == u'+' && digits.isEmpty()))
            digits += c;
        else if (!QStringLiteral(" -./()\t").contains(c))
            return {};  // letters or other signs: not a number to dial
    }
    if (!std::any_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return {};
    QUrl url;
    url.setScheme(QStringLiteral("tel"));
    url.setPath(digits, QUrl::DecodedMode);
    return url;
}

QString schemeHandler(const QString& scheme)
{
    return defaultApplication(QStringLiteral("x-scheme-handler/") + scheme.toLower());
}

QIcon programIcon(const QString& icon, const QIcon& fallback)
{
    const QString setting = unquoted(icon);
    if (setting.isEmpty())
        return fallback;
    const QFileInfo fi(setting);
    QIcon found;
    if (fi.isFile() && fi.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0)
        found = iconNamed(readDesktopEntry(fi.absoluteFilePath()).icon);
    else if (fi.isFile() && QImageReader(fi.absoluteFilePath()).canRead())
        found = QIcon(fi.absoluteFilePath());
    else if (const QString program = findProgram(setting); !program.isEmpty()) {
        found = iconNamed(applicationFor(program).icon);
        if (found.isNull())
            found = QIcon::fromTheme(QFileInfo(program).fileName());
    }
    return found.isNull() ? fallback : found;
}

} // namespace ven
