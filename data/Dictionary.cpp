// The file tables made from data/Files.def, and the relations between files.
#include "data/Dictionary.h"

namespace ven {
namespace {

enum Flags { UNIQUE = 1, OPTIONAL = 2, PRIMARY = 4 };
constexpr bool ENCRYPTED = true, PLAIN = false;
constexpr bool FIXED_PATH = true, IN_FOLDER = false;
constexpr bool REUSE_SPACE = true, KEEP_SPACE = false;

} // namespace

#define VEN_FILE(lbl, p, enc, fixed, reuse)                                                                          \
    const FileDef lbl = [] {                                                                                         \
        using namespace p;                                                                                             \
        FileDef d;                                                                                                     \
        d.label = #lbl;                                                                                              \
        d.prefix = #p;                                                                                                 \
        d.encrypted = enc;                                                                                             \
        d.fixedPath = fixed;                                                                                           \
        d.reuseSpace = reuse;
#define VEN_FIELD(p, n, t, s) d.fields.push_back({#n, FieldType::t, s, nullptr});
#define VEN_MEMO(p, n, s, e) d.fields.push_back({#n, FieldType::Memo, s, e});
#define ASC(f) KeyPart{f, false}
#define DESC(f) KeyPart{f, true}
#define VEN_KEY(p, n, flags, autoPart, desc, ...)                                                                      \
    d.keys.push_back(KeyDef{#p ":" #n, {__VA_ARGS__}, ((flags) & UNIQUE) != 0, ((flags) & OPTIONAL) != 0,             \
                            ((flags) & PRIMARY) != 0, autoPart, desc});
#define VEN_INIT(p, n, v) d.initial.push_back({n, Value(v)});
#define VEN_RANGE(p, n, lo, hi, ft, bt) d.ranges.push_back({n, lo, hi, ft, bt});
#define VEN_END(lbl)                                                                                                   \
    return d;                                                                                                          \
    }                                                                                                                  \
    ();
#include "data/Files.def"
#undef VEN_FILE
#undef VEN_FIELD
#undef VEN_MEMO
#undef VEN_KEY
#undef VEN_INIT
#undef VEN_RANGE
#undef VEN_END
#undef ASC
#undef DESC

namespace {

// Initial values given as text or number become the field's own kind.
Value normalised(const FileDef& d, const InitialValue& iv)
{
    Record r(&d);
    r.setValue(iv.field, iv.value);
    return r.value(iv.field);
}

Dictionary makeDictionary()
{
    Dictionary dict;
#define VEN_FILE(label, ...) dict.files.push_back(&label);
#define VEN_FIELD(...)
#define VEN_MEMO(...)
#define VEN_KEY(...)
#define VEN_INIT(...)
#define VEN_RANGE(...)
#define VEN_END(label)
#include "data/Files.def"
    using R = Rule;
    dict.relations = {
        {&VenIdea, &VenISub, "SUB:IDE_KEY", {{IDE::NUMBER, SUB::IDENUM}}, R::Cascade, R::Cascade},
        {&VenISub, &VenDoc, "DOC:CAT_KEY", {{SUB::CATID, DOC::CATID}, {SUB::SIDENUM, DOC::CATNUM}}, R::Cascade, R::Cascade},
        {&VenDry, &VenDoc, "DOC:CAT_KEY", {{DRY::CATID, DOC::CATID}, {DRY::NUMBER, DOC::CATNUM}}, R::Cascade, R::Cascade},
        {&VenNam, &VenDoc, "DOC:CAT_KEY", {{NAM::CATID, DOC::CATID}, {NAM::RECNO, DOC::CATNUM}}, R::Cascade, R::Cascade},
        {&VenDCat, &VenDoc, "DOC:CAT_KEY", {{CAT::CATID, DOC::CATID}, {CAT::CATNUM, DOC::CATNUM}}, R::Restrict, R::Restrict},
        {&VenDoc, &VenKWrd, "WRD:DOC_KEY", {{DOC::DOCNUM, WRD::DOCNUM}}, R::Cascade, R::Cascade},
        {&VenAcc, &VenMoney, "MON:ACCOUNT_KEY", {{ACC::TYPE, MON::TYPE}, {ACC::NUMBER, MON::NUMBER}}, R::Cascade, R::Restrict},
    };
    for (const FileDef* f : dict.files)
        for (InitialValue& iv : const_cast<FileDef*>(f)->initial)
            iv.value = normalised(*f, iv);
    return dict;
}

} // namespace

const Dictionary& dictionary()
{
    static const Dictionary d = makeDictionary();
    return d;
}

void InitDataFiles()
{
    Store::instance().setDictionary(&dictionary());
}

void KillDataFiles()
{
    Store::instance().closeIdle();
    Store::instance().setDictionary(nullptr);
}

} // namespace ven
