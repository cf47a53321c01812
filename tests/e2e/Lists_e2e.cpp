// A list as a person sees it positioned: the row the locator, End or Home
// reaches is drawn in view and highlighted.
#include "E2eKit.h"
#include "Seeds.h"

#include <gtest/gtest.h>

using namespace ven;
using namespace ven::e2e;

namespace {

constexpr int kLastName = 2;  // the list's column of last names

// The current row as the list draws it, with whether it lies whole inside
// the list; an empty object when the current row is not drawn at all.
QJsonObject currentRow(const E2eKit& kit, const QString& window, const QString& list)
{
    for (const QJsonValue& r : kit.rows(window, list))
        if (r.toObject().value("current").toBool())
            return r.toObject();
    return {};
}

::testing::AssertionResult shownHighlighted(const E2eKit& kit, const QString& window, const QString& lastName)
{
    QJsonObject row;
    kit.waitFor([&] {
        row = currentRow(kit, window, "List");
        return row.value("cells").toArray().at(kLastName).toString() == lastName;
    }, QString(), 5000, false);
    if (row.isEmpty())
        return ::testing::AssertionFailure() << "the current row is not in view";
    const QString shown = row.value("cells").toArray().at(kLastName).toString();
    if (shown != lastName)
        return ::testing::AssertionFailure() << "the current row shows \"" << shown.toStdString() << "\"";
    if (!row.value("selected").toBool())
        return ::testing::AssertionFailure() << "the current row is not highlighted";
    const Found list = kit.control(window, "List");
    const QJsonObject r = row.value("rect").toObject();
    const QRect drawn(r.value("x").toInt(), r.value("y").toInt(), r.value("w").toInt(), r.value("h").toInt());
    if (drawn.top() < list.rect().top() || drawn.bottom() > list.rect().bottom())
        return ::testing::AssertionFailure() << "the current row is drawn at y " << drawn.top() << ".." << drawn.bottom()
                                             << ", the list shows " << list.rect().top() << ".." << list.rect().bottom();
    return ::testing::AssertionSuccess();
}

} // namespace

// With 2,000 names, the last-name locator, End and Home each bring their row
// into view highlighted, so that Change opens the record the user sees.
TEST(ListPositions, TheLocatedRowIsInViewAndHighlighted)
{
    E2eKit kit;
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        for (int i = 1; i <= 2000; ++i)
            putRecord(ctx, VenNam, [&](Record& r) {
                r.set(NAM::FIRSTNAME, "Ann");
                r.set(NAM::LASTNAME, QStringLiteral("Last%1").arg(i, 4, 10, QChar('0')));
            });
        ctx.closeAll();
    });
    kit.start();
    ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
    kit.activate("Main");
    kit.key("F4");
    ASSERT_TRUE(kit.waitWindow("Names Browse"));
    ASSERT_TRUE(kit.waitFor([&] { return !kit.rows("Names Browse", "List").isEmpty(); }, "the names listed"));

    kit.clickControl("Names Browse", "LastLocator");
    ASSERT_TRUE(kit.waitFor([&] { return kit.focus().value("control").toString() == "LastLocator"; }, "the cursor in the locator"));
    kit.type("Last1500");
    ASSERT_TRUE(kit.waitFor([&] { return kit.control("Names Browse", "LastLocator").text() == "Last1500"; }, "the locator typed"));
    EXPECT_TRUE(shownHighlighted(kit, "Names Browse", "Last1500"));

    // End and Home in the list itself.
    const QJsonObject first = currentRow(kit, "Names Browse", "List");
    const QJsonObject r = first.value("rect").toObject();
    kit.click(QPoint(r.value("x").toInt() + 20, r.value("y").toInt() + r.value("h").toInt() / 2));
    kit.key("End");
    EXPECT_TRUE(shownHighlighted(kit, "Names Browse", "Last2000"));
    kit.key("Home");
    EXPECT_TRUE(shownHighlighted(kit, "Names Browse", "Last0001"));
    kit.key("Page_Down");
    kit.key("Page_Down");
    kit.key("Down");
    const QJsonObject down = currentRow(kit, "Names Browse", "List");
    EXPECT_TRUE(shownHighlighted(kit, "Names Browse", down.value("cells").toArray().at(kLastName).toString()));
}
