// Replacing a whole file so that it holds its old text or the whole new one:
// the new text goes to a temporary file beside it, every byte written and
// synced, and only then renamed over the old one. A full disk, a read-only
// folder or any other failed write leaves the old file as it was and no
// temporary file behind. New files take the sharing of their folder (0600,
// or 0660 in a folder its group may write: PrivateFiles.h); a file that is
// replaced keeps its own permissions.
#pragma once

#include <QByteArray>
#include <QString>

namespace ven {

// Empty when `path` now holds `data`; else why not ("No space left on
// device"), the file unchanged.
QString replaceFile(const QString& path, const QByteArray& data);

} // namespace ven
