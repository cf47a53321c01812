// What every window draws, under a window manager at its designed size with
// a small data set and the money fields' extremes, on a large screen and a
// laptop's: no list cell, header, entry, label, tab or button shows
// its text elided or cut short, and no window's frame lies partly outside
// the screen's available area; a centred window is centred with its frame.
#include "E2eKit.h"
#include "Seeds.h"
#include "WindowTable.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

#include <set>

using namespace ven;
using namespace ven::e2e;

namespace {

// Records for the lists whose columns hold dates, times, weekdays and
// amounts: the widest values their fields keep.
void seedListData(E2eKit& kit)
{
    kit.seed([] {
        Context ctx;
        const int32_t tomorrow = dayNumber(2026, 12, 11);
        putRecord(ctx, VenAlarm, [&](Record& r) {
            r.set(ALA::NBR, 1);
            r.set(ALA::DATE, tomorrow);
            r.set(ALA::TIME, 23 * 360000 + 59 * 6000 + 1);
            r.set(ALA::WARNING, 0);
            r.set(ALA::MESSAGE, "Y");
            r.set(ALA::ACTION, "Wednesday's late call");
        });
        putRecord(ctx, Ven_DLS, [&](Record& r) {
            r.set(DLS::DATE, dayNumber(2027, 3, 28));
            r.set(DLS::TIME, 2 * 360000 + 1);
            r.set(DLS::CHANGE, 360001);
            r.set(DLS::PLUSMINUS, "+");
        });
        putRecord(ctx, VenAcc, [&](Record& r) {
            r.set(ACC::TYPE, "A");
            r.set(ACC::NUMBER, 1);
            r.set(ACC::NAME, "Savings");
            r.set(ACC::AMOUNT, -1234567.89);  // a balance beyond what one entry takes
        });
        putRecord(ctx, VenMoney, [&](Record& r) {
            r.set(MON::TYPE, "A");
            r.set(MON::NUMBER, 1);
            r.set(MON::DATE, dayNumber(2026, 12, 9));
            r.set(MON::TIME, 18 * 360000 + 1);
            r.set(MON::AMOUNT, 999999.99);  // the most an entry takes
            r.set(MON::LEGEND, "Wednesday's rent");
        });
        putRecord(ctx, VenPro, [&](Record& r) {
            r.set(PRO::CATEGORY, 1);
            r.set(PRO::NUMBER, 1);
            r.set(PRO::NAME, "The new ledger");
            r.set(PRO::BTIME, 8 * 360000 + 1);
            r.set(PRO::ETIME, 17 * 360000 + 30 * 6000 + 1);
            r.set(PRO::TTIME, 98 * 360000);
            r.set(PRO::WTIME, 38 * 360000);
        });
        putRecord(ctx, VenDoc, [&](Record& r) {
            r.set(DOC::CATID, "C");
            r.set(DOC::DOCNUM, 1);
            r.set(DOC::DOCNAME, "Letter.txt");
            r.set(DOC::CREATEDDATE, dayNumber(2026, 12, 9));
            r.set(DOC::CREATEDTIME, 23 * 360000 + 59 * 6000 + 1);
            r.set(DOC::ACCESSEDDATE, dayNumber(2026, 12, 10));
            r.set(DOC::ACCESSEDTIME, 8 * 360000 + 1);
        });
        ctx.closeAll();
    });
}

// The extremes the money fields take: one entry's most either way (a bank
// row carries its sign), totals past one entry's range, the highest
// account numbers the list shows; and a country of the highest number, so that its list
// shows every column.
void seedExtremes(E2eKit& kit)
{
    kit.seed([] {
        Context ctx;
        const struct { const char* type; int number; double amount; } accounts[] = {
            {"B", 98, -99999999.99}, {"I", 98, 99999999.99}, {"E", 98, -99999999.99}, {"B", 97, 99999999.99}};
        for (const auto& a : accounts)
            putRecord(ctx, VenAcc, [&](Record& r) {
                r.set(ACC::TYPE, a.type);
                r.set(ACC::NUMBER, a.number);
                r.set(ACC::NAME, "Highest Savings And Loans Account");
                r.set(ACC::AMOUNT, a.amount);
            });
        const struct { const char* type; double amount; int hour; } rows[] = {
            {"B", -999999.99, 19}, {"I", 999999.99, 20}, {"B", -100000.00, 21}};
        for (const auto& m : rows)
            putRecord(ctx, VenMoney, [&](Record& r) {
                r.set(MON::TYPE, m.type);
                r.set(MON::NUMBER, 98);  // the list leaves out number 99
                r.set(MON::DATE, dayNumber(2026, 12, 9));
                r.set(MON::TIME, m.hour * 360000 + 1);
                r.set(MON::AMOUNT, m.amount);
                r.set(MON::LEGEND, "The largest entry it takes");
            });
        putRecord(ctx, VenCountry, [&](Record& r) {
            r.set(CNT::NUMBER, 999);
            r.set(CNT::ABBR, "GB");
            r.set(CNT::NETSUFFIX, ".uk");
            r.set(CNT::TEL, "44");
            r.set(CNT::NAME, "United Kingdom");
        });
        ctx.closeAll();
    });
}

QString keyOf(const QJsonObject& w)
{
    return w.value("procedure").toString() + "|" + w.value("class").toString() + "|" + w.value("title").toString();
}

std::set<QString> shownKeys(const E2eKit& kit)
{
    std::set<QString> keys;
    for (const QJsonValue& w : kit.windows())
        keys.insert(keyOf(w.toObject()));
    return keys;
}

std::vector<Found> newWindows(const E2eKit& kit, const std::set<QString>& before)
{
    std::vector<Found> v;
    for (const QJsonValue& w : kit.windows())
        if (!before.count(keyOf(w.toObject())) && w.toObject().value("class").toString() != "QMenu")
            v.push_back(Found{w.toObject()});
    return v;
}

QString described(const QJsonArray& clipped)
{
    QStringList out;
    for (const QJsonValue& c : clipped) {
        const QJsonObject o = c.toObject();
        out << QStringLiteral("%1 %2 %3 \"%4\": needs %5, has %6")
                   .arg(o.value("control").toString(), o.value("class").toString(), o.value("what").toString(),
                        o.value("text").toString())
                   .arg(o.value("needs").toInt())
                   .arg(o.value("has").toInt());
    }
    return out.join("\n");
}

// Checks every window opened since `before`: on the screen, nothing drawn
// cut short. A list reads its rows as it opens: the check waits a moment
// for the texts to settle before it tells what is cut.
void checkNewWindows(const E2eKit& kit, const std::set<QString>& before, const QString& what)
{
    const QRect screen = kit.screen();
    for (const Found& w : newWindows(kit, before)) {
        const QString title = w.title();
        // The frame as the window manager draws it once it has placed the
        // window, not as the program believes it (which lacks the title
        // bar and borders until it learns them).
        const Found placed = kit.waitWindow(title, 3000);
        const QRect frame = kit.frameOf(placed ? placed : w);
        EXPECT_TRUE(screen.contains(frame))
            << what.toStdString() << ": \"" << title.toStdString() << "\" at (" << frame.x() << "," << frame.y() << " "
            << frame.width() << "x" << frame.height() << ") lies partly outside the screen (" << screen.width() << "x"
            << screen.height() << ")";
        // A free text longer than a short code is cut at its column's edge
        // by the window's design; every other text shows whole.
        auto cut = [&] {
            QJsonArray out;
            for (const QJsonValue& c : kit.clipped(title))
                if (!c.toObject().value("free").toBool())
                    out.append(c);
            return out;
        };
        QJsonArray clipped;
        kit.waitFor([&] { return (clipped = cut()).isEmpty(); }, QString(), 1500, false);
        EXPECT_TRUE(clipped.isEmpty()) << what.toStdString() << ": \"" << title.toStdString() << "\" cuts short:\n"
                                       << described(clipped).toStdString();
    }
}

// Closes what opened since `before`, the newest first: Esc, a message box's
// Enter, else the close box.
void closeNewWindows(E2eKit& kit, const std::set<QString>& before)
{
    for (int round = 0; round < 8; ++round) {
        const std::vector<Found> opened = newWindows(kit, before);
        if (opened.empty())
            return;
        const Found w = opened.back();
        const QString title = w.title();
        const QString key = keyOf(w.json);
        auto gone = [&] {
            for (const QJsonValue& o : kit.windows())
                if (keyOf(o.toObject()) == key)
                    return false;
            return true;
        };
        kit.activate(title);
        kit.key(w.json.value("class").toString() == "QMessageBox" ? "Return" : "Escape");
        if (kit.waitFor(gone, QString(), 2000, false))
            continue;
        kit.clickCloseBox(title);
        if (!kit.waitFor(gone, "\"" + title + "\" to close", 5000))
            return;
    }
}

} // namespace

