// An owner's documents, read by the document owner key.
#include "registers/OwnerDocuments.h"

#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"

namespace ven {

std::set<int64_t> documentsOf(const QString& catid, int64_t catnum)
{
    std::set<int64_t> out;
    Context ctx;
    KeyedFile& d = ctx.file(VenDoc);
    if (!d.open())
        return out;
    d.rec().clear();
    d.rec().set(DOC::CATID, catid);
    d.rec().set(DOC::CATNUM, catnum);
    d.setFromBuffer(DOC::CAT_KEY);
    while (d.next() && d.rec().str(DOC::CATID).trimmed().compare(catid.trimmed(), Qt::CaseInsensitive) == 0
           && d.rec().num(DOC::CATNUM) == catnum)
        out.insert(d.rec().num(DOC::DOCNUM));
    return out;
}

void removeDocumentsOf(const QString& catid, int64_t catnum, const std::set<int64_t>& keep)
{
    Context ctx;
    KeyedFile& d = ctx.file(VenDoc);
    if (Status st = d.open(); !st) {
        errors().show(st);
        return;
    }
    for (int64_t n : documentsOf(catid, catnum)) {
        if (keep.count(n))
            continue;
        d.rec().clear();
        d.rec().set(DOC::DOCNUM, n);
        if (d.get(DOC::NUM_KEY))
            if (Status st = d.deleteWithChildren(); !st)
                errors().show(st);
    }
}

} // namespace ven
