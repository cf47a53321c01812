// Files and folders that the program makes take the sharing of the folder
// they are made in: in a private folder they are for the user alone (files
// 0600, folders 0700); in a folder that its group may write (a folder shared
// by a group, as git's shared repositories do) they are group-readable and
// -writable, in the folder's group.
#pragma once

#include <QString>

namespace ven {

// Sets the process's file-creation mask so that everything made from now on
// is readable by the user alone unless its maker shares it (shareLikeFolder).
// Called once at start.
void keepNewFilesPrivate();

// True when the group of `folder` may write in it.
bool folderIsShared(const QString& folder);

// Gives the file just made and opened as `fd` in `folder` the sharing of the
// folder: in a shared one, mode 0660 and the folder's group; elsewhere
// nothing changes. False (errno set) when the change was refused.
bool shareLikeFolder(int fd, const QString& folder);
// The same for a file (or a folder: 2770) by its path.
bool shareLikeFolder(const QString& path);

} // namespace ven
