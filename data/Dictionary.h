// The data dictionary: the 23 data files with their fields, keys, initial
// values and range checks (declared in data/Files.def), and the relations
// between them. Field constants read DRY::LEGEND, key constants
// DRY::CHRONOKEY; each file's declaration is the FileDef named by its label.
#pragma once

#include "platform/KeyedFile.h"

// <cerrno> defines ETIME, the name of two time fields; it is included once
// here and the macro dropped, so that DRY::ETIME and PRO::ETIME stand.
#include <cerrno>
#undef ETIME

namespace ven {

// Field constants, one enum per file's prefix.
#define VEN_FILE(label, p, ...) namespace p { enum Field : uint16_t {
#define VEN_FIELD(p, n, t, s) n,
#define VEN_MEMO(p, n, s, e) n,
#define VEN_KEY(...)
#define VEN_INIT(...)
#define VEN_RANGE(...)
#define VEN_END(label) }; }
#include "data/Files.def"
#undef VEN_FILE
#undef VEN_FIELD
#undef VEN_MEMO
#undef VEN_KEY
#undef VEN_END

// Key constants: a key's number within its file.
#define VEN_FILE(label, p, ...) namespace p { enum Key : int {
#define VEN_FIELD(...)
#define VEN_MEMO(...)
#define VEN_KEY(p, n, ...) n,
#define VEN_END(label) }; }
#include "data/Files.def"
#undef VEN_FILE
#undef VEN_FIELD
#undef VEN_MEMO
#undef VEN_KEY
#undef VEN_END

// The files' declarations, named by their labels.
#define VEN_FILE(label, ...) extern const FileDef label;
#define VEN_FIELD(...)
#define VEN_MEMO(...)
#define VEN_KEY(...)
#define VEN_END(label)
#include "data/Files.def"
#undef VEN_FILE
#undef VEN_FIELD
#undef VEN_MEMO
#undef VEN_KEY
#undef VEN_INIT
#undef VEN_RANGE
#undef VEN_END

// The whole dictionary: every file and every relation.
const Dictionary& dictionary();

// Makes the dictionary the engine's: relations reach every file. Opens no file.
void InitDataFiles();
// Releases the engine's shared connections. Opens no file.
void KillDataFiles();

} // namespace ven
