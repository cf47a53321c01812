// The browse list: a keyed file shown in a window's list, page by page
// through the engine, with one sort order per tab, a locator, range limits
// and a filter as bound values, the Insert/Change/Delete/Select/Copy
// buttons, the "Browse Actions" popup menu, select mode, in-place row
// editing, and the list's column format kept in the settings file.
//
// GUI thread only. The list reads through instances of its own, so reading
// never disturbs the procedure's record buffer; the highlighted row is
// copied into that buffer.
#pragma once

#include "platform/WindowController.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QColor>

#include <deque>
#include <optional>

class QMenu;

namespace ven {

// The colours of a cell, chosen by its row's record. An invalid colour
// keeps the list's own; the selected pair applies while the row is
// highlighted (a selected text colour equal to `text` keeps it).
struct CellColours {
    QColor text, background;
    QColor selectedText, selectedBackground;
};
using ColourRule = std::function<CellColours(const Record&)>;

// One column of a list: its heading, width in dialog units, picture and
// where its value comes from (a field of the record or a computation).
struct BrowseColumn {
    QString header;
    int width = 40;
    QString picture;
    int field = -1;  // the record's field, -1 for a computed column
    std::function<QVariant(const Record&)> value;
    bool editable = true;  // in-place editing: a field column may be edited
    bool required = false; // in-place editing: a new row is not stored while this cell is blank
    QStringList samples;   // texts the column shows whole (a computed column's widest values)
    ColourRule colours;    // the cell's colours by row; none: the row's or the list's

    static BrowseColumn ofField(uint16_t field, const QString& header, int width, const QString& picture);
    static BrowseColumn computed(const QString& header, int width, const QString& picture,
                                 std::function<QVariant(const Record&)> value);
};

// A range limit: the records whose field lies within low..high (texts
// without letter case), on a leading component of the key order.
struct RangeLimit {
    uint16_t field;
    Value low, high;
};
// Fills `probe` with the lowest (high: the highest) values of `key`'s
// components within the limits, for positioning at the view's start or end.
void fillKeyBounds(const FileDef& def, int key, const std::vector<RangeLimit>& ranges, Record& probe, bool high);
bool withinRanges(const FileDef& def, const std::vector<RangeLimit>& ranges, const Record& r);

// The rows of a keyed file in one key order, within range limits and
// through a filter, held as a window of loaded rows that grows and slides
// as the view scrolls: opening reads one page, however large the file.
class BrowseModel : public QAbstractTableModel {
    Q_OBJECT
public:
    BrowseModel(const FileDef& def, std::vector<BrowseColumn> columns, QObject* parent = nullptr);
    ~BrowseModel() override;

    using Range = RangeLimit;
    struct Row {
        int64_t id = 0;  // 0: a new row not stored yet
        Record rec;
        QStringList cells;
    };

    void setKey(int key) { key_ = key; }
    int key() const { return key_; }
    // Shows the key order backwards (newest first on a date key).
    void setReversed(bool on) { reversed_ = on; }
    bool reversed() const { return reversed_; }
    void setRanges(std::vector<Range> ranges) { ranges_ = std::move(ranges); }
    void setFilter(std::function<bool(const Record&)> f) { filter_ = std::move(f); }
    void setFetchHook(std::function<void(Record&)> h) { hook_ = std::move(h); }
    // Heard when a read fails other than at the end of the file (a damaged
    // page): the rows read so far stay, and no more are read that way.
    void setReadFailed(std::function<void(const Status&)> f) { readFailed_ = std::move(f); }
    void setEditable(bool on) { editable_ = on; }
    // Colours for every cell of a row; a column's own rule comes first.
    void setRowColours(ColourRule rule) { rowColours_ = std::move(rule); }
    // The roles under which data() gives a cell's selected colours.
    static constexpr int SelectedTextRole = Qt::UserRole + 1;
    static constexpr int SelectedBackgroundRole = Qt::UserRole + 2;