struct DrawnCase {
    std::string family;
    QSize screen;
};

class DrawnWhole : public ::testing::TestWithParam<DrawnCase> {};

TEST_P(DrawnWhole, EveryWindowShowsItsTextsWholeWithinTheScreen)
{
    E2eKit kit(GetParam().screen);
    kit.prepareFolder();
    seedSmallDataSet(kit);
    seedListData(kit);
    seedExtremes(kit);
    kit.start("2026-12-10 09:00:00");
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    for (const Shown& s : families().at(GetParam().family)) {
        const QString what = QString::fromLatin1(s.procedure);
        SCOPED_TRACE(what.toStdString());
        const std::set<QString> before = shownKeys(kit);
        kit.startProcedure(what, s.request, QString::fromLatin1(s.parameter));
        if (!kit.waitFor([&] { return !newWindows(kit, before).empty(); }, what + " to open its window", 8000))
            continue;
        checkNewWindows(kit, before, what);
        closeNewWindows(kit, before);
        ASSERT_TRUE(kit.running()) << what.toStdString() << " ended the program";
    }
}

// Each family on the kit's large screen and on a small laptop's.
std::vector<DrawnCase> drawnCases()
{
    std::vector<DrawnCase> v;
    for (const char* f : {"Core", "Calendar", "Registers", "Tools"})
        for (QSize size : {kDefaultScreen, QSize(1366, 768)})
            v.push_back({f, size});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Families, DrawnWhole, ::testing::ValuesIn(drawnCases()), [](const auto& info) {
    return info.param.family + std::to_string(info.param.screen.width()) + "x" + std::to_string(info.param.screen.height());
});

