// Rows edited in place in the feasts and memorial-days lists, as a person
// edits them under a window manager: a half-typed row is never stored by a
// click away or by leaving the window, and a refused row stays as typed,
// with the cursor in the cell at fault, once its message is answered.
#include "E2eKit.h"
#include "Seeds.h"

#include <gtest/gtest.h>

using namespace ven;
using namespace ven::e2e;

namespace {

const QString kFeasts = QStringLiteral("Browse Canonical Feasts");
const QString kMemorials = QStringLiteral("Memorial Days");

// The text of the cell editor that has the cursor, or a null string when no
// cell is being edited.
QString editorText(const E2eKit& kit, const QString& window)
{
    for (const QJsonValue& c : kit.controls(window)) {
        const QJsonObject o = c.toObject();
        if (o.value("focused").toBool() && o.value("class").toString().contains("LineEdit"))
            return o.value("text").toString();
    }
    return {};
}

// Where the cell editor with the cursor lies (its left edge), -1 when none.
int editorX(const E2eKit& kit, const QString& window)
{
    for (const QJsonValue& c : kit.controls(window)) {
        const QJsonObject o = c.toObject();
        if (o.value("focused").toBool() && o.value("class").toString().contains("LineEdit"))
            return o.value("rect").toObject().value("x").toInt();
    }
    return -1;
}

bool editing(const E2eKit& kit, const QString& window)
{
    return !editorText(kit, window).isNull();
}

// The rows as drawn, each as its cells joined by "|", trimmed.
QStringList shownRows(const E2eKit& kit, const QString& window)
{
    QStringList out;
    for (const QJsonValue& r : kit.rows(window, "List")) {
        QStringList cells;
        for (const QJsonValue& c : r.toObject().value("cells").toArray())
            cells << c.toString().trimmed();
        out << cells.join('|');
    }
    return out;
}

QPoint rowPoint(const E2eKit& kit, const QString& window, int row, int dx = 30)
{
    const QJsonObject r = kit.rows(window, "List").at(row).toObject().value("rect").toObject();
    return {r.value("x").toInt() + dx, r.value("y").toInt() + r.value("h").toInt() / 2};
}

template <class Read>
int countRecords(E2eKit& kit, const FileDef& def, Read read = {})
{
    int n = 0;
    kit.seed([&] {
        Context ctx;
        KeyedFile& f = ctx.file(def);
        if (!f.open())
            return;
        f.set();
        while (f.next())
            n += read(f.rec()) ? 1 : 0;
        ctx.closeAll();
    });
    return n;
}

int records(E2eKit& kit, const FileDef& def)
{
    return countRecords(kit, def, [](const Record&) { return true; });
}

// A message box titled `caption` is answered by Enter; true once it is gone.
bool answer(E2eKit& kit, const QString& caption)
{
    if (!kit.waitWindow(caption, 5000))
        return false;
    kit.waitFor([&] { return kit.activeWindow().title() == caption; }, caption + " active", 5000, false);
    kit.key("Return");
    return kit.waitGone(caption, 5000);
}

class InPlaceRows : public ::testing::Test {
protected:
    void startWith(const QString& procedure, const QString& title)
    {
        kit.start();
        ASSERT_TRUE(kit.waitFor([&] { return bool(kit.frame()); }, "the frame"));
        kit.startProcedure(procedure);
        ASSERT_TRUE(kit.waitWindow(title));
        ASSERT_TRUE(kit.waitFor([&] { return kit.activeWindow().title() == title; }, title + " active"));
    }
    void insert(const QString& title)
    {
        kit.clickControl(title, "Insert");
        ASSERT_TRUE(kit.waitFor([&] { return editing(kit, title); }, "the new row's editor"));
    }
    // Types into the cell being edited, then waits until the editor shows it.
    void typeCell(const QString& title, const QString& text)
    {
        kit.key("ctrl+a");
        kit.type(text);
        ASSERT_TRUE(kit.waitFor([&] { return editorText(kit, title) == text; }, "\"" + text + "\" typed"));
    }
    // Tab: the editor moves on to the row's next cell.
    void tab(const QString& title)
    {
        const int from = editorX(kit, title);
        kit.key("Tab");
        ASSERT_TRUE(kit.waitFor([&] { const int x = editorX(kit, title); return x >= 0 && x != from; },
                                "the next cell's editor"));
    }

    E2eKit kit;
};

} // namespace

