// Money in whole cents, the filter grammar, and the ledger's postings:
// rows, signs and totals between the account kinds, splits that binary
// fractions cannot hold, rows that share a time, and a process killed in
// the middle of its postings.
#include "WindowKit.h"

#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "platform/RecordFilter.h"
#include "registers/Ledger.h"
#include "registers/MoneyBr.h"

#include <csignal>
#include <map>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {
namespace {

TEST(Money, TypedTextToCents)
{
    const std::pair<const char*, std::optional<Cents>> cases[] = {
        {"0.30", 30}, {"0.1", 10}, {"12", 1200}, {"-0.01", -1}, {"1,234.56", 123456}, {"  7.05 ", 705}, {"", 0},
        {".5", 50}, {"0.305", std::nullopt}, {"1.2.3", std::nullopt}, {"abc", std::nullopt}, {"1e3", std::nullopt},
        {"--1", std::nullopt}, {"1234567890123456", std::nullopt}, {"-", std::nullopt},
    };
    for (const auto& [text, cents] : cases)
        EXPECT_EQ(parseCents(QString::fromUtf8(text)), cents) << text;
}

TEST(Money, StoredFieldsReadBackToTheSameCents)
{
    Record r(&VenAcc);
    for (Cents c : {Cents(0), Cents(1), Cents(-1), Cents(29), Cents(30), Cents(-70), Cents(123456789012), Cents(99999999999999)}) {
        setCents(r, ACC::AMOUNT, c);
        EXPECT_EQ(centsField(r, ACC::AMOUNT), c);
    }
    // Adding 0.10 a thousand times stays exact, as doubles would not.
    Cents sum = 0;
    for (int i = 0; i < 1000; ++i) {
        setCents(r, ACC::AMOUNT, sum);
        sum = centsField(r, ACC::AMOUNT) + 10;
    }
    EXPECT_EQ(sum, 10000);
    EXPECT_EQ(formatCents(-1, u"n10.2"), "-0.01");
    EXPECT_EQ(formatCents(0, u"n10.2B"), "");
    EXPECT_EQ(formatCents(123456, u"N-10_.2B").trimmed(), "1 234.56");
}

Record money(const char* type, int number, int32_t date, int32_t time = 100)
{
    Record r(&VenMoney);
    r.set(MON::TYPE, type);
    r.set(MON::NUMBER, int64_t(number));
    r.set(MON::DATE, int64_t(date));
    r.set(MON::TIME, int64_t(time));
    return r;
}

TEST(RecordFilter, TheListsFiltersSelectTheirRows)
{
    const QString list = moneyListFilter(80000, 80007, moneyTypePart(true, false, true));
    EXPECT_EQ(list, "(Mon:Number < 99 and Mon:Date <= 80007 and Mon:Date => 80000) and (Mon:Type = 'E' or Mon:Type = 'B')");
    auto f = RecordFilter::parse(VenMoney, list);
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->matches(money("E", 3, 80000)));
    EXPECT_TRUE(f->matches(money("b", 1, 80007)));  // letter case does not count
    EXPECT_FALSE(f->matches(money("I", 2, 80003)));
    EXPECT_FALSE(f->matches(money("E", 99, 80003)));
    EXPECT_FALSE(f->matches(money("E", 3, 80008)));
    EXPECT_EQ(f->bounds(MON::DATE).low, 80000);
    EXPECT_EQ(f->bounds(MON::DATE).high, 80007);
    EXPECT_FALSE(f->bounds(MON::TYPE).low);

    auto all = RecordFilter::parse(VenMoney, moneyPrintFilter(0, 90000, {}));
    ASSERT_TRUE(all);
    EXPECT_TRUE(all->matches(money("I", 99, 1)));

    auto bound = RecordFilter::parse(VenAcc, u"(Acc:Type = G:AccType)", {{"g:acctype", QStringLiteral("I")}});
    ASSERT_TRUE(bound);
    Record acc(&VenAcc);
    acc.set(ACC::TYPE, "I");
    EXPECT_TRUE(bound->matches(acc));
    acc.set(ACC::TYPE, "E");
    EXPECT_FALSE(bound->matches(acc));

