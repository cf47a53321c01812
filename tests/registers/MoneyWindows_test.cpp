// The ledger's windows as a person uses them: the account form's numbers
// and totals, the lists' colours and filters, the transaction form with
// its checks and splits, and the money report read back from PDF.
#include "WindowKit.h"

#include "core/FrameTimer.h"
#include "core/Globals.h"
#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/DateTime.h"
#include "registers/AccSelBr.h"
#include "registers/AccountsBr.h"
#include "registers/AccountsFr.h"
#include "registers/Ledger.h"
#include "registers/MoneyBr.h"
#include "registers/MoneyFr.h"

#include <QLineEdit>

namespace ven::test {
namespace {

void account(const char* type, int number, const QString& name, Cents amount = 0)
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

std::optional<Record> findAccount(const char* type, int number)
{
    for (const Record& r : WindowKit::records(VenAcc))
        if (r.str(ACC::TYPE) == QLatin1String(type) && r.num(ACC::NUMBER) == number)
            return r;
    return std::nullopt;
}

TEST(AccountsFr, ANewAccountTakesTheNextFreeNumberAndShowsTheTakenOne)
{
    WindowKit kit;
    account("B", 1, "Cash", 5000);
    account("B", 2, "Savings", 7000);
    kit.start([] { return makeAccountsBr(); });
    EXPECT_EQ(kit.rows("AccountsBr"), 2);
    kit.press("AccountsBr", "Insert");
    ASSERT_TRUE(kit.isOpen("AccountsFr"));
    EXPECT_EQ(kit.window("AccountsFr").window().title(), "Adding an Account");
    kit.choose("AccountsFr", "Type", "B");
    kit.replaceText("AccountsFr", "Number", "1");
    kit.tab("AccountsFr");
    // Put on a taken number: the next free one, showing the taken account's name and total.
    EXPECT_EQ(kit.text("AccountsFr", "Number").trimmed(), "03");
    EXPECT_EQ(kit.text("AccountsFr", "Name").trimmed(), "Cash");
    EXPECT_EQ(kit.text("AccountsFr", "Amount").trimmed(), "50.00");
    // The spin's arrow onto the other taken number shows that one.
    kit.key("AccountsFr", Qt::Key_Down, "Number");
    kit.key("AccountsFr", Qt::Key_Tab);
    EXPECT_EQ(kit.text("AccountsFr", "Number").trimmed(), "03");
    EXPECT_EQ(kit.text("AccountsFr", "Name").trimmed(), "Savings");
    // A free number blanks what was shown of another account.
    kit.replaceText("AccountsFr", "Number", "7");
    kit.tab("AccountsFr");
    EXPECT_EQ(kit.text("AccountsFr", "Number").trimmed(), "07");
    EXPECT_EQ(kit.text("AccountsFr", "Name").trimmed(), "");
    kit.replaceText("AccountsFr", "Name", "wallet money");
    kit.replaceText("AccountsFr", "Amount", "0.30");
    kit.press("AccountsFr", "OK");
    EXPECT_FALSE(kit.isOpen("AccountsFr"));
    auto a = findAccount("B", 7);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->str(ACC::NAME).trimmed(), "Wallet Money");
    EXPECT_EQ(centsField(*a, ACC::AMOUNT), 30);
    EXPECT_EQ(centsField(*findAccount("B", 1), ACC::AMOUNT), 5000);
    EXPECT_TRUE(kit.boxes().empty());
}

TEST(AccountsFr, MissingValuesKeepTheFormOpenAndAFullTypeIsTold)
{
    WindowKit kit;
    for (int n = 1; n <= 98; ++n)
        account("E", n, QStringLiteral("Expense %1").arg(n));
    kit.start([] { return makeAccountsBr(); });
    kit.press("AccountsBr", "Insert");
    kit.press("AccountsFr", "OK");  // no type, number or name: nothing, no message
    EXPECT_TRUE(kit.isOpen("AccountsFr"));
    EXPECT_TRUE(kit.boxes().empty());
    kit.choose("AccountsFr", "Type", "E");
    kit.replaceText("AccountsFr", "Number", "5");
    kit.replaceText("AccountsFr", "Name", "Food");
    kit.press("AccountsFr", "OK");
    EXPECT_TRUE(kit.isOpen("AccountsFr"));
    ASSERT_EQ(kit.boxes().size(), 1u);
    EXPECT_TRUE(kit.boxes()[0].text.contains("taken"));
    EXPECT_EQ(WindowKit::records(VenAcc).size(), 98u);
}

TEST(AccountsFr, AChangeKeepsTypeNumberAndTheTotalPostedMeanwhile)
{
    WindowKit kit;
    account("B", 1, "Cash", -10000);  // a total below zero is changed like any other
    account("E", 3, "Food");
    kit.start([] { return makeAccountsBr(); });
    kit.highlight("AccountsBr", 0);
    kit.press("AccountsBr", "Change");
    ASSERT_TRUE(kit.isOpen("AccountsFr"));
    EXPECT_FALSE(kit.control("AccountsFr", "Number").isEnabled());
    EXPECT_FALSE(kit.control("AccountsFr", "Bank").isEnabled());
    EXPECT_TRUE(kit.control("AccountsFr", "Amount").as<QLineEdit>()->isReadOnly());
    // A posting while the form is open.
    ASSERT_TRUE(postTransaction({.date = dayNumber(2026, 12, 9), .time = timeValue(9, 0, 0), .from = {"B", 1},
                                 .legend = "Lunch", .parts = {{{"E", 3}, 1250}}}));
    kit.replaceText("AccountsFr", "Name", "Cash Box");
    kit.press("AccountsFr", "OK");
    EXPECT_FALSE(kit.isOpen("AccountsFr"));
    auto a = findAccount("B", 1);
    EXPECT_EQ(a->str(ACC::NAME).trimmed(), "Cash Box");
    EXPECT_EQ(centsField(*a, ACC::AMOUNT), -10000 - 1250);
}

TEST(AccountsBr, ColoursHiddenNumbersAndTheRestrictedDelete)
{
    WindowKit kit;
    account("E", 1, "Minus", -1);
    account("E", 2, "Zero", 0);
    account("E", 99, "Hidden", 0);
    account("I", 99, "Hidden Income", 0);
    kit.start([] { return makeAccountsBr(); });
    ASSERT_EQ(kit.rows("AccountsBr"), 2);  // 99 and above are not listed
    auto* model = kit.list("AccountsBr")->model();
    EXPECT_EQ(model->index(0, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(model->index(1, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    EXPECT_EQ(kit.cell("AccountsBr", 0, 3).trimmed(), "-0.01");

    // The picker lists the type of AccType, 99 included.
    AccType = "I";
    kit.call(makeAccSelBr(), SelectRecord);
    ASSERT_TRUE(kit.isOpen("AccSelBr"));
    ASSERT_EQ(kit.rows("AccSelBr"), 1);
    EXPECT_EQ(kit.cell("AccSelBr", 0, 2).trimmed(), "Hidden Income");
}

TEST(AccountsBr, AnAccountWithTransactionsIsNotDeleted)
{
    WindowKit kit;
    InitDataFiles();  // the relation rules
    account("B", 1, "Cash");
    account("E", 3, "Food");
    ASSERT_TRUE(postTransaction({.date = dayNumber(2026, 12, 9), .time = 100, .from = {"B", 1}, .legend = "X",
                                 .parts = {{{"E", 3}, 100}}}));
    kit.start([] { return makeAccountsBr(); });
    kit.highlight("AccountsBr", 0);
    kit.press("AccountsBr", "Delete");
    ASSERT_TRUE(kit.isOpen("AccountsFr"));
    EXPECT_EQ(kit.window("AccountsFr").window().title(), "Deleting an Account");
    kit.press("AccountsFr", "OK");
    EXPECT_TRUE(findAccount("B", 1));
    ASSERT_FALSE(kit.boxes().empty());
    KillDataFiles();
}

// ------------------------------------------------------------ MoneyFr ---

struct MoneyKit {
    WindowKit kit;
    MoneyKit()
    {
        account("B", 1, "Bank");
        account("I", 2, "Salary");
        account("E", 3, "Food");
        account("E", 4, "Rent");
        kit.start([] { return makeMoneyBr(); });
        kit.press("MoneyBr", "Insert");
    }
    // Date, time, total, From and To accounts by their numbers.
    void fill(const char* total, const char* from, const char* fromNo, const char* to, const char* toNo)
    {
        kit.replaceText("MoneyFr", "Date", "09-12-2026");
        kit.tab("MoneyFr");
        kit.replaceText("MoneyFr", "Time", "10.00");
        kit.tab("MoneyFr");
        kit.replaceText("MoneyFr", "Total", total);
        kit.tab("MoneyFr");
        kit.choose("MoneyFr", "FromType", from);
        kit.replaceText("MoneyFr", "FromNumber", fromNo);
        kit.tab("MoneyFr");
        kit.choose("MoneyFr", "ToType", to);
        kit.replaceText("MoneyFr", "ToNumber", toNo);
        kit.tab("MoneyFr");
    }
    std::map<QString, Cents> totals()
    {
        std::map<QString, Cents> out;
        for (const Record& r : WindowKit::records(VenAcc))
            out[r.str(ACC::TYPE) + QString::number(r.num(ACC::NUMBER))] = centsField(r, ACC::AMOUNT);
        return out;
    }
};

TEST(MoneyFr, AnExpensePaidFromTheBank)
{
    MoneyKit m;
    ASSERT_TRUE(m.kit.isOpen("MoneyFr"));
    m.fill("100", "B", "1", "E", "3");
    EXPECT_EQ(m.kit.text("MoneyFr", "FromName"), "Bank");
    EXPECT_EQ(m.kit.text("MoneyFr", "ToName"), "Food");
    EXPECT_TRUE(m.kit.control("MoneyFr", "Direction").picture().endsWith("0dn.ico"));
    EXPECT_EQ(m.kit.text("MoneyFr", "Amount").trimmed(), "100.00");
    m.kit.replaceText("MoneyFr", "Legend", "groceries");
    m.kit.press("MoneyFr", "Ok");
    EXPECT_FALSE(m.kit.isOpen("MoneyFr"));
    EXPECT_EQ(m.totals().at("B1"), -10000);
    EXPECT_EQ(m.totals().at("E3"), 10000);
    ASSERT_EQ(m.kit.rows("MoneyBr"), 2);
    EXPECT_EQ(m.kit.cell("MoneyBr", 0, 7).trimmed(), "Groceries");
    EXPECT_EQ(m.kit.cell("MoneyBr", 0, 5).trimmed(), "Food");  // newest first: the To row at time + 2
    EXPECT_EQ(m.kit.cell("MoneyBr", 0, 0), "Wed");
}

// The list shows and highlights the transaction just stored (its From
// row), with the bank's sign on the most an entry takes.
TEST(MoneyFr, TheStoredTransactionIsHighlightedWithItsSignedAmount)
{
    MoneyKit m;
    m.fill("999999.99", "B", "1", "E", "3");
    m.kit.replaceText("MoneyFr", "Legend", "rent");
    m.kit.press("MoneyFr", "Ok");
    ASSERT_FALSE(m.kit.isOpen("MoneyFr"));
    int h = m.kit.highlighted("MoneyBr");
    EXPECT_EQ(m.kit.cell("MoneyBr", h, 5).trimmed(), "Bank");
    EXPECT_EQ(m.kit.cell("MoneyBr", h, 6).trimmed(), "-999,999.99");
    EXPECT_EQ(m.kit.cell("MoneyBr", h == 0 ? 1 : 0, 6).trimmed(), "999,999.99");
    // A later one, inserted while the first is highlighted, takes the highlight.
    m.kit.press("MoneyBr", "Insert");
    m.fill("100000", "I", "2", "B", "1");
    m.kit.replaceText("MoneyFr", "Legend", "wages");
    m.kit.press("MoneyFr", "Ok");
    ASSERT_FALSE(m.kit.isOpen("MoneyFr"));
    h = m.kit.highlighted("MoneyBr");
    EXPECT_EQ(m.kit.cell("MoneyBr", h, 5).trimmed(), "Salary");
}

TEST(AccountsFr, ATakenNumberShowsATotalBeyondOneEntrysRange)
{
    WindowKit kit;
    account("B", 1, "Mortgage", -9999999999);
    kit.start([] { return makeAccountsBr(); });
    kit.press("AccountsBr", "Insert");
    ASSERT_TRUE(kit.isOpen("AccountsFr"));
    kit.choose("AccountsFr", "Type", "B");
    kit.replaceText("AccountsFr", "Number", "1");
    kit.tab("AccountsFr");
    EXPECT_EQ(kit.text("AccountsFr", "Name").trimmed(), "Mortgage");
    EXPECT_EQ(kit.text("AccountsFr", "Amount").trimmed(), "-99,999,999.99");
}

TEST(MoneyFr, ASplitOfCentsIsPostedWholeWhenItsTotalIsReached)
{
    MoneyKit m;
    m.fill("0.30", "B", "1", "E", "3");
    m.kit.replaceText("MoneyFr", "Amount", "0.10");
    m.kit.replaceText("MoneyFr", "Legend", "Split");
    m.kit.press("MoneyFr", "Ok");
    ASSERT_TRUE(m.kit.isOpen("MoneyFr"));
    EXPECT_EQ(m.kit.text("MoneyFr", "Total").trimmed(), "0.20");
    EXPECT_EQ(m.kit.text("MoneyFr", "Amount").trimmed(), "0.20");
    EXPECT_FALSE(m.kit.control("MoneyFr", "Cancel").isEnabled());
    EXPECT_FALSE(m.kit.control("MoneyFr", "Total").isEnabled());
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());  // nothing is written before the split is whole
    // Closing is refused while the split is open.
    m.kit.window("MoneyFr").close(RequestCancelled);
    m.kit.settle();
    ASSERT_TRUE(m.kit.isOpen("MoneyFr"));
    m.kit.replaceText("MoneyFr", "ToNumber", "4");
    m.kit.tab("MoneyFr");
    EXPECT_EQ(m.kit.text("MoneyFr", "ToName"), "Rent");
    m.kit.press("MoneyFr", "Ok");  // 0.30 - 0.10 is 0.20 exactly
    EXPECT_FALSE(m.kit.isOpen("MoneyFr"));
    const auto t = m.totals();
    EXPECT_EQ(t.at("B1"), -30);
    EXPECT_EQ(t.at("E3"), 10);
    EXPECT_EQ(t.at("E4"), 20);
    int fromRows = 0;
    for (const Record& r : WindowKit::records(VenMoney))
        if (r.str(MON::TYPE) == u"B") {
            ++fromRows;
            EXPECT_EQ(centsField(r, MON::AMOUNT), -30);
        }
    EXPECT_EQ(fromRows, 1);
}

// An open transaction form (a split half entered or not) keeps the frame
// from closing, as the other record forms do.
TEST(MoneyFr, AnOpenFormKeepsTheFrameFromClosing)
{
    MoneyKit m;
    ASSERT_TRUE(m.kit.isOpen("MoneyFr"));
    EXPECT_TRUE(CloseRefused());
    m.kit.press("MoneyFr", "Cancel");
    EXPECT_FALSE(CloseRefused());
}

// An unknown account number opens the picker once; after the picker is
// closed without a choice, Cancel cancels the form.
TEST(MoneyFr, CancelAfterAnUnknownAccountNumberCancels)
{
    MoneyKit m;
    m.kit.choose("MoneyFr", "FromType", "B");
    m.kit.replaceText("MoneyFr", "FromNumber", "9");
    m.kit.tab("MoneyFr");
    ASSERT_TRUE(m.kit.isOpen("AccSelBr"));
    m.kit.press("AccSelBr", "Close");
    ASSERT_FALSE(m.kit.isOpen("AccSelBr"));
    EXPECT_EQ(m.kit.window("MoneyFr").window().focusedControl(), "FromNumber");
    QTest::mouseClick(m.kit.control("MoneyFr", "Cancel").widget(), Qt::LeftButton);
    m.kit.settle();
    EXPECT_FALSE(m.kit.isOpen("AccSelBr"));
    EXPECT_FALSE(m.kit.isOpen("MoneyFr"));
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());
}

TEST(MoneyFr, OkChecksMoveTheFocusAndWriteNothing)
{
    MoneyKit m;
    m.fill("100", "B", "1", "E", "3");
    m.kit.replaceText("MoneyFr", "Legend", "Too much");
    m.kit.replaceText("MoneyFr", "Amount", "120");
    m.kit.press("MoneyFr", "Ok");
    EXPECT_TRUE(m.kit.isOpen("MoneyFr"));
    EXPECT_EQ(m.kit.window("MoneyFr").window().focusedControl(), "Amount");
    // Without a date the transaction would never be listed: refused.
    m.kit.replaceText("MoneyFr", "Amount", "100");
    m.kit.replaceText("MoneyFr", "Date", " ");
    m.kit.press("MoneyFr", "Ok");
    EXPECT_TRUE(m.kit.isOpen("MoneyFr"));
    EXPECT_EQ(m.kit.window("MoneyFr").window().focusedControl(), "Date");
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());
    EXPECT_TRUE(m.kit.boxes().empty());
    m.kit.press("MoneyFr", "Cancel");
    EXPECT_FALSE(m.kit.isOpen("MoneyFr"));
    EXPECT_TRUE(WindowKit::records(VenMoney).empty());
}

// Moving the focus between fields whose rules each take it back (a blank
// total, an amount beyond it) ends with the field the last rule named, the
// typed text kept and the program running.
TEST(MoneyFr, ClicksBetweenFieldsThatTakeTheFocusBackEndWithTheLastRule)
{
    struct Case {
        const char* name;
        const char* amount;  // typed into Amount first, or nullptr
        bool toLookup;       // Select in the To lookup first
        const char* first;
        const char* then;
        const char* focused;
    };
    for (const Case& c : {Case{"total then amount", nullptr, false, "Total", "Amount", "Total"},
                          Case{"typed amount then total", "5", false, "Amount", "Total", "Amount"},
                          Case{"lookup then total", nullptr, true, "Amount", "Total", "Amount"}}) {
        SCOPED_TRACE(c.name);
        MoneyKit m;
        if (c.toLookup) {
            m.kit.choose("MoneyFr", "ToType", "E");
            m.kit.press("MoneyFr", "ToLookup");
            ASSERT_TRUE(m.kit.isOpen("AccSelBr"));
            m.kit.press("AccSelBr", "Select");
            ASSERT_FALSE(m.kit.isOpen("AccSelBr"));
        }
        m.kit.focus("MoneyFr", c.first);
        if (c.amount)
            m.kit.type("MoneyFr", "Amount", c.amount);
        m.kit.focus("MoneyFr", c.then);
        ASSERT_TRUE(m.kit.isOpen("MoneyFr"));
        EXPECT_EQ(m.kit.window("MoneyFr").window().focusedControl(), c.focused);
        if (c.amount)
            EXPECT_EQ(m.kit.text("MoneyFr", "Amount").trimmed(), c.amount);
        // The form still works: a total typed now is taken as before.
        m.kit.replaceText("MoneyFr", "Total", "12");
        m.kit.tab("MoneyFr");
        EXPECT_EQ(m.kit.text("MoneyFr", "Amount").trimmed(), "12.00");
        EXPECT_EQ(m.kit.window("MoneyFr").window().focusedControl(), "FromLookup");
        m.kit.press("MoneyFr", "Cancel");
    }
}

TEST(MoneyFr, TimeKeysStayWithinTheDayAndOtherRequestsAreRefused)
{
    MoneyKit m;
    m.kit.replaceText("MoneyFr", "Time", "23.55");
    m.kit.key("MoneyFr", (Qt::CTRL | Qt::Key_Up).toCombined(), "Time");
    EXPECT_EQ(m.kit.text("MoneyFr", "Time").trimmed(), "23.59");  // the last time of the day
    m.kit.press("MoneyFr", "Cancel");

    for (auto [request, message] : {std::pair<uint8_t, int>{ChangeRecord, 38}, {DeleteRecord, 12}}) {
        m.kit.clearBoxes();
        uint8_t response = 0;
        m.kit.call(makeMoneyFr(), request, &response);
        EXPECT_FALSE(m.kit.isOpen("MoneyFr"));
        EXPECT_EQ(response, RequestCancelled);
        ASSERT_EQ(m.kit.boxes().size(), 1u);
        EXPECT_EQ(m.kit.boxes()[0].caption, "Invalid Request");
    }
}

// ------------------------------------------------------ MoneyBr / Rp ---

void post(int day, const char* from, int fromNo, const char* to, int toNo, Cents amount, const char* legend)
{
    ASSERT_TRUE(postTransaction({.date = dayNumber(2026, 12, day), .time = timeValue(12, 0, 0),
                                 .from = {from, fromNo}, .legend = legend, .parts = {{{to, toNo}, amount}}}));
}

TEST(MoneyBr, ListsTheLastEightDaysAndUpdatesByDatesAndTypes)
{
    WindowKit kit;  // today 9 December 2026
    account("B", 1, "Bank");
    account("E", 3, "Food");
    account("I", 2, "Salary");
    post(1, "B", 1, "E", 3, 100, "Old");
    post(2, "B", 1, "E", 3, 200, "Eight days ago");
    post(9, "I", 2, "B", 1, 50000, "Pay");
    kit.start([] { return makeMoneyBr(); });
    EXPECT_EQ(kit.rows("MoneyBr"), 4);
    EXPECT_EQ(kit.cell("MoneyBr", 0, 7).trimmed(), "Pay");  // newest first
    kit.control("MoneyBr", "Expenses").as<QAbstractButton>()->click();
    kit.settle();
    kit.replaceText("MoneyBr", "From", " ");
    kit.press("MoneyBr", "Update");
    EXPECT_EQ(kit.text("MoneyBr", "From").trimmed(), "08-11-2026");  // a blank From is today - 31
    ASSERT_EQ(kit.rows("MoneyBr"), 2);
    EXPECT_EQ(kit.cell("MoneyBr", 0, 3), "E");
    EXPECT_EQ(kit.cell("MoneyBr", 1, 7).trimmed(), "Old");
}

TEST(MoneyRp, PrintsTheColumnsAndTheirTotals)
{
    WindowKit kit;
    account("B", 1, "Bank");
    account("E", 3, "Food");
    account("I", 2, "Salary");
    post(3, "B", 1, "E", 3, 10, "Tea");
    post(4, "B", 1, "E", 3, 20, "Milk");
    post(5, "I", 2, "B", 1, 123456, "Pay");
    kit.start([] { return makeMoneyBr(); });
    kit.press("MoneyBr", "Print");
    kit.waitUntil([&] { return !kit.isOpen("MoneyRp"); }, 120000, 100);
    const QString text = WindowKit::pdfText(kit.folder("report.pdf"));
    EXPECT_TRUE(text.contains("Money Manager"));
    EXPECT_TRUE(text.contains("Milk"));
    EXPECT_TRUE(text.contains("Salary"));
    // Totals: income 1 234.56, expense 0.10 + 0.20 exactly, and the bank
    // rows' sum (the bank side of each posting carries the opposite sign).
    QString last;
    for (const QString& line : text.split('\n'))
        if (line.contains("-1 234.86"))
            last = line.simplified();
    EXPECT_EQ(last, "1 234.56 0.30 -1 234.86");
}

} // namespace
} // namespace ven::test
