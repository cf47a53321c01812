// The desktop's application entries (".desktop" files) as the freedesktop
// rules find them: the folders of XDG_DATA_HOME and XDG_DATA_DIRS, the
// default applications of the mimeapps.list files, and the icons named by
// an entry. Read afresh on each call, so a handler installed meanwhile is
// found.
#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace ven {

// The keys of an entry's [Desktop Entry] group that the system uses.
struct DesktopEntry {
    QString file;     // where it was read; empty when there was none
    QString name;     // Name
    QString exec;     // Exec, field codes and all
    QString tryExec;  // TryExec
    QString icon;     // Icon: a theme name or a file
    QStringList mimeTypes;
    bool valid() const { return !file.isEmpty(); }
};

// Reads an entry file; an invalid entry when it is not one.
DesktopEntry readDesktopEntry(const QString& file);

// The folders that hold application entries, most important first.
QStringList applicationFolders();

// The entry file of a desktop id ("org.gnome.Calls.desktop"), or empty.
QString desktopEntryFile(const QString& id);

// The desktop id of the application registered as the default for a MIME
// type ("x-scheme-handler/tel"), as xdg-mime query default answers: the
// mimeapps.list defaults, then the added associations, then any entry that
// declares the type; empty when no installed application handles it.
QString defaultApplication(const QString& mimeType);

// The installed entry that starts `program` (a path or bare name): its
// TryExec or the first word of its Exec names the program, or its id is the
// program's name. Invalid when there is none.
DesktopEntry applicationFor(const QString& program);

// The icon an entry's Icon value names: a readable picture file, else the
// theme's icon of that name, else a picture of that name in the shared
// pixmaps folder. Null when none is found.
QIcon iconNamed(const QString& icon);

} // namespace ven
