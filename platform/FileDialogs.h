// The choosers a window opens (a file, a folder, a printer), behind one
// seam so that tests answer them in place of Qt's own dialogs.
//
// GUI thread only. Each chooser gets the parent window and its title; a
// cancelled chooser gives an empty text (printer: no value).
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace ven {

struct FileDialogs {
    // A file: the starting folder or file, the filter ("Wav-Files (*.wav)").
    std::function<QString(QWidget*, const QString& title, const QString& start, const QString& filter)> file = {};
    // A folder, starting at `start`.
    std::function<QString(QWidget*, const QString& title, const QString& start)> folder = {};
    // The printer set-up: the chosen printer's name.
    std::function<std::optional<QString>(QWidget*, const QString& title)> printer = {};
};
// Replaces the choosers; empty functions use Qt's own dialogs.
void setFileDialogs(FileDialogs dialogs);

QString chooseFile(QWidget* parent, const QString& title, const QString& start, const QString& filter);
QString chooseFolder(QWidget* parent, const QString& title, const QString& start);
std::optional<QString> choosePrinter(QWidget* parent, const QString& title);

} // namespace ven
