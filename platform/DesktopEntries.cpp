// Application entries and MIME defaults, read from the freedesktop folders.
#include "platform/DesktopEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTextStream>

namespace ven {
namespace {

QStringList envFolders(const char* name, const QString& fallback)
{
    QString value = qEnvironmentVariable(name);
    if (value.isEmpty())
        value = fallback;
    QStringList out;
    for (const QString& f : value.split(u':', Qt::SkipEmptyParts))
        out << QDir::cleanPath(f);
    return out;
}

QString homeFolder(const char* name, const char* underHome)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::cleanPath(value.isEmpty() ? QDir::homePath() + u'/' + QLatin1String(underHome) : value);
}

QStringList dataFolders()
{
    return QStringList{homeFolder("XDG_DATA_HOME", ".local/share")}
           + envFolders("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

QString unescaped(const QString& v)
{
    QString out;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] != u'\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        const QChar c = v[++i];
        out += c == u's' ? QChar(u' ') : c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c == u'r' ? QChar(u'\r') : c;
    }
    return out;
}

// The groups of a key file: group -> key -> value (localised keys left out).
using Groups = QMap<QString, QMap<QString, QString>>;

Groups readKeyFile(const QString& file)
{
    Groups groups;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QTextStream in(&f);
    QString group;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            group = line.mid(1, line.size() - 2);
            groups[group];
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || group.isEmpty())
            continue;
        const QString key = line.left(eq).trimmed();
        if (!key.contains(u'['))
            groups[group][key] = line.mid(eq + 1).trimmed();
    }
    return groups;
}

QStringList listValue(const QString& v)
{
    QStringList out;
    for (const QString& item : v.split(u';', Qt::SkipEmptyParts))
        if (!item.trimmed().isEmpty())
            out << item.trimmed();
    return out;
}

// Every entry id with its file, the most important folder's first.
QList<std::pair<QString, QString>> allEntries()
{
    QList<std::pair<QString, QString>> out;
    QSet<QString> seen;
    for (const QString& folder : applicationFolders()) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString& file : files) {
            const QString id = QDir(folder).relativeFilePath(file).replace(u'/', u'-');
            if (!seen.contains(id)) {
                seen.insert(id);
                out.push_back({id, file});
            }
        }
    }
    return out;
}

bool hidden(const QString& file)
{
    const auto group = readKeyFile(file).value(QStringLiteral("Desktop Entry"));
    return group.value(QStringLiteral("Hidden")) == u"true";
}

// The mimeapps.list files in the order the rules give.
QStringList mimeAppsLists()
{
    QStringList desktops;
    for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        desktops << d.toLower();
    QStringList folders = QStringList{homeFolder("XDG_CONFIG_HOME", ".config")}
                          + envFolders("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    for (const QString& d : dataFolders())
        folders << d + QStringLiteral("/applications");
    QStringList out;
    for (const QString& folder : folders) {
        for (const QString& d : desktops)
            out << folder + u'/' + d + QStringLiteral("-mimeapps.list");
        out << folder + QStringLiteral("/mimeapps.list");
    }
    return out;
}

QString firstWord(const QString& exec)
{
    const QString s = exec.trimmed();
    if (s.startsWith(u'"')) {
        const qsizetype end = s.indexOf(u'"', 1);
        return s.mid(1, end < 0 ? -1 : end - 1);
    }
    return s.section(u' ', 0, 0);
}

} // namespace

DesktopEntry readDesktopEntry(const QString& file)
{
    const Groups groups = readKeyFile(file);
    if (!groups.contains(QStringLiteral("Desktop Entry")))
        return {};
    const auto g = groups.value(QStringLiteral("Desktop Entry"));
    DesktopEntry e;
    e.file = file;
    e.name = unescaped(g.value(QStringLiteral("Name")));
    e.exec = unescaped(g.value(QStringLiteral("Exec")));
    e.tryExec = unescaped(g.value(QStringLiteral("TryExec")));
    e.icon = unescaped(g.value(QStringLiteral("Icon")));
    e.mimeTypes = listValue(g.value(QStringLiteral("MimeType")));
    return e;
}

QStringList applicationFolders()
{
    QStringList out;
    for (const QString& d : dataFolders())
        out << d + QStringLiteral("/applications");
    return out;
}

QString desktopEntryFile(const QString& id)
{
    for (const QString& folder : applicationFolders())
        if (const QString direct = folder + u'/' + id; QFileInfo(direct).isFile())
            return direct;
    for (const auto& [entryId, file] : allEntries())
        if (entryId == id)
            return file;
    return {};
}

QString defaultApplication(const QString& mimeType)
{
    QSet<QString> removed;
    QStringList added;
    for (const QString& list : mimeAppsLists()) {
        const Groups groups = readKeyFile(list);
        for (const QString& id : listValue(groups.value(QStringLiteral("Default Applications")).value(mimeType)))
            if (!removed.contains(id))
                if (const QString file = desktopEntryFile(id); !file.isEmpty() && !hidden(file))
                    return id;
        for (const QString& id : listValue(groups.value(QStringLiteral("Added Associations")).value(mimeType)))
            if (!removed.contains(id))
                added << id;
        for (const QString& id : listValue(groups.value(QStringLiteral("Removed Associations")).value(mimeType)))
            removed.insert(id);
    }
    for (const QString& id : added)
        if (const QString file = desktopEntryFile(id); !file.isEmpty() && !hidden(file))
            return id;
    for (const auto& [id, file] : allEntries())
        if (!removed.contains(id) && !hidden(file) && readDesktopEntry(file).mimeTypes.contains(mimeType))
            return id;
    return {};
}

DesktopEntry applicationFor(const QString& program)
{
    const QString name = QFileInfo(program.trimmed()).fileName();
    if (name.isEmpty())
        return {};
    for (const auto& [id, file] : allEntries()) {
        const DesktopEntry e = readDesktopEntry(file);
        if (!e.valid() || hidden(file))
            continue;
        if (QFileInfo(e.tryExec).fileName() == name || QFileInfo(firstWord(e.exec)).fileName() == name
            || id == name + QStringLiteral(".desktop"))
            return e;
    }
    return {};
}

QIcon iconNamed(const QString& icon)
{
    const QString name = icon.trimmed();
    if (name.isEmpty())
        return {};
    if (QFileInfo(name).isAbsolute())
        return QImageReader(name).canRead() ? QIcon(name) : QIcon();
    if (QIcon themed = QIcon::fromTheme(name); !themed.isNull())
        return themed;
    for (const QString& d : dataFolders())
        for (const char* ext : {".png", ".svg", ".xpm"})
            if (const QString file = d + QStringLiteral("/pixmaps/") + name + QLatin1String(ext);
                QImageReader(file).canRead())
                return QIcon(file);
    return {};
}

} // namespace ven