// A click on another row, on another window and closing the list never store
// a feast that is only half typed; the row stays open until Enter or Esc.
TEST_F(InPlaceRows, AHalfTypedFeastIsNotStoredByAClickAwayOrByLeavingTheWindow)
{
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        putRecord(ctx, VenLit, [](Record& r) { r.set(LIT::FEAST, 5); r.set(LIT::NAME, "Fifth"); });
        putRecord(ctx, VenLit, [](Record& r) { r.set(LIT::FEAST, 9); r.set(LIT::NAME, "Ninth"); });
        ctx.closeAll();
    });
    startWith("FeastsBr", kFeasts);
    insert(kFeasts);
    typeCell(kFeasts, "8");

    // A click on another row: the row stays, its message tells what is missing.
    kit.click(rowPoint(kit, kFeasts, 0));
    ASSERT_TRUE(answer(kit, "Incomplete Row"));
    ASSERT_TRUE(kit.waitFor([&] { return editing(kit, kFeasts); }, "the new row open again"));
    EXPECT_EQ(records(kit, VenLit), 2);
    EXPECT_EQ(shownRows(kit, kFeasts).size(), 3);
    EXPECT_TRUE(shownRows(kit, kFeasts).contains("8|000|")) << shownRows(kit, kFeasts).join(" / ").toStdString();

    // Another window made active and this one again: nothing stored, the row still open.
    kit.activate("Main");
    kit.waitFor([&] { return kit.activeWindow().title() != kFeasts; }, "the frame active", 5000, false);
    kit.activate(kFeasts);
    ASSERT_TRUE(kit.waitFor([&] { return kit.activeWindow().title() == kFeasts; }, "the list active again"));
    EXPECT_TRUE(kit.windows().size() > 0);
    EXPECT_EQ(records(kit, VenLit), 2);
    EXPECT_TRUE(shownRows(kit, kFeasts).contains("8|000|"));

    // Closing the window drops the row with a word, and stores nothing.
    kit.clickCloseBox(kFeasts);
    ASSERT_TRUE(answer(kit, "Row Not Stored"));
    ASSERT_TRUE(kit.waitGone(kFeasts));
    EXPECT_EQ(records(kit, VenLit), 2);
    EXPECT_TRUE(kit.running());
}

// Enter on a feast whose key is taken, and on a memorial day out of range:
// after the message the row stays as typed, the cursor in the cell at fault;
// a corrected row is stored and Esc drops one that is not.
TEST_F(InPlaceRows, ARefusedRowStaysAsTypedWithTheCursorInTheCellAtFault)
{
    kit.prepareFolder();
    kit.seed([] {
        Context ctx;
        putRecord(ctx, VenLit, [](Record& r) { r.set(LIT::FEAST, 3); r.set(LIT::NAME, "Dup3"); });
        ctx.closeAll();
    });
    startWith("FeastsBr", kFeasts);
    insert(kFeasts);
    typeCell(kFeasts, "0");
    tab(kFeasts);
    typeCell(kFeasts, "3");
    tab(kFeasts);
    typeCell(kFeasts, "Taken");
    kit.key("Return");
    ASSERT_TRUE(kit.waitWindow("Duplicate Key Error", 5000));
    const QString box = kit.activeWindow().title();
    kit.key("Return");
    ASSERT_TRUE(kit.waitGone(box, 5000));
    ASSERT_TRUE(kit.waitFor([&] { return editing(kit, kFeasts); }, "the refused row open again"));
    EXPECT_EQ(records(kit, VenLit), 1);
    EXPECT_TRUE(shownRows(kit, kFeasts).contains("0|003|Taken")) << shownRows(kit, kFeasts).join(" / ").toStdString();
    kit.key("Escape");
    ASSERT_TRUE(kit.waitFor([&] { return shownRows(kit, kFeasts).size() == 1; }, "the row dropped by Esc"));
    EXPECT_EQ(records(kit, VenLit), 1);
    kit.clickCloseBox(kFeasts);
    ASSERT_TRUE(kit.waitGone(kFeasts));

    kit.startProcedure("MemorialBr");
    ASSERT_TRUE(kit.waitWindow(kMemorials));
    ASSERT_TRUE(kit.waitFor([&] { return kit.activeWindow().title() == kMemorials; }, "the memorial list active"));
    insert(kMemorials);
    typeCell(kMemorials, "7");
    tab(kMemorials);
    typeCell(kMemorials, "Someone");
    tab(kMemorials);
    typeCell(kMemorials, "367");
    kit.key("Return");
    ASSERT_TRUE(answer(kit, "Range Error"));
    ASSERT_TRUE(kit.waitFor([&] { return editorText(kit, kMemorials) == "367"; }, "the cursor back in the day number"));
    EXPECT_EQ(records(kit, VenSaint), 0);
    typeCell(kMemorials, "200");
    kit.key("Return");
    ASSERT_TRUE(kit.waitFor([&] { return records(kit, VenSaint) == 1; }, "the corrected row stored"));
    EXPECT_TRUE(shownRows(kit, kMemorials).contains("1907|7|Someone|200")) << shownRows(kit, kMemorials).join(" / ").toStdString();

    // A change to a stored row: a day out of range is refused and the cell kept as typed.
    kit.clickControl(kMemorials, "Change");
    ASSERT_TRUE(kit.waitFor([&] { return editing(kit, kMemorials); }, "the row's editor"));
    tab(kMemorials);
    tab(kMemorials);
    typeCell(kMemorials, "0");
    kit.key("Return");
    ASSERT_TRUE(answer(kit, "Range Error"));
    ASSERT_TRUE(kit.waitFor([&] { return editorText(kit, kMemorials) == "0"; }, "the refused change kept as typed"));
    kit.key("Escape");
    EXPECT_EQ(countRecords(kit, VenSaint, [](const Record& r) { return r.num(AST::DAYNO) == 200; }), 1);
    kit.clickCloseBox(kMemorials);
    ASSERT_TRUE(kit.waitGone(kMemorials));
    kit.menu("&File", {"E&xit"});
    kit.expectOrderlyEnd();
}
