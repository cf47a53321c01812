// The relation object: a record's delete and its change of linking fields
// carried to its children by the dictionary's rules (cascade), or refused
// while children exist (restrict). The rules work through instances of
// their own, so that the windows' buffers and positions stay as they are.
#include "platform/KeyedEngine.h"

namespace ven {

using namespace kf;

namespace {

std::vector<const RelationDef*> childRelations(const FileDef* parent)
{
    std::vector<const RelationDef*> out;
    if (const Dictionary* d = Store::instance().dictionary())
        for (const RelationDef& r : d->relations)
            if (r.parent == parent)
                out.push_back(&r);
    return out;
}

// Visits the children of `parent` (by its values in `parentRec`) through
// the relation's child key; fn returns false to stop.
template <class Fn>
Status forEachChild(Context& ctx, const RelationDef& rel, const Record& parentRec, Fn&& fn)
{
    KeyedFile& child = ctx.file(*rel.child);
    if (Status st = child.open(); !st)
        return st;
    const int key = rel.child->findKey(QString::fromUtf8(rel.childKey));
    child.rec().clear();
    for (auto [pf, cf] : rel.links)
        child.rec().setValue(cf, parentRec.value(pf));
    Status st = child.setFromBuffer(key);
    std::vector<int64_t> ids;
    while (st.ok()) {
        st = child.next();
        if (!st.ok())
            break;
        bool match = true;
        for (auto [pf, cf] : rel.links)
            if (!valueKeyEqual(child.rec().value(cf), parentRec.value(pf)))
                match = false;
        if (!match)
            break;
        ids.push_back(child.currentId());
    }
    if (!st.ok() && st.code != Err::EndOfFile) {
        child.close();
        return st;
    }
    // Collected first, so that the visit may change or delete the children.
    Status out;
    for (int64_t id : ids) {
        if (Status g = child.getById(id); !g)
            continue;
        if (!fn(child, out))
            break;
    }
    child.close();
    return out;
}

// True when the parent's linking fields of rel differ between a and b.
bool linksChanged(const RelationDef& rel, const Record& a, const Record& b)
{
    for (auto [pf, cf] : rel.links)
        if (!valueKeyEqual(a.value(pf), b.value(pf)))
            return true;
    return false;
}

Status restrictDeleteBelow(Context& ctx, const FileDef* def, const Record& rec)
{
    for (const RelationDef* rel : childRelations(def)) {
        Status found;
        Status st = forEachChild(ctx, *rel, rec, [&](KeyedFile& child, Status& out) {
            if (rel->remove == Rule::Restrict) {
                out = withMessage(Status::fail(Err::Restricted, "Restricted"), 30, *rel->child);
                return false;
            }
            out = restrictDeleteBelow(ctx, rel->child, child.rec());
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

Status cascadeDeleteBelow(Context& ctx, const FileDef* def, const Record& rec)
{
    for (const RelationDef* rel : childRelations(def)) {
        Status st = forEachChild(ctx, *rel, rec, [&](KeyedFile& child, Status& out) {
            Record copy = child.rec();
            out = cascadeDeleteBelow(ctx, rel->child, copy);
            if (out.ok())
                out = child.remove();
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

} // namespace

Status KeyedFile::deleteWithChildren()
{
    if (Status st = ensureOpen(); !st)
        return st;
    if (Status st = requireCurrent(11); !st)
        return st;
    Context work;  // the relation's own instances leave the windows' buffers alone
    const Record rec = original_;
    if (Status st = restrictDeleteBelow(work, def_, rec); !st)
        return st;
    if (Status st = cascadeDeleteBelow(work, def_, rec); !st)
        return st;
    return remove();
}

Status KeyedFile::checkUpdateRestrict(const Record& oldRec)
{
    for (const RelationDef* rel : childRelations(def_)) {
        if (rel->update != Rule::Restrict || !linksChanged(*rel, oldRec, rec_))
            continue;
        Context work;
        bool any = false;
        Status st = forEachChild(work, *rel, oldRec, [&](KeyedFile&, Status&) {
            any = true;
            return false;
        });
        if (!st.ok())
            return st;
        if (any) {
            for (auto [pf, cf] : rel->links)
                rec_.setValue(pf, oldRec.value(pf));
            return withMessage(Status::fail(Err::Restricted, "Restricted"), 31, *rel->child);
        }
    }
    return {};
}

Status KeyedFile::cascadeUpdate(const Record& oldRec)
{
    for (const RelationDef* rel : childRelations(def_)) {
        if (rel->update != Rule::Cascade || !linksChanged(*rel, oldRec, rec_))
            continue;
        Context work;
        Status st = forEachChild(work, *rel, oldRec, [&](KeyedFile& child, Status& out) {
            for (auto [pf, cf] : rel->links)
                child.rec().setValue(cf, rec_.value(pf));
            out = child.updateWithChildren();
            return out.ok();
        });
        if (!st.ok())
            return st;
    }
    return {};
}

Status KeyedFile::updateWithChildren()
{
    if (Status st = ensureOpen(); !st)
        return st;
    const Record oldRec = original_;
    if (Status st = checkUpdateRestrict(oldRec); !st)
        return st;
    if (Status st = update(); !st)
        return st;
    return cascadeUpdate(oldRec);
}
}  // namespace ven
