// The small ledger's posting: a transaction from one account to one or
// more accounts of one type (a split), written as rows of VenMoney and the
// running totals of VenAcc in one transaction over both files, so that
// every row and every total changes, or none does.
//
// GUI thread only.
#pragma once

#include "core/Money.h"
#include "platform/KeyedFile.h"

#include <vector>

namespace ven {

struct AccountId {
    QString type;  // "B", "I" or "E"
    int number = 0;
};

struct Posting {
    int32_t date = 0;
    int32_t time = 0;  // the entered time; the rows lie at time + 1 and + 2 on
    AccountId from;
    QString legend;
    struct Part {
        AccountId to;  // every part's To account is of one type
        Cents amount = 0;
    };
    std::vector<Part> parts;

    Cents whole() const;
};

// The change a posting makes to its To account for a part, and to its From
// account for the whole: the lower (To) type decides the direction.
Cents toChange(const QString& toType, Cents part);
Cents fromChange(const QString& toType, Cents whole);

// Writes the posting: the From row once (at the first free hundredth from
// time + 1) and a To row per part (from time + 2), each row carrying its
// account's change, and adds the changes to the accounts' totals. A row
// whose time is taken for its account moves on to the next free hundredth
// of the day, so that rows and totals always agree. Fails without writing
// anything (message 21's kind of status, or "Account Not Found") when an
// account is missing, the day has no free time left, or a write fails.
// `fromRow`, when given, receives the From row's record identity.
Status postTransaction(const Posting& posting, int64_t* fromRow = nullptr);

} // namespace ven
