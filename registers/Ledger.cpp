#include "registers/Ledger.h"

#include "data/Dictionary.h"

#include <set>
#include <tuple>

namespace ven {
namespace {

constexpr int32_t kLastTime = 8640000;  // 24:00, the last time value of a day

Status failure(const QString& text)
{
    Status s = Status::fail(Err::Io, text);
    s.text = text;
    return s;
}

bool isBank(const QString& t) { return t.trimmed().compare(u"B", Qt::CaseInsensitive) == 0; }
bool isExpense(const QString& t) { return t.trimmed().compare(u"E", Qt::CaseInsensitive) == 0; }

} // namespace

Cents Posting::whole() const
{
    Cents sum = 0;
    for (const Part& p : parts)
        sum += p.amount;
    return sum;
}

Cents toChange(const QString& toType, Cents part) { return isBank(toType) ? -part : part; }
Cents fromChange(const QString& toType, Cents whole) { return isExpense(toType) ? -whole : whole; }

Status postTransaction(const Posting& p, int64_t* fromRow)
{
    if (p.parts.empty())
        return failure(QStringLiteral("Nothing to post"));
    Context ctx;
    KeyedFile& mon = ctx.file(VenMoney);
    KeyedFile& acc = ctx.file(VenAcc);
    if (Status st = mon.open(); !st)
        return st;
    if (Status st = acc.open(); !st)
        return st;
    WriteBatch batch({&mon, &acc});
    if (!batch.isOpen())
        return batch.status();

    // The rows placed by this posting, by (time, type, number).
    std::set<std::tuple<int32_t, QString, int>> placed;
    auto addRow = [&](const AccountId& a, int32_t from, const AccountId& counter, Cents amount) -> Status {
        const QString type = a.type.trimmed().toUpper();
        int32_t t = from;
        for (;; ++t) {
            if (t > kLastTime)
                return failure(QStringLiteral("No free time is left on that day for account %1 %2").arg(type).arg(a.number));
            if (placed.count({t, type, a.number}))
                continue;
            mon.rec().clear();
            mon.rec().set(MON::DATE, int64_t(p.date));
            mon.rec().set(MON::TIME, int64_t(t));
            mon.rec().set(MON::TYPE, type);
            mon.rec().set(MON::NUMBER, int64_t(a.number));
            Status got = mon.get(MON::CRONO_KEY);
            if (got.code == Err::NotFound)
                break;
            if (!got)
                return got;
        }
        placed.insert({t, type, a.number});
        Record& r = mon.rec();
        r.clear();
        r.set(MON::DATE, int64_t(p.date));
        r.set(MON::TIME, int64_t(t));
        r.set(MON::TYPE, type);
        r.set(MON::NUMBER, int64_t(a.number));
        r.set(MON::ACCTYPE2, counter.type.trimmed().toUpper());
        r.set(MON::ACCNO2, int64_t(counter.number));
        setCents(r, MON::AMOUNT, amount);
        r.set(MON::LEGEND, p.legend);
        return mon.add();
    };
    auto addToTotal = [&](const AccountId& a, Cents change) -> Status {
        acc.rec().clear();
        acc.rec().set(ACC::TYPE, a.type.trimmed().toUpper());
        acc.rec().set(ACC::NUMBER, int64_t(a.number));
        if (Status st = acc.get(ACC::ACCOUNT_KEY); !st) {
            if (st.code == Err::NotFound)
                return failure(QStringLiteral("Account %1 %2 Not Found").arg(a.type.trimmed()).arg(a.number));
            return st;
        }
        setCents(acc.rec(), ACC::AMOUNT, centsField(acc.rec(), ACC::AMOUNT) + change);
        return acc.put();
    };

    const QString toType = p.parts.front().to.type;
    for (const Posting::Part& part : p.parts) {
        if (part.to.type.trimmed().compare(toType.trimmed(), Qt::CaseInsensitive) != 0)
            return failure(QStringLiteral("The parts of a split go to accounts of one type"));
        if (Status st = addRow(part.to, p.time + 2, p.from, toChange(toType, part.amount)); !st)
            return st;
        if (Status st = addToTotal(part.to, toChange(toType, part.amount)); !st)
            return st;
    }
    const Cents whole = p.whole();
    if (Status st = addRow(p.from, p.time + 1, p.parts.front().to, fromChange(toType, whole)); !st)
        return st;
    const int64_t from = mon.currentId();
    if (Status st = addToTotal(p.from, fromChange(toType, whole)); !st)
        return st;
    if (Status st = batch.commit(); !st)
        return st;
    if (fromRow)
        *fromRow = from;
    return {};
}

} // namespace ven
