// Files and folders that the program makes are for the user alone: data
// files, settings, logs and notes 0600, folders 0700.
#pragma once

namespace ven {

// Sets the process's file-creation mask so that everything made from now on
// (by the engine, the settings writer, the line writer, folders) is readable
// by the user alone. Called once at start.
void keepNewFilesPrivate();

} // namespace ven
