// MakeLitImportPr: writes this year's feasts for the reminder program, one
// file per language 0..9, without a window of its own.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowController.h"

#include <QStringList>

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeMakeLitImportPr(const QString& parameter);

// Where the import files go: the program folder (the current folder when
// none is set).
QString importFilePath(const QString& name);

// Writes the lines of an import file afresh; a file without lines is not
// kept, so no earlier run's lines remain. The messages of a failure, each
// naming the file; none on success. A line holding characters that the
// files' code page lacks is written with "?" for them and named in `notices`.
QStringList writeImportFile(const QString& name, const QStringList& lines, QStringList* notices = nullptr);

// Tells how a run of import files ended: the failures, else the lines
// whose characters the code page lacks; true when every file was written.
bool tellImportRun(const QStringList& failures, const QStringList& notices);

// Reads every feast of `lit` (open) and writes the files of languages
// 0..9 for `year`, setting TextFileName to each in turn; `read` is the
// reading's failure (then nothing is written). The write failures' messages.
QStringList writeFeastImportFiles(KeyedFile& lit, int year, Status& read, QStringList* notices = nullptr);

} // namespace ven
