// Window placements in the settings file.
#include "platform/SettingsFile.h"

#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Procedure.h"

#include <QDir>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

namespace ven {

QString SettingsFile::file() const
{
    return file_.isEmpty() ? QDir::current().filePath(QStringLiteral("Vendrolix.ini")) : file_;
}

QString SettingsFile::programFile()
{
    return QDir(Program_Path.isEmpty() ? QDir::currentPath() : Program_Path).filePath(QStringLiteral("Vendrolix.ini"));
}

namespace {

// The area a window may stand in: the frame's MDI viewport for its
// sub-windows, the screens for top-level windows.
bool onSomeScreen(const QWidget* w, const QRect& r)
{
    if (auto* sub = qobject_cast<const QMdiSubWindow*>(w)) {
        if (QMdiArea* area = sub->mdiArea())
            return area->viewport()->rect().intersects(r);
        return true;
    }
    for (QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(r))
            return true;
    return false;
}

} // namespace

bool SettingsFile::restorePlacement(const QString& procedure, QWidget* window) const
{
    const QString f = file();
    const QString maximize = readIni(f, procedure, QStringLiteral("Maximize"), QString());
    if (maximize == QLatin1String("Yes")) {
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
        return true;
    }
    const int x = readIniInt(f, procedure, QStringLiteral("XPos"), INT_MIN);
    const int y = readIniInt(f, procedure, QStringLiteral("YPos"), INT_MIN);
    const int w = readIniInt(f, procedure, QStringLiteral("Width"), 0);
    const int h = readIniInt(f, procedure, QStringLiteral("Height"), 0);
    if (x == INT_MIN || y == INT_MIN || w <= 0 || h <= 0 || w > 100000 || h > 100000)
        return false;
    if (!onSomeScreen(window, QRect(x, y, w, h)))
        return false;
    window->move(x, y);
    window->resize(w, h);
    return true;
}

void SettingsFile::savePlacement(const QString& procedure, const QWidget* window) const
{
    if (window->isMinimized())
        return;
    const QString f = file();
    if (!sectors_.contains(procedure, Qt::CaseInsensitive))
        sectors_ << procedure;
    const bool max = window->isMaximized();
    writeIniTold(f, procedure, QStringLiteral("Maximize"), max ? QStringLiteral("Yes") : QStringLiteral("No"));
    if (max)
        return;
    writeIniTold(f, procedure, QStringLiteral("XPos"), QString::number(window->x()));
    writeIniTold(f, procedure, QStringLiteral("YPos"), QString::number(window->y()));
    writeIniTold(f, procedure, QStringLiteral("Width"), QString::number(window->width()));
    writeIniTold(f, procedure, QStringLiteral("Height"), QString::number(window->height()));
}

void SettingsFile::readSectors()
{
    sectors_ = readIni(file(), QStringLiteral("__Dont_Touch_Me__"), QStringLiteral("Sectors"), QString())
                   .split(',', Qt::SkipEmptyParts);
}

void SettingsFile::writeSectors() const
{
    writeIniTold(file(), QStringLiteral("__Dont_Touch_Me__"), QStringLiteral("Sectors"), sectors_.join(','));
}

SettingsFile& settingsFile()
{
    static SettingsFile s;
    return s;
}

WallpaperStyle wallpaperStyle(const QString& style)
{
    QString s = style;
    while (s.endsWith(' '))
        s.chop(1);
    WallpaperStyle w;
    w.stretched = s == QLatin1String("Stretched");
    w.centered = s == QLatin1String("Centered");
    w.tiled = s == QLatin1String("Tiled");
    return w;
}

} // namespace ven