    auto blank = RecordFilter::parse(VenMoney, u"  ");
    ASSERT_TRUE(blank);
    EXPECT_TRUE(blank->matches(money("E", 1, 1)));
    auto nested = RecordFilter::parse(VenMoney, u"not (Mon:Date < 5) and 3 > Mon:Number");
    ASSERT_TRUE(nested);
    EXPECT_TRUE(nested->matches(money("E", 2, 10)));
    EXPECT_FALSE(nested->matches(money("E", 3, 10)));
    EXPECT_EQ(nested->bounds(MON::NUMBER).high, 2);
}

TEST(RecordFilter, RefusesWhatIsNotOfTheGrammar)
{
    const char* bad[] = {
        "(Mon:Date <= 5",              // unclosed
        "Mon:Date <= 5)",              // a stray parenthesis
        "Mon:Date <=",                 // no value
        "Mon:Date 5",                  // no comparison
        "Mon:Date <= 5 and",           // nothing after "and"
        "Mon:Type = 'E",               // unclosed text
        "Mon:Date <= 5; DELETE",       // a character of no filter
        "Nam:City = 'x'",              // another file's field
        "Unknown = 1",                 // neither field nor bound
        "Mon:Date >< 4",               // no such operator
        "system('rm -rf /') = 1",      // no calls
        "Mon:Date + 1 = 4",            // no arithmetic
    };
    for (const char* text : bad) {
        QString error;
        EXPECT_FALSE(RecordFilter::parse(VenMoney, QString::fromUtf8(text), {}, &error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
    // Deep nesting is refused rather than overrunning the stack.
    EXPECT_FALSE(RecordFilter::parse(VenMoney, QString(10000, u'(') + "Mon:Date = 1" + QString(10000, u')')));
}

// ----------------------------------------------------------- postings ---

struct Ledger {
    WindowKit kit;
    Ledger()
    {
        for (auto [type, number] : std::initializer_list<std::pair<const char*, int>>{{"B", 1}, {"I", 2}, {"E", 3}, {"E", 4}})
            account(type, number, QStringLiteral("Account %1%2").arg(type).arg(number));
    }
    static void account(const char* type, int number, const QString& name, Cents amount = 0)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAcc);
        ASSERT_TRUE(f.open());
        f.rec().clear();
        f.rec().set(ACC::TYPE, type);
        f.rec().set(ACC::NUMBER, int64_t(number));
        f.rec().set(ACC::NAME, name);
        setCents(f.rec(), ACC::AMOUNT, amount);
        ASSERT_TRUE(f.insert());
    }
    static std::map<QString, Cents> totals()
    {
        std::map<QString, Cents> out;
        for (const Record& r : WindowKit::records(VenAcc))
            out[r.str(ACC::TYPE) + QString::number(r.num(ACC::NUMBER))] = centsField(r, ACC::AMOUNT);
        return out;
    }
    // The sum of each account's rows.
    static std::map<QString, Cents> rowSums()
    {
        std::map<QString, Cents> out;
        for (const Record& r : WindowKit::records(VenAcc))
            out[r.str(ACC::TYPE) + QString::number(r.num(ACC::NUMBER))] = 0;
        for (const Record& r : WindowKit::records(VenMoney))
            out[r.str(MON::TYPE) + QString::number(r.num(MON::NUMBER))] += centsField(r, MON::AMOUNT);
        return out;
    }
};

const int32_t kDay = dayNumber(2026, 12, 9);
const int32_t kTen = timeValue(10, 0, 0);

TEST(Ledger, PostingsBetweenAccountKindsSignTheirRowsAndTotals)
{
    struct Case {
        AccountId from, to;
        Cents amount;
        Cents fromRow, toRow;  // also the totals' changes
    };
    const Case cases[] = {
        {{"B", 1}, {"E", 3}, 10000, -10000, 10000},  // a bank account pays an expense
        {{"I", 2}, {"B", 1}, 50000, 50000, -50000},  // income into the bank
        {{"B", 1}, {"I", 2}, 50000, 50000, 50000},   // the lower type decides
        {{"E", 3}, {"E", 4}, 1, -1, 1},
        {{"B", 1}, {"B", 1}, 700, 700, -700},        // one account on both sides: two rows
    };
    for (const Case& c : cases) {
        Ledger l;
        Posting p{.date = kDay, .time = kTen, .from = c.from, .legend = "Test", .parts = {{c.to, c.amount}}};
        ASSERT_TRUE(postTransaction(p));
        const auto rows = WindowKit::records(VenMoney);
        ASSERT_EQ(rows.size(), 2u);
        for (const Record& r : rows) {
            const bool isFrom = r.num(MON::TIME) == kTen + 1;
            const AccountId& a = isFrom ? c.from : c.to;
            const AccountId& counter = isFrom ? c.to : c.from;
            EXPECT_EQ(r.str(MON::TYPE), a.type);
            EXPECT_EQ(r.num(MON::NUMBER), a.number);
            EXPECT_EQ(r.num(MON::TIME), isFrom ? kTen + 1 : kTen + 2);
            EXPECT_EQ(r.str(MON::ACCTYPE2), counter.type);
            EXPECT_EQ(r.num(MON::ACCNO2), counter.number);
            EXPECT_EQ(centsField(r, MON::AMOUNT), isFrom ? c.fromRow : c.toRow);
            EXPECT_EQ(r.str(MON::LEGEND).trimmed(), "Test");
        }
        EXPECT_EQ(l.totals(), l.rowSums());
        const auto t = l.totals();
        if (c.from.type + QString::number(c.from.number) != c.to.type + QString::number(c.to.number)) {
            EXPECT_EQ(t.at(c.from.type + QString::number(c.from.number)), c.fromRow);
            EXPECT_EQ(t.at(c.to.type + QString::number(c.to.number)), c.toRow);
        } else {
            EXPECT_EQ(t.at(c.from.type + QString::number(c.from.number)), 0);
        }
    }
}

TEST(Ledger, SplitsThatBinaryFractionsCannotHoldAddUpExactly)
{
    Ledger l;
    // 0.30 as 0.10 and 0.20; 1.00 as 0.70 and 0.30.
    ASSERT_TRUE(postTransaction({.date = kDay, .time = kTen, .from = {"B", 1}, .legend = "Split",
                                 .parts = {{{"E", 3}, 10}, {{"E", 4}, 20}}}));
    ASSERT_TRUE(postTransaction({.date = kDay, .time = kTen + 6000, .from = {"B", 1}, .legend = "Split",
                                 .parts = {{{"E", 3}, 70}, {{"E", 4}, 30}}}));
    const auto t = l.totals();
    EXPECT_EQ(t.at("B1"), -130);
    EXPECT_EQ(t.at("E3"), 80);
    EXPECT_EQ(t.at("E4"), 50);
    EXPECT_EQ(l.totals(), l.rowSums());
    EXPECT_EQ(WindowKit::records(VenMoney).size(), 6u);  // one From row per transaction
}

TEST(Ledger, RowsThatShareATimeMoveToTheNextFreeHundredth)
{
    Ledger l;
    // Two transactions from one account in the same minute, and a split
    // with two parts to one account: every row is kept.
    ASSERT_TRUE(postTransaction({.date = kDay, .time = kTen, .from = {"B", 1}, .legend = "One", .parts = {{{"E", 3}, 100}}}));
    ASSERT_TRUE(postTransaction({.date = kDay, .time = kTen, .from = {"B", 1}, .legend = "Two", .parts = {{{"E", 3}, 200}}}));
    ASSERT_TRUE(postTransaction({.date = kDay, .time = kTen, .from = {"B", 1}, .legend = "Three",
                                 .parts = {{{"E", 4}, 300}, {{"E", 4}, 400}}}));
    EXPECT_EQ(WindowKit::records(VenMoney).size(), 7u);
    EXPECT_EQ(l.totals(), l.rowSums());
    EXPECT_EQ(l.totals().at("B1"), -1000);
}

TEST(Ledger, AFailedPostingChangesNothing)
{
    Ledger l;
    // The second part's account does not exist: neither the rows nor the
    // totals of the first part are written.
    const Status st = postTransaction({.date = kDay, .time = kTen, .from = {"B", 1}, .legend = "Lost",
                                       .parts = {{{"E", 3}, 100}, {{"E", 9}, 50}}});
    EXPECT_FALSE(st);
    EXPECT_TRUE(st.text.contains("Not Found")) << st.text.toStdString();
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());
    for (const auto& [account, total] : l.totals())
        EXPECT_EQ(total, 0) << account.toStdString();
    // A missing From account, likewise.
    EXPECT_FALSE(postTransaction({.date = kDay, .time = kTen, .from = {"I", 7}, .legend = "Lost", .parts = {{{"E", 3}, 100}}}));
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());
}

