// What a list declares beyond its rows: colours by row, read-only columns
// in in-place editing, frozen columns, and a lookup answered beside the
// list's own open copy.
#include "Samples.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>

namespace ven::test {
namespace {

const std::vector<std::pair<QString, int>> kAmounts = {{"Bank", -1}, {"Cash", 0}, {"Loan", 25}};

// The colour of the text painted in the middle of a cell (the first pixel
// that is not the background).
QColor paintedText(QTableView* v, int row, int column)
{
    const QRect cell = v->visualRect(v->model()->index(row, column));
    const QImage img = v->viewport()->grab().toImage();
    const QColor back = img.pixelColor(cell.left() + 1, cell.top() + 1);
    std::map<QRgb, int> counts;
    for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
        for (int x = cell.left() + 2; x < cell.right() - 1; ++x)
            if (const QColor c = img.pixelColor(x, y); c != back)
                ++counts[c.rgb()];
    // The most frequent colour besides the background is the glyphs' own.
    auto best = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
    return best == counts.end() ? QColor() : QColor(best->first);
}

TEST(BrowseLists, ColoursByRowAndKeptOnTheSelectedRow)
{
    WindowKit kit;
    addSamples(kAmounts);
    const QColor lightYellow(255, 255, 128);
    kit.start([&] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [&](BrowseList& b) {
            // The amount red below 0, else blue, on white; kept when selected.
            b.setRowColours([](const Record& r) {
                const QColor text = r.num(TST::AMOUNT) < 0 ? QColor(Qt::red) : QColor(Qt::blue);
                return CellColours{text, Qt::white, text, {}};
            });
            b.setSelectionColours(lightYellow, Qt::black);
        });
    });
    QTableView* v = kit.list("SampleBr");
    const QModelIndex bank = v->model()->index(0, 2), cash = v->model()->index(1, 2);
    EXPECT_EQ(bank.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_EQ(cash.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    EXPECT_EQ(cash.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));

    // As painted: the highlighted row keeps its red text on light yellow.
    kit.highlight("SampleBr", 0);
    const QImage img = v->viewport()->grab().toImage();
    const QRect selected = v->visualRect(bank), plain = v->visualRect(cash);
    EXPECT_EQ(img.pixelColor(selected.left() + 1, selected.top() + 1), lightYellow);
    EXPECT_EQ(img.pixelColor(plain.left() + 1, plain.top() + 1), QColor(Qt::white));
    const QColor red = paintedText(v, 0, 2), blue = paintedText(v, 1, 2);
    EXPECT_GT(red.red(), 150);
    EXPECT_LT(red.blue(), 100);
    EXPECT_GT(blue.blue(), 150);
    EXPECT_LT(blue.red(), 100);

    // A change of the amount recolours its row.
    Context ctx;
    KeyedFile& f = ctx.file(sampleFile());
    ASSERT_TRUE(f.open());
    f.rec().set(TST::NUMBER, 2);
    ASSERT_TRUE(f.get(TST::NUMBERKEY));
    f.rec().set(TST::AMOUNT, -5);
    ASSERT_TRUE(f.put());
    postEvent(Event::GainFocus, kit.window("SampleBr").thread());
    kit.settle();
    EXPECT_EQ(v->model()->index(1, 2).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
}

TEST(BrowseLists, InPlaceEditingSkipsReadOnlyColumnsWithTab)
{
    WindowKit kit;
    addSamples(kAmounts);
    kit.start([] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [](BrowseList& b) { b.setEditInPlace(true); });
    });
    QTableView* v = kit.list("SampleBr");
    // The number (kept by the file) and the computed column take no editor.
    for (int column : {0, 3}) {
        v->edit(v->model()->index(1, column));
        EXPECT_FALSE(qobject_cast<QLineEdit*>(QApplication::focusWidget())) << column;
    }
    // Shown as Amount, Number, Name: Tab goes from the amount past the number to the name.
    v->horizontalHeader()->moveSection(2, 0);
    kit.highlight("SampleBr", 1);
    kit.press("SampleBr", "Change");
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    EXPECT_EQ(v->currentIndex().column(), 2);  // the first editable column as shown
    editor->selectAll();
    QTest::keyClicks(editor, "30");
    QTest::keyClick(editor, Qt::Key_Tab);
    kit.settle();
    EXPECT_EQ(sampleRecord(2).num(TST::AMOUNT), 30);  // Tab stored the cell
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    EXPECT_EQ(v->currentIndex().column(), 1);
    editor->selectAll();
    QTest::keyClicks(editor, "Coins");
    QTest::keyClick(editor, Qt::Key_Backtab);
    kit.settle();
    EXPECT_EQ(sampleRecord(2).str(TST::NAME), "Coins");
    EXPECT_EQ(v->currentIndex().column(), 2);  // back to the amount, past the number
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(editor);
    QTest::keyClick(editor, Qt::Key_Backtab);  // nothing editable before it: editing ends
    kit.settle();
    EXPECT_FALSE(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
    EXPECT_EQ(sampleRecord(2).num(TST::NUMBER), 2);
    EXPECT_EQ(sampleCount(), 3);
}

TEST(BrowseLists, FrozenColumnsStayWhenTheListScrollsSideways)
{
    WindowKit kit;
    addSamples(kAmounts);
    kit.start([] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [](BrowseList& b) { b.freezeColumns(1); });
    });
    QTableView* v = kit.list("SampleBr");
    auto* frozen = v->findChild<QTableView*>("FrozenColumns");
    ASSERT_NE(frozen, nullptr);
    QHeaderView* h = v->horizontalHeader();
    h->resizeSection(1, 600);  // wider than the list: it scrolls
    kit.settle();
    v->horizontalScrollBar()->setValue(v->horizontalScrollBar()->maximum());
    kit.settle();
    ASSERT_GT(v->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(frozen->indexAt(QPoint(3, 3)).column(), 0);
    EXPECT_NE(v->indexAt(QPoint(3, 3)).column(), 0);
    EXPECT_EQ(frozen->width(), h->sectionSize(0) + 1);
    // It follows the list's rows and selection.
    kit.highlight("SampleBr", 2);
    EXPECT_EQ(frozen->currentIndex().row(), 2);
    // A double click on the frozen part opens the highlighted record as on the list.
    QTest::mouseDClick(frozen->viewport(), Qt::LeftButton, {}, frozen->visualRect(frozen->model()->index(2, 0)).center());
    kit.settle();
    ASSERT_TRUE(kit.isOpen("SampleFr"));
    EXPECT_EQ(kit.window("SampleFr").REQUEST, ChangeRecord);
    EXPECT_EQ(kit.text("SampleFr", "Name").trimmed(), "Loan");
}

