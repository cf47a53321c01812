// Opening a filed document: in the built-in text viewer ("VIEW"), with the
// program the document names from the program register, or through the
// desktop; then one activity-log line " Open: ". The document form, the
// category form, the keyword search, the idea-detail form, the diary entry
// and the name form open their documents this way.
//
// GUI thread only.
#pragma once

#include "platform/KeyedFile.h"

#include <QString>

class QObject;

namespace ven {

// The document's full reference: its folder joined with its name.
QString documentReference(const Record& doc);
// True for a web document (its path is the scheme "http://" or "https://").
bool isWebDocument(const Record& doc);

// How a caller tells a program record that cannot be read.
enum class ProgramReadReport : uint8_t {
    Plain,     // a clear message box naming the program
    WithOpen,  // the category form: "Share: ", "Get: " and "Close: " boxes
    GetOnly,   // the keyword search: the "Get: " box
};

// Opens the document `doc` (a VenDoc record) for `window`:
// - the program "VIEW" (any case, blanks around it) starts the text viewer;
// - another program name starts that register program with the document
//   as its one argument, in the document's folder when that exists;
// - no program hands the document (a web document: its address) to the
//   desktop, which never executes it.
// A program name the register does not hold is told (as `report` says)
// and the document goes to the desktop instead. Unless the log mode is
// "N" the log gets the line "hh:mm:ss Open: <document>".
void OpenDocument(const Record& doc, QObject* window, ProgramReadReport report = ProgramReadReport::Plain);

} // namespace ven