// In a child process: posts transactions between the accounts, single and
// split, many at one time, and writes the count of rows stored to `fd` once
// each posting has returned.
[[noreturn]] void postForever(int fd, uint32_t seed)
{
    Store::instance().closeIdle();
    std::mt19937 rng(seed);
    const AccountId banks[] = {{"B", 1}}, incomes[] = {{"I", 2}}, expenses[] = {{"E", 3}, {"E", 4}};
    uint32_t rows = 0;
    for (int32_t i = 0;; ++i) {
        Posting p{.date = kDay + int32_t(rng() % 3), .time = kTen + int32_t(rng() % 4) * 100, .from = {}, .legend = "Killed", .parts = {}};
        switch (rng() % 3) {
        case 0:  // the bank pays expenses, now and then split
            p.from = banks[0];
            for (uint32_t n = 1 + rng() % 3; n > 0; --n)
                p.parts.push_back({expenses[rng() % 2], Cents(1 + rng() % 100000)});
            break;
        case 1:  // income into the bank
            p.from = incomes[0];
            p.parts.push_back({banks[0], Cents(1 + rng() % 100000)});
            break;
        default:  // an expense moved to another
            p.from = expenses[0];
            p.parts.push_back({expenses[1], Cents(1 + rng() % 1000)});
        }
        if (!postTransaction(p))
            _exit(2);
        rows += uint32_t(1 + p.parts.size());
        if (write(fd, &rows, sizeof rows) != sizeof rows)
            _exit(3);
    }
}