TEST(BrowseLists, ALookupIsAnsweredBesideTheListsOpenCopy)
{
    WindowKit kit;
    addSamples(kAmounts);
    ProcedureTraits window;
    window.single = SingleRule::Window;
    const int menuCopy = kit.start([window] { return std::make_unique<SampleBr>("SampleBr", window); });
    WindowController& first = kit.window("SampleBr");
    kit.highlight("SampleBr", 1);

    uint8_t response = 0;
    kit.call(std::make_unique<SampleBr>("SampleBr", window), SelectRecord, &response);
    ASSERT_EQ(kit.openCount("SampleBr"), 2);
    EXPECT_NE(&kit.window("SampleBr"), &first);
    EXPECT_TRUE(kit.control("SampleBr", "Select").isVisible());
    kit.highlight("SampleBr", 2);
    kit.press("SampleBr", "Select");
    EXPECT_EQ(response, RequestCompleted);
    EXPECT_EQ(threadContext(kFrameThread).file(sampleFile()).rec().str(TST::NAME), "Loan");
    // The copy from the menu stays as it was, with its flag.
    ASSERT_EQ(kit.openCount("SampleBr"), 1);
    EXPECT_EQ(&kit.window("SampleBr"), &first);
    EXPECT_EQ(kit.highlighted("SampleBr"), 1);
    EXPECT_EQ(Running.get("SampleBr"), menuCopy);
    kit.press("SampleBr", "Close");
    EXPECT_EQ(Running.get("SampleBr"), 0);
}

// Columns declared narrower than their pictures' texts: dates, times,
// numbers and short texts widen to show their values whole, and every
// column its caption; a long text keeps the width the window chose.
class NarrowBr : public WindowController {
public:
    NarrowBr() : WindowController("NarrowBr", sampleBrowseDef(), ProcedureTraits{}) {}

protected:
    bool setUp() override
    {
        using C = BrowseColumn;
        auto b = std::make_unique<BrowseList>(
            *this, sampleFile(),
            std::vector<C>{C::computed("Day", 4, "D06-", [](const Record&) { return QVariant(qlonglong(82000)); }),
                           C::computed("At", 4, "T04", [](const Record&) { return QVariant(qlonglong(8000001)); }),
                           C::computed("Sum", 4, "n-_12.2", [](const Record&) { return QVariant(-888888.88); }),
                           C::computed("Code", 4, "s5", [](const Record&) { return QVariant(QString("28.12")); }),
                           C::ofField(TST::NAME, "Name", 40, "s30"),
                           C::computed("Category total", 4, "n1", [](const Record&) { return QVariant(qlonglong(7)); }),
                           C::computed("Time", 4, "T01.B", [](const Record&) { return QVariant(qlonglong(7590001)); })});
        b->addOrder(TST::NUMBERKEY);
        addPart(std::move(b));
        return true;
    }
};

