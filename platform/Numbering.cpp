// Numbers for new records chosen by their forms.
#include "platform/Numbering.h"

#include <algorithm>

namespace ven {
namespace {

int partOf(const FileDef& def, int key, uint16_t field)
{
    const auto& parts = def.keys[key].parts;
    auto it = std::find_if(parts.begin(), parts.end(), [field](const KeyPart& p) { return p.field == field; });
    return it == parts.end() ? -1 : int(it - parts.begin());
}

// The own record that does not count as holding a number: the placeholder
// reserved for an insert, else the record read last.
int64_t ownRecord(const KeyedFile& f)
{
    return f.autoIncPending() ? f.pendingAutoId() : f.currentId();
}

} // namespace

int64_t freeNumber(const FileDef& def, uint16_t field, int key, int64_t from, const Record* others, int64_t except)
{
    Context lookup;
    KeyedFile& f = lookup.file(def);
    int64_t n = std::max<int64_t>(from, 1);
    if (!f.open())
        return 0;
    for (;; ++n) {
        if (others)
            f.rec() = *others;
        else
            f.rec().clear();
        f.rec().set(field, n);
        const Record probe = f.rec();
        const Status got = f.get(key);
        if (got.code == Err::NotFound)
            break;
        if (!got) {
            // Locked or unreadable: no number is known to be free.
            n = 0;
            break;
        }
        if (f.currentId() != except)
            continue;
        // The excepted record holds it; another may too where the key
        // allows duplicates: it follows in key order with equal values.
        bool other = false;
        while (!other && f.next()) {
            Record again = probe;
            bool same = true;
            for (const KeyPart& p : def.keys[key].parts)
                again.setValue(p.field, f.rec().value(p.field));
            for (const KeyPart& p : def.keys[key].parts)
                if (QString::compare(again.get(p.field).toString().trimmed(), probe.get(p.field).toString().trimmed(),
                                     Qt::CaseInsensitive) != 0)
                    same = false;
            if (!same)
                break;
            other = f.currentId() != except;
        }
        if (!other)
            break;
    }
    f.close();
    return n;
}

int64_t countPlusOne(KeyedFile& file, uint16_t field, int key)
{
    return freeNumber(file.def(), field, key, file.records() + 1, &file.rec());
}

int64_t countPlusOneBesideOwn(KeyedFile& file, uint16_t field, int key)
{
    return freeNumber(file.def(), field, key, file.records() + 1, &file.rec(), file.pendingAutoId());
}

int64_t highestPlusOne(const FileDef& def, uint16_t field, int key, const Record* leading)
{
    const int part = partOf(def, key, field);
    Context lookup;
    KeyedFile& f = lookup.file(def);
    if (part < 0 || !f.open())
        return 1;
    if (leading)
        f.rec() = *leading;
    else
        f.rec().clear();
    int64_t n = 1;
    if (!f.nextNumber(key, n, part))
        n = 1;
    f.close();
    return std::max<int64_t>(n, 1);
}

Status reserveNumber(KeyedFile& file, uint16_t field, int key, int64_t from)
{
    // The reserved record holds the key's values only, so that no list
    // or report shows it; the buffer keeps the rest.
    const Record given = file.rec();
    Record& r = file.rec();
    r.clear();
    for (const KeyPart& p : file.def().keys[key].parts)
        r.setValue(p.field, given.value(p.field));
    int64_t n = std::max<int64_t>(from, 1);
    Status st;
    for (int tries = 0; tries < 1000; ++tries) {
        // An unreadable file gives no free number; the reservation then
        // tells why it cannot be made, or the unique key keeps it sound.
        if (const int64_t free = freeNumber(file.def(), field, key, n, &r, file.pendingAutoId()))
            n = free;
        r.set(field, n);
        st = file.reserve();
        if (st.code != Err::DuplicateKey)
            break;
        ++n;  // another copy reserved it meanwhile
    }
    r = given;
    if (st)
        r.set(field, n);
    return st;
}

int64_t raiseWhileTaken(KeyedFile& file, uint16_t field, int key)
{
    const int64_t n = freeNumber(file.def(), field, key, file.rec().num(field), &file.rec(), ownRecord(file));
    file.rec().set(field, n);
    return n;
}

} // namespace ven