// A centred window is centred with its frame: the window manager adds the
// title bar and borders only after the place was chosen, and a place
// reckoned without them lies lower by half of them (and, by the bottom
// edge, would push them past it).
TEST(Placement, ACentredWindowIsCentredWithItsFrameOnTheAvailableArea)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.start("2026-12-10 09:00:00");
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    const QRect area = kit.screen();
    for (const char* procedure : {"AboutWnd", "Y2K_ClockWnd"}) {
        SCOPED_TRACE(procedure);
        const std::set<QString> before = shownKeys(kit);
        kit.startProcedure(procedure);
        const Found w = kit.waitWindow(procedure);
        ASSERT_TRUE(w);
        const QRect r = kit.frameOf(w);
        EXPECT_TRUE(area.contains(r));
        EXPECT_LE(std::abs(r.center().x() - area.center().x()), 1) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        EXPECT_LE(std::abs(r.center().y() - area.center().y()), 1) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
        closeNewWindows(kit, before);
    }
}

namespace {

// Where a frame `size` centred over `over` lies, moved as little as needed
// to stay on `area`.
QRect centredOver(const QRect& over, QSize size, const QRect& area)
{
    QRect r(QPoint(), size);
    r.moveCenter(over.center());
    r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() + 1 - r.width())));
    r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() + 1 - r.height())));
    return r;
}

// `slack`: a place reckoned before the window manager has told a window's
// title bar is off by a part of it (the frame also grows to its first
// size about that centre); a window the manager placed lies far off.
void expectPlacedOver(const E2eKit& kit, const QString& title, const QRect& over, int slack = 12)
{
    const Found w = kit.waitWindow(title);
    ASSERT_TRUE(w) << title.toStdString();
    const QRect r = kit.frameOf(w), want = centredOver(over, r.size(), kit.screen());
    EXPECT_TRUE(kit.screen().contains(r)) << title.toStdString();
    EXPECT_LE((r.center() - want.center()).manhattanLength(), slack)
        << title.toStdString() << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
        << ", wanted at " << want.x() << "," << want.y() << "; the program's idea " << w.rect().x() << ","
        << w.rect().y() << " " << w.rect().width() << "x" << w.rect().height();
}

} // namespace

// A window with no place of its own opens centred over the window it was
// opened from (the frame on its screen), wherever the window manager would
// put it: with windows already open, smart placement puts the next one in
// a corner or past the screen's edge.
class OpenedOver : public ::testing::TestWithParam<QSize> {};

TEST_P(OpenedOver, AWindowWithoutAPlaceOpensCentredOverItsOpener)
{
    E2eKit kit(GetParam());
    kit.prepareFolder();
    seedSmallDataSet(kit);
    kit.start("2026-12-10 09:00:00");
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    const QRect frame = kit.frameOf(kit.waitWindow("Main"));
    expectPlacedOver(kit, "Main", kit.screen());
    // Several lists open at once, each over the frame.
    for (const char* list : {"IdeaBr", "ProgramsBr", "KeyWrdBr"}) {
        kit.startProcedure(list);
        expectPlacedOver(kit, list, frame);
    }
    // A form over the list it was called from.
    const QRect ideas = kit.frameOf(kit.waitWindow("IdeaBr"));
    kit.activate("IdeaBr");
    kit.clickControl("IdeaBr", "Insert");
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.window("IdeaFr")); }, "the idea form"));
    expectPlacedOver(kit, "IdeaFr", ideas);
}

INSTANTIATE_TEST_SUITE_P(Screens, OpenedOver, ::testing::Values(kDefaultScreen, QSize(1366, 768)),
                         [](const auto& info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });
