// The document form: one document of an owner (a name, a diary entry, an
// idea detail or a document category) inserted, changed or deleted, with
// its keywords; the path split into folder and name; the automatic
// keywords made from the description.
//
// GUI thread only. Run on the owner's thread with the request in
// CallRequest; for change and delete the document is in that thread's
// VenDoc buffer.
#pragma once

#include "platform/WindowController.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace ven {

// A typed document path taken apart: a web address ("http://" or
// "https://", any case) becomes the scheme in lower case as the path and
// the address as typed as the name; a file path the folder up to and
// including its last separator and the file name after it. A path that
// brings no name of its own (a folder, a scheme alone) keeps `name`; a
// path without any separator is all name.
struct DocumentPathSplit {
    QString path;
    QString name;
    bool web = false;
    // The folder that new documents start in next: the split folder without
    // its last separator, except for a root ("/", "C:\"); empty when the
    // path names no folder (a web address, a bare name).
    QString documentFolder;
};
DocumentPathSplit SplitDocumentPath(const QString& path, const QString& name = {});

// The keywords made from a description: its words of two or more
// characters (blanks separate; punctuation belongs to the word), each cut
// to 20 characters, once each without regard to case, in order.
QStringList automaticKeywords(const QString& description);

// Reads: CallRequest; GCatId and GCatNum (a new document's owner),
// GDocPath and GDocDescription (a new document's defaults), Document_Path;
// the thread's VenDCat buffer (the category named in the caption).
// Writes: Document_Path, also to [Paths] of Program_Path's settings file
// when a file document is saved.
// Calls on its thread: "ProgramsBr" (select mode), KeywordFr.
std::unique_ptr<WindowController> makeUpdateVenDoc(const QString& parameter = {});

} // namespace ven