    // Loads rows from the first record of the view on.
    void loadFromStart(int rows);
    // Loads rows ending with the last record of the view.
    void loadFromEnd(int rows);
    // Loads rows from the first record whose key is >= `probe`'s key values
    // (the last page when there is none).
    void loadFrom(const Record& probe, int rows);
    // Loads rows around the record with that id (or, when it is gone, where
    // `fallback` would stand); the row of the record, -1 when not shown.
    int loadAround(int64_t id, const Record& fallback, int rows);
    // Reads up to `rows` more rows at the end / the start; the count read.
    int fetchForward(int rows);
    int fetchBackward(int rows);
    // Drops rows from the start / the end so that at most `keep` remain.
    int trimFront(int keep);
    int trimBack(int keep);
    bool atStart() const { return atStart_; }
    bool atEnd() const { return atEnd_; }

    const Row* row(int r) const;
    int rowOf(int64_t id) const;
    // A new row (not stored) holding `rec`, placed at `at`.
    void insertNewRow(int at, const Record& rec);
    void removeRowAt(int r);
    void setRowRecord(int r, const Record& rec, int64_t id);
    const std::vector<BrowseColumn>& columns() const { return columns_; }
    const FileDef& fileDef() const { return def_; }

    // Storing an edited cell (in-place editing); false refuses the value.
    std::function<bool(int row, const Record& edited, uint16_t field)> store;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    enum class Start { First, Last, Probe, After, Before };
    int read(bool forward, int rows, std::vector<Row>& out, Start from, const Record* probe = nullptr, int64_t id = 0);
    bool position(Start from, const Record* probe, int64_t id);
    bool inRange(const Record& r) const { return withinRanges(def_, ranges_, r); }
    bool accept(Record& r) const;
    Row makeRow(int64_t id, const Record& rec) const;
    void fillBounds(Record& r, bool high) const { fillKeyBounds(def_, key_, ranges_, r, high); }
    void resetRows(std::vector<Row> rows, bool atStart, bool atEnd);

    const FileDef& def_;
    std::vector<BrowseColumn> columns_;
    std::unique_ptr<Context> ctx_;
    KeyedFile* reader_;
    CellColours coloursOf(const Row& r, int column) const;

    int key_ = -1;
    bool reversed_ = false;
    ColourRule rowColours_;
    std::vector<Range> ranges_;
    std::function<bool(const Record&)> filter_;
    std::function<void(Record&)> hook_;
    std::function<void(const Status&)> readFailed_;
    std::deque<Row> rows_;
    bool atStart_ = true, atEnd_ = true;
    bool editable_ = false;
};

// The list's column format as text: the designed columns in the order they
// show, each as "column:width" (1 the first designed column, widths in
// dialog units), separated by commas.
QString listFormat(const QTableView* view, const DialogUnits& du);
// Applies a format; false (and nothing changed) when it is malformed.
// Columns it leaves out follow in designed order at their designed widths;
// a width too narrow for its column's picture is widened.
bool applyListFormat(QTableView* view, const DialogUnits& du, const QString& format, const std::vector<int>& designedWidths);

// Keeps a list's format in the settings file, the first way (designed and
// user format, F12 switches) or the second (one format).
class ListFormat : public WindowPart {
public:
    ListFormat(WindowController& owner, QTableView* view, std::vector<int> designedWidths, FormatWay way, int list,
               const QString& file);
    QString format() const;
    bool showingUser() const { return showingUser_; }
    QString keptDesigned() const { return designed_; }