TEST(BrowseLists, AColumnIsAtLeastAsWideAsItsPicturesText)
{
    WindowKit kit;
    addSamples({{"A rather long name", 1}});
    kit.start([] { return std::make_unique<NarrowBr>(); });
    QTableView* v = kit.list("NarrowBr");
    ASSERT_EQ(v->model()->rowCount(), 1);
    const QFontMetrics fm(v->font());
    const int margins = 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1);
    for (int c : {0, 1, 2, 3, 6}) {
        const QModelIndex i = v->model()->index(0, c);
        const QString shown = i.data().toString();
        ASSERT_FALSE(shown.trimmed().isEmpty()) << c;
        EXPECT_GE(v->horizontalHeader()->sectionSize(c), fm.horizontalAdvance(shown) + margins) << shown.toStdString();
        // As the cell lays it out, in fractions of a pixel: not cut to "21.…".
        EXPECT_EQ(fm.elidedText(shown, Qt::ElideRight, v->visualRect(i).width() - margins), shown);
    }
    EXPECT_EQ(v->horizontalHeader()->sectionSize(4), kit.window("NarrowBr").window().units().x(40));
    // A one-digit value under a long caption: the caption shows whole.
    const QHeaderView* h = v->horizontalHeader();
    EXPECT_GE(h->sectionSize(5), h->fontMetrics().horizontalAdvance("Category total")
                                     + 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h));
}

// A resized window's list takes the change of size: what holds the list
// grows with it, what lies under it moves down, and the list reads the rows
// it now has room for.
TEST(BrowseLists, TheListFollowsItsWindowsSize)
{
    WindowKit kit;
    std::vector<std::pair<QString, int>> many;
    for (int i = 0; i < 300; ++i)
        many.emplace_back(QStringLiteral("Name %1").arg(i, 3, 10, QChar('0')), i);
    addSamples(many);
    kit.start([] { return std::make_unique<SampleBr>(); });
    Window& w = kit.window("SampleBr").window();
    QWidget* list = w.control("List").widget();
    QWidget* sheet = w.control("Sheet").widget();
    QWidget* close = w.control("Close").widget();
    const QRect list0 = list->geometry(), sheet0 = sheet->geometry(), close0 = close->geometry();
    const QSize grown(160, 700);
    w.outer()->resize(w.outer()->size() + grown);
    kit.settle();
    EXPECT_EQ(list->geometry(), QRect(list0.topLeft(), list0.size() + grown));
    EXPECT_EQ(sheet->geometry(), QRect(sheet0.topLeft(), sheet0.size() + grown));
    EXPECT_EQ(close->geometry(), close0.translated(0, grown.height()));
    QTableView* v = kit.list("SampleBr");
    EXPECT_GE(v->rowAt(v->viewport()->height() - 2), 0) << "the grown list shows empty space under its rows";
    // Back to its own size, everything is where it was designed.
    w.outer()->resize(w.outer()->size() - grown);
    kit.settle();
    EXPECT_EQ(list->geometry(), list0);
    EXPECT_EQ(close->geometry(), close0);
}

} // namespace
} // namespace ven::test

namespace ven::test {
namespace {

// The record being changed was deleted by another copy: OK says so and
// keeps the typed values, stored as a new record (Yes) or left for Cancel.
TEST(RecordForms, ARecordDeletedElsewhereKeepsTheTypedValues)
{
    for (const int answer : {1, 2}) {
        SCOPED_TRACE(answer == 1 ? "saved as new" : "kept for a cancel");
        WindowKit kit;
        addSamples({{"Rent", 10}, {"Loan", 20}});
        kit.start([] { return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}); });
        kit.highlight("SampleBr", 1);
        kit.press("SampleBr", "Change");
        ASSERT_TRUE(kit.isOpen("SampleFr"));
        ASSERT_EQ(kit.text("SampleFr", "Name").trimmed(), "Loan");
        {
            Context other;
            KeyedFile& f = other.file(sampleFile());
            ASSERT_TRUE(f.open());
            f.rec().clear();
            f.rec().set(TST::NUMBER, 2);
            ASSERT_TRUE(f.get(TST::NUMBERKEY));
            ASSERT_TRUE(f.remove());
        }
        kit.replaceText("SampleFr", "Name", "Mortgage");
        kit.answer(answer);
        kit.press("SampleFr", "OK");
        ASSERT_EQ(kit.boxes().size(), 1u);
        EXPECT_EQ(kit.boxes()[0].text,
                  "This record was deleted by another station. Do you want to save your values as a new record?");
        if (answer == 1) {
            EXPECT_FALSE(kit.isOpen("SampleFr"));
            EXPECT_EQ(sampleCount(), 2);
            EXPECT_EQ(sampleRecord(2).str(TST::NAME).trimmed(), "Mortgage");
            EXPECT_EQ(sampleRecord(2).num(TST::AMOUNT), 20);
        } else {
            ASSERT_TRUE(kit.isOpen("SampleFr"));
            EXPECT_EQ(kit.text("SampleFr", "Name").trimmed(), "Mortgage");
            kit.press("SampleFr", "Cancel");
            EXPECT_FALSE(kit.isOpen("SampleFr"));
            EXPECT_EQ(sampleCount(), 1);
        }
    }
}

} // namespace
} // namespace ven::test
