// The ledger over 100,000 transactions (200,000 rows) spread over ten years
// up to today: the money list opened on its first page, and a year's money
// report (10,000 transactions) printed to PDF.
#include "BenchKit.h"
#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/ReportPages.h"
#include "platform/WindowController.h"
#include "platform/WindowDef.h"
#include "registers/Ledger.h"
#include "registers/MoneyBr.h"
#include "registers/MoneyRp.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

#include <map>
#include <random>

using namespace ven;

namespace {

constexpr int kTransactions = 100000;
constexpr int kDays = 3650;

struct Fixture : bench::BenchFolder {
    int32_t today = 0;
    Fixture()
    {
        today = ven::clock().today();
        Context ctx;
        KeyedFile& acc = ctx.file(VenAcc);
        KeyedFile& mon = ctx.file(VenMoney);
        acc.open();
        mon.open();
        std::vector<AccountId> banks, incomes, expenses;
        for (int n = 1; n <= 3; ++n)
            banks.push_back({"B", n});
        for (int n = 10; n <= 12; ++n)
            incomes.push_back({"I", n});
        for (int n = 20; n < 40; ++n)
            expenses.push_back({"E", n});
        std::map<std::pair<QString, int>, Cents> balance;
        std::mt19937 rng(16);
        WriteBatch batch({&mon, &acc});
        auto row = [&](int32_t date, int32_t time, const AccountId& a, const AccountId& counter, Cents amount, const QString& legend) {
            Record& r = mon.rec();
            r.clear();
            r.set(MON::DATE, int64_t(date));
            r.set(MON::TIME, int64_t(time));
            r.set(MON::TYPE, a.type);
            r.set(MON::NUMBER, int64_t(a.number));
            r.set(MON::ACCTYPE2, counter.type);
            r.set(MON::ACCNO2, int64_t(counter.number));
            setCents(r, MON::AMOUNT, amount);
            r.set(MON::LEGEND, legend);
            mon.add();
            balance[{a.type, a.number}] += amount;
        };
        // About 27 transactions a day, three minutes apart from 08:00, the
        // oldest first; most pay an expense from a bank, one in eight is income.
        int previousDay = -1, slot = 0;
        for (int i = 0; i < kTransactions; ++i) {
            const int d = kDays - 1 - int(int64_t(i) * kDays / kTransactions);
            slot = d == previousDay ? slot + 1 : 0;
            previousDay = d;
            const int32_t date = today - d;
            const int32_t time = 8 * 360000 + slot * 18000;
            const bool income = rng() % 8 == 0;
            const AccountId from = income ? incomes[rng() % incomes.size()] : banks[rng() % banks.size()];
            const AccountId to = income ? banks[rng() % banks.size()] : expenses[rng() % expenses.size()];
            const Cents amount = Cents(1 + rng() % 50000);
            const QString legend = QStringLiteral("Transaction %1").arg(i + 1);
            row(date, time + 1, from, to, fromChange(to.type, amount), legend);
            row(date, time + 2, to, from, toChange(to.type, amount), legend);
        }
        for (const auto& [id, cents] : balance) {
            Record& r = acc.rec();
            r.clear();
            r.set(ACC::TYPE, id.first);
            r.set(ACC::NUMBER, int64_t(id.second));
            r.set(ACC::NAME, QStringLiteral("Account %1%2").arg(id.first).arg(id.second));
            setCents(r, ACC::AMOUNT, cents);
            acc.add();
        }
        batch.commit();
        ReportDestination pdf;
        pdf.output = ReportOutput::Pdf;
        pdf.pdfFile = dir.filePath("report.pdf");
        setReportDestination(pdf);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The money list opened as the menu opens it (the last week, newest first)
// until its first page is painted.
void BM_MoneyListFirstPage(benchmark::State& state)
{
    fixture();
    int rows = 0;
    for (auto _ : state) {
        run(makeMoneyBr());
        WindowController* w = WindowController::find(QStringLiteral("MoneyBr"));
        QTableView* view = w ? w->window().findChild<QTableView*>() : nullptr;
        if (!view) {
            state.SkipWithError("the list did not open");
            return;
        }
        view->viewport()->repaint();
        state.PauseTiming();
        rows = view->model()->rowCount();
        w->close(RequestCancelled);
        settle();
        state.ResumeTiming();
    }
    state.counters["rows_read"] = rows;
}
BENCHMARK(BM_MoneyListFirstPage)->Unit(benchmark::kMillisecond);

// The money report of the last year printed to PDF, as the list's Print
// button runs it: opened, its date range read by key, every page laid out
// and the file written.
void BM_YearReportToPdf(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString pdf = f.dir.filePath("report.pdf");
    const QString filter = moneyPrintFilter(f.today - 364, f.today, moneyTypePart(true, true, true));
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile::remove(pdf);
        bool ended = false;
        run(makeMoneyRp(filter), [&ended](uint8_t) { ended = true; });
        QElapsedTimer t;
        t.start();
        while (!ended && t.elapsed() < 120000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (!QFile::exists(pdf))
            state.SkipWithError("no report printed");
        bytes = QFileInfo(pdf).size();
    }
    state.counters["pdf_kB"] = double(bytes) / 1024;
}
BENCHMARK(BM_YearReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) { return ven::bench::runWindowBenchmarks(argc, argv, fixture); }
