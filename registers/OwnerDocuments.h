// The documents of one owner (its letter and number, the letter without
// regard to case), for the forms that file documents under a record they
// are still inserting.
//
// GUI thread only. Reads and writes through instances of its own.
#pragma once

#include <QString>

#include <cstdint>
#include <set>

namespace ven {

// The numbers of the documents filed under the owner now.
std::set<int64_t> documentsOf(const QString& catid, int64_t catnum);
// Deletes the owner's documents, with their keywords, except `keep`: what
// a cancelled insert filed under the number it would have had.
void removeDocumentsOf(const QString& catid, int64_t catnum, const std::set<int64_t>& keep);

} // namespace ven
