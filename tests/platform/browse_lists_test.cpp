// What a list declares beyond its rows: colours by row, read-only columns
// in in-place editing, frozen columns, and a lookup answered beside the
// list's own open copy.
#include "Samples.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

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

// The number in the first column of a row of the list.
int numberAt(QTableView* v, int row)
{
    return v->model()->index(row, 0).data().toString().remove(' ').toInt();
}

// Where a vertical scroll bar's thumb lies.
QRect thumbOf(QScrollBar* sb)
{
    QStyleOptionSlider o;
    o.initFrom(sb);
    o.subControls = QStyle::SC_All;
    o.orientation = Qt::Vertical;
    o.minimum = sb->minimum();
    o.maximum = sb->maximum();
    o.sliderPosition = sb->sliderPosition();
    o.sliderValue = sb->value();
    o.singleStep = sb->singleStep();
    o.pageStep = sb->pageStep();
    return sb->style()->subControlRect(QStyle::CC_ScrollBar, &o, QStyle::SC_ScrollBarSlider, sb);
}

// The rows a list reads page by page stay whole and in order while frozen
// columns share its scroll bar, whatever moves it: keys, the wheel (on
// either part), the thumb.
TEST(BrowseLists, FrozenColumnsScrollAHundredThousandRecordsEveryWay)
{
    WindowKit kit;
    const int count = 100000;
    std::vector<std::pair<QString, int>> many;
    many.reserve(count);
    for (int i = 0; i < count; ++i)
        many.emplace_back(QStringLiteral("Name %1").arg(i, 6, 10, QChar('0')), i % 1000);
    addSamples(many);
    kit.start([] {
        return std::make_unique<SampleBr>("SampleBr", ProcedureTraits{}, [](BrowseList& b) { b.freezeColumns(1); });
    });
    // A taller list, so that a page is many rows and the walks are shorter.
    // Nothing is painted meanwhile: painting is not what is tested, and the
    // walks would take a minute with it.
    Window& w = kit.window("SampleBr").window();
    w.outer()->resize(w.outer()->size() + QSize(0, 1000));
    w.outer()->setUpdatesEnabled(false);
    kit.settle();
    QTableView* v = kit.list("SampleBr");
    const int page = v->viewport()->height() / v->verticalHeader()->defaultSectionSize();
    ASSERT_GT(page, 40);
    auto* frozen = v->findChild<QTableView*>("FrozenColumns");
    ASSERT_NE(frozen, nullptr);
    QScrollBar* sb = v->verticalScrollBar();
    const KeyedFile& buffer = kit.window("SampleBr").file(sampleFile());
    auto current = [&] { return numberAt(v, v->currentIndex().row()); };
    auto top = [&] { return numberAt(v, v->rowAt(0)); };
    auto bottom = [&] {
        const int r = v->rowAt(v->viewport()->height() - 1);
        return numberAt(v, r >= 0 ? r : v->model()->rowCount() - 1);
    };
    // The rows held run on without a gap, the frozen part shows the same
    // rows as the list, and the buffer holds the highlighted record.
    auto whole = [&]() -> ::testing::AssertionResult {
        const int rows = v->model()->rowCount();
        if (rows == 0 || rows > 16 * page)
            return ::testing::AssertionFailure() << rows << " rows held";
        for (int r = 1; r < rows; ++r)
            if (numberAt(v, r) != numberAt(v, r - 1) + 1)
                return ::testing::AssertionFailure() << "row " << r << " holds " << numberAt(v, r) << " after "
                                                     << numberAt(v, r - 1);
        const int last = v->viewport()->height() - 1;
        if (frozen->rowAt(0) != v->rowAt(0) || frozen->rowAt(last) != v->rowAt(last))
            return ::testing::AssertionFailure() << "the frozen part shows rows " << frozen->rowAt(0) << ".."
                                                 << frozen->rowAt(last) << ", the list " << v->rowAt(0) << ".."
                                                 << v->rowAt(last);
        if (buffer.rec().num(TST::NUMBER) != current())
            return ::testing::AssertionFailure() << "the buffer holds " << buffer.rec().num(TST::NUMBER)
                                                 << ", the highlighted row " << current();
        return ::testing::AssertionSuccess();
    };

    kit.highlight("SampleBr", 0);
    kit.keyInList("SampleBr", (Qt::CTRL | Qt::Key_End).toCombined());
    ASSERT_EQ(current(), count);
    EXPECT_TRUE(whole());
    // Page Up from the end to the start, a page at each press.
    int presses = 0;
    for (int was = current(); was > 1; was = current()) {
        kit.keyInList("SampleBr", Qt::Key_PageUp);
        ASSERT_LT(current(), was) << "press " << presses;
        if (++presses % 100 == 0) {
            ASSERT_TRUE(whole()) << "press " << presses;
        }
    }
    EXPECT_TRUE(whole());
    EXPECT_GE(presses, count / page);
    // Page Down back to the end.
    for (int was = current(); was < count; was = current()) {
        kit.keyInList("SampleBr", Qt::Key_PageDown);
        ASSERT_GT(current(), was);
    }
    EXPECT_TRUE(whole());

    // The wheel from the end to the start, on the list and on the frozen
    // part in turn; the highlighted row left behind moves along with the
    // rows held. Then down again for a while.
    auto wheel = [&](QWidget* on, int delta) {
        const QPoint at = on->rect().center();
        QWheelEvent e(at, on->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(on, &e);
        kit.settle();
    };
    int turns = 0;
    for (int was = top(); was > 1; was = top()) {
        wheel(++turns % 2 ? v->viewport() : frozen->viewport(), 120 * page);
        ASSERT_LT(top(), was) << "turn " << turns;
        if (turns % 100 == 0) {
            ASSERT_TRUE(whole()) << "turn " << turns;
        }
    }
    EXPECT_TRUE(whole());
    for (int was = top(); bottom() < 20000; was = top()) {
        wheel(v->viewport(), -120 * page);
        ASSERT_GT(top(), was);
    }
    EXPECT_TRUE(whole());

    kit.keyInList("SampleBr", Qt::Key_Home);
    EXPECT_EQ(current(), 1);
    EXPECT_TRUE(whole());
    kit.keyInList("SampleBr", Qt::Key_End);
    EXPECT_EQ(current(), count);
    EXPECT_TRUE(whole());

    // The thumb dragged from the end to the top, a few times over: each
    // drag reads on before the rows held.
    for (int i = 0; i < 5; ++i) {
        const int was = top();
        QPoint at = thumbOf(sb).center();
        QTest::mousePress(sb, Qt::LeftButton, {}, at);
        while (at.y() > 0) {
            at.ry() = std::max(0, at.y() - 7);
            QTest::mouseMove(sb, at);
            kit.settle();
        }
        QTest::mouseRelease(sb, Qt::LeftButton, {}, at);
        kit.settle();
        ASSERT_LT(top(), was) << "drag " << i;
        EXPECT_TRUE(whole()) << "drag " << i;
    }
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
