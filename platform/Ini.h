// Settings files: reading and writing one value by file, section and entry,
// with the semantics of the Windows profile calls.
//
// Section and entry names ignore letter case (ASCII) and surrounding blanks;
// values are raw text without escaping, their surrounding blanks dropped on
// reading. A file that is missing, empty, unreadable or not a settings file
// (it holds NUL bytes) reads as empty. A write creates the file and the
// section when missing; it changes or adds the one line "entry=value" (no
// blanks around "=", no byte-order mark, the file's own line ends) and
// leaves every other line as it was. It goes to a temporary file in the same
// folder that is then renamed over the old one, so a crash never leaves a
// half-written file.
// Parsed files are cached by path and revalidated by their modification
// time, size and inode, so repeated reads are cheap. Thread-safe; writes of
// several processes to one folder are serialised with a lock on the folder.
#pragma once
#include <QString>

namespace ven {

// The entry's value; `def` when the file, section or entry is missing. An
// entry that is present but empty gives "".
QString readIni(const QString& file, const QString& section, const QString& entry, const QString& def);

// The entry's value as a decimal number: `def` when the entry is missing;
// otherwise the leading whole number of the value (optional blanks and sign,
// then digits: "12abc" is 12), 0 when it does not start with one (blank
// included). Values beyond the int range are clamped.
int readIniInt(const QString& file, const QString& section, const QString& entry, int def);

// Sets the entry's value. False when the file cannot be read or written,
// its folder does not exist, it is not a settings file, a name is empty, a
// section name holds "]" or a line break, an entry name holds "=" or a line
// break or starts with "[", ";" or "#", or the value holds a line break; the
// file is then unchanged and `why`, when given, says which of these it was
// ("it cannot be written: Permission denied").
bool writeIni(const QString& file, const QString& section, const QString& entry, const QString& value,
              QString* why = nullptr);

} // namespace ven
