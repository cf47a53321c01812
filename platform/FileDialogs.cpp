// The file, folder and printer choosers, or the functions that stand in for them.
#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace ven {
namespace {

FileDialogs& dialogs()
{
    static FileDialogs d;
    return d;
}

} // namespace

void setFileDialogs(FileDialogs d) { dialogs() = std::move(d); }

QString chooseFile(QWidget* parent, const QString& title, const QString& start, const QString& filter)
{
    if (dialogs().file)
        return dialogs().file(parent, title, start, filter);
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString chooseFolder(QWidget* parent, const QString& title, const QString& start)
{
    if (dialogs().folder)
        return dialogs().folder(parent, title, start);
    return QFileDialog::getExistingDirectory(parent, title, start);
}

std::optional<QString> choosePrinter(QWidget* parent, const QString& title)
{
    if (dialogs().printer)
        return dialogs().printer(parent, title);
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return printer.printerName();
}

} // namespace ven
