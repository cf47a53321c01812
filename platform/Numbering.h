// The numbers that forms give new records themselves, beside the engine's
// auto-numbering: the record count plus one raised while taken, with or
// without the new record's own placeholder counting as taken, the highest
// plus one, and the lowest free number from a start.
//
// GUI thread only. Every lookup reads through an instance of its own, so the
// caller's record buffer and position stay as they are.
#pragma once

#include "platform/KeyedFile.h"

namespace ven {

// The lowest number from `from` (at least 1) on under which `key` holds no
// record: `field` is the key's numbered component, the other components
// come from `others` (blank when none is given), and the record with the
// engine identity `except` does not count. 0 when the file cannot be read
// (locked, damaged): a number that might be taken is never given, and an
// auto-numbered key part left 0 is numbered by the engine as it stores.
int64_t freeNumber(const FileDef& def, uint16_t field, int key, int64_t from, const Record* others = nullptr,
                   int64_t except = 0);

// The number of records in the file plus one, raised by one while `key`
// holds it. The count includes a placeholder reserved for the new record,
// and the placeholder holds its own number like any other record.
int64_t countPlusOne(KeyedFile& file, uint16_t field, int key);

// The same, except that the new record's own placeholder does not hold its
// number: the form's number replaces the reserved one when it stores.
int64_t countPlusOneBesideOwn(KeyedFile& file, uint16_t field, int key);

// The highest `field` among the records whose components of `key` before
// it equal those of `leading` (all records when it leads), plus one; 1 when
// there is none.
int64_t highestPlusOne(const FileDef& def, uint16_t field, int key, const Record* leading = nullptr);

// Reserves a number for the new record in the file's buffer across every
// copy of the program (KeyedFile::reserve): the lowest free one from
// `from`, passed over while another copy reserves it first. What a form
// files under the number while it is open (documents, keywords) is then
// its own. The reserved record holds the key's values only; the buffer
// keeps its other values and takes the number. A failure carries the
// engine's message 32.
Status reserveNumber(KeyedFile& file, uint16_t field, int key, int64_t from);

// Raises `field` of the file's buffer by one while another record holds
// the buffer's values of `key` (the buffer's own placeholder or current
// record aside); returns the number it ends with.
int64_t raiseWhileTaken(KeyedFile& file, uint16_t field, int key);

} // namespace ven