    void opened() override;
    bool windowEvent(Event e) override;
    void closing() override;

private:
    QString entry(const char* suffix) const;
    QTableView* view_;
    std::vector<int> widths_;
    FormatWay way_;
    int list_;
    QString file_;
    QString designed_, user_;
    bool showingUser_ = false;
};

// What a list prepared for an insert: a record form called next takes the
// buffer as it is instead of preparing a new record itself.
void markInsertPrepared(const KeyedFile& file, bool copy);
// True (once) when the buffer of `file` was prepared; `copy` tells whether
// it holds a copy of the highlighted record.
bool takeInsertPrepared(const KeyedFile& file, bool* copy = nullptr);

// The browse list of a window: attach it to the controller in its set-up.
class BrowseList : public WindowPart {
public:
    using FormMaker = std::function<std::unique_ptr<WindowController>()>;

    // `list` names the window's List control; the procedure's instance of
    // the file is the record buffer the list fills.
    BrowseList(WindowController& owner, const FileDef& def, std::vector<BrowseColumn> columns,
               const QString& list = QStringLiteral("List"));
    ~BrowseList() override;

    // Sort orders: one per tab of `sheet` in tab order (or one without a
    // sheet); `locatorField` the first free key component typed into;
    // `reversed` shows the key order backwards.
    void addOrder(int key, int locatorField = -1, bool reversed = false);
    void setSheet(const QString& sheet) { sheet_ = sheet; }
    // Range limits on the leading key components and a filter over bound
    // values; both apply from the next refill.
    void setRange(uint16_t field, const Value& low, const Value& high);
    void setRange(uint16_t field, const Value& equal) { setRange(field, equal, equal); }
    void clearRanges();
    void setFilter(std::function<bool(const Record&)> filter);
    // Adjusts each record before the list takes it.
    void setFetchHook(std::function<void(Record&)> hook);
    // The update form called for Insert, Change and Delete.
    void setForm(FormMaker form) { form_ = std::move(form); }
    // Runs once the list has refilled after its form, or an edit in place,
    // stored or deleted a record (a window's count of its rows follows).
    void setStored(std::function<void()> stored) { stored_ = std::move(stored); }
    // The list edits its rows in place instead of using a form: the cells
    // of field columns marked editable; Tab and Shift+Tab store the cell and
    // go on to the next or previous editable cell of the row.
    void setEditInPlace(bool on);
    // A rule an edited row must pass before it is stored in place, told
    // the edited field and whether the row is new: Store stores it, Hold
    // keeps a new row's value unstored while its other cells are still to
    // be edited, Refuse keeps the row as it was (the rule tells the user).
    // Enter on a held row checks it once more with the field kWholeRow.
    enum class RowVerdict : uint8_t { Store, Hold, Refuse };
    static constexpr uint16_t kWholeRow = 0xFFFF;
    using StoreCheck = std::function<RowVerdict(const Record& edited, uint16_t field, bool newRow)>;
    void setStoreCheck(StoreCheck check) { storeCheck_ = std::move(check); }
    // Colours for the cells of each row (a column's own rule comes first).
    void setRowColours(ColourRule rule) { model_->setRowColours(std::move(rule)); }
    // The highlighted row's background and text where no rule gives them.
    void setSelectionColours(const QColor& background, const QColor& text);
    // Keeps the first `count` columns in view (in their shown order) while
    // the list scrolls sideways; clicks on them reach the list.
    void freezeColumns(int count);
    // Buttons by control name (those the window lacks are ignored).
    struct Buttons {
        QString insert = QStringLiteral("Insert"), change = QStringLiteral("Change"),
                remove = QStringLiteral("Delete"), select = QStringLiteral("Select"), copy = QStringLiteral("Copy");
    };
    void setButtons(const Buttons& b) { buttons_ = b; }
    // An extra item of the popup menu that presses a control.
    void addPopupItem(const QString& text, const QString& control);
    // The list number n of "?Browse:n:..." for the owner's list format.
    void setFormatList(int n) { formatList_ = n; }