TEST(Ledger, AProcessKilledWhilePostingLeavesEveryBalanceEqualToItsRows)
{
    Ledger l;
    Store::instance().closeIdle();
    std::mt19937 rng(20261210);
    uint32_t stored = 0;  // rows of the postings that returned
    constexpr int kKills = 12;
    for (int round = 0; round < kKills; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            postForever(fds[1], rng());
        }
        close(fds[1]);
        // Killed at a random moment once it has posted three times, however
        // slow the machine.
        uint32_t told = 0;
        for (int posted = 0; posted < 3; ++posted)
            ASSERT_EQ(read(fds[0], &told, sizeof told), ssize_t(sizeof told));
        usleep(rng() % 40000);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the poster ended by itself: " << WEXITSTATUS(status);
        for (uint32_t n; read(fds[0], &n, sizeof n) == sizeof n;)
            told = n;
        close(fds[0]);

        {
            Context ctx;
            for (const FileDef* def : {&VenMoney, &VenAcc}) {
                KeyedFile& f = ctx.file(*def);
                ASSERT_TRUE(f.open());
                ASSERT_TRUE(f.checkIntegrity().ok()) << def->label;
            }
        }
        // Every posting that returned is kept, and the one killed is there
        // whole or not at all: each balance is the sum of its rows.
        const size_t rows = WindowKit::records(VenMoney).size();
        EXPECT_GE(rows, size_t(stored + told));
        EXPECT_LE(rows, size_t(stored + told + 4)) << "more rows than one posting makes";
        stored = uint32_t(rows);
        EXPECT_EQ(l.totals(), l.rowSums()) << "round " << round;
        Store::instance().closeIdle();
    }
    EXPECT_GT(stored, uint32_t(kKills * 2));
}

} // namespace
} // namespace ven::test