    // Refills the list, keeping the highlighted record where it can.
    void refresh();
    // Reads the rows around the record `id` (its key values in `probe`, for
    // a record gone) and highlights it in view: the record just stored.
    void showRecord(int64_t id, const Record& probe);
    // Positions at the first record whose locator component starts at `text`.
    void locate(const QString& text);
    // The highlighted row's record; nullptr for an empty list.
    const Record* highlighted() const;
    int64_t highlightedId() const;
    // Loads the highlighted record into the buffer as the current record.
    bool loadHighlighted();
    // Prepares the buffer for an insert: a new record with the file's
    // initial values, or, when CopyRequested is set (it is cleared), the
    // highlighted record's values with new numbers where the file numbers.
    bool prepareInsert();
    // Runs the form with a request (1, 2, 3) on this thread; `done` gets
    // the response after the list has refilled.
    void callForm(uint8_t request, Done done = {});
    int order() const { return order_; }
    BrowseModel& model() { return *model_; }
    QTableView* view() const { return view_; }
    QMenu* popupMenu() const { return popup_; }
    KeyedFile& file() const;
    int pageRows() const;

    void opened() override;
    bool windowEvent(Event e) override;
    bool fieldEvent(const QString& control, FieldEvent e) override;
    // The list reads no more rows: its view's signals are cut.
    void closing() override;

private:
    struct Order {
        int key;
        int locatorField;
        bool reversed;
    };
    void fitColumns();
    void applyOrder();
    void detach();
    void ensureRows();
    void changed();
    void showPopup(const QPoint& at);
    void press(const QString& control);
    void act(uint8_t request);
    void editInPlace(uint8_t request);
    bool storeRow(int row, const Record& edited, uint16_t field);
    int newRow() const;  // the row being inserted, -1 when none is
    // A row or a cell being edited in place, or about to be edited again.
    bool editingInPlace() const;
    void editorClosed(QWidget* editor, QAbstractItemDelegate::EndEditHint hint);
    void dropNewRow();
    void completeNewRow();
    // The first editable cell of a new row that a person must still fill
    // (the column), with the words that say so; -1 when none is blank.
    int blankRequiredColumn(const Record& r, QString* words = nullptr) const;
    // The window closes with a new row in it: a row that can be stored is,
    // one that cannot is dropped with a word (silently when the program ends).
    void settleNewRowOnClose();
    void reopenNewRow(int field);
    // Opens the cell's editor again with the text that was typed into it.
    void reopenCell(int row, int column, const QString& typed);
    int firstEditableColumn() const;
    void updateButtons();
    // Highlights the row and scrolls it into view.
    void selectRow(int row, QAbstractItemView::ScrollHint hint = QAbstractItemView::EnsureVisible);
    bool keyFilter(QKeyEvent* e);
    // Edits the next (previous) editable cell of the row being edited.
    void editNextCell(bool forward);

    const FileDef& def_;
    QString listName_;
    QString sheet_;
    std::vector<Order> orders_;
    std::vector<BrowseModel::Range> ranges_;
    int order_ = 0;
    BrowseModel* model_ = nullptr;
    QPointer<QTableView> view_;
    QMenu* popup_ = nullptr;
    std::vector<std::pair<QString, QString>> extraItems_;
    std::vector<int> widths_;
    FormMaker form_;
    StoreCheck storeCheck_;
    std::function<void()> stored_;
    bool moving_ = false;  // Tab is taking the editor to the row's next cell
    bool reopening_ = false;  // an editor is about to open again on a kept row
    int refusedRow_ = -1;     // the row whose edited cell the file refused
    Buttons buttons_;
    bool inPlace_ = false;
    int formatList_ = 1;
    bool frozen_ = false;  // frozen columns: the list scrolls sideways
    bool filling_ = false;
    bool readFailureTold_ = false;  // a damaged file was told (once per list)
    bool detached_ = false;  // closing: the view's signals are cut
    QString locator_;
    class KeyFilter;
    KeyFilter* keyFilter_ = nullptr;
    class Delegate;
    class FrozenColumns;
};

} // namespace ven
