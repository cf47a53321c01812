// The browse list and its page-by-page model over the keyed-file engine.
#include "platform/BrowseList.h"
#include "platform/PasteLimit.h"

#include "platform/ErrorReporter.h"
#include "platform/Inspector.h"
#include "platform/Ini.h"
#include "platform/TellOnce.h"
#include "platform/Picture.h"
#include "platform/SettingsFile.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace ven {

// ------------------------------------------------------------- columns --

BrowseColumn BrowseColumn::ofField(uint16_t field, const QString& header, int width, const QString& picture)
{
    BrowseColumn c;
    c.header = header;
    c.width = width;
    c.picture = picture;
    c.field = field;
    return c;
}

BrowseColumn BrowseColumn::computed(const QString& header, int width, const QString& picture,
                                    std::function<QVariant(const Record&)> value)
{
    BrowseColumn c;
    c.header = header;
    c.width = width;
    c.picture = picture;
    c.value = std::move(value);
    c.editable = false;
    return c;
}

namespace {

// The pixels a cell needs to show its picture's longest text whole in the
// view's font: the widest digit in every digit's place (a short text may
// hold any letter: the widest letter in every place), and the delegate's
// margins on both sides and the grid line.
int pictureWidth(const QTableView* view, const QString& code)
{
    const Picture pic = Picture::parse(code);
    const QString longest = longestText(pic);
    if (longest.isEmpty())
        return 0;
    // Measured in fractions of a pixel, as the cell lays its text out: a
    // text a fraction wider than its room shows cut ("10.…").
    const QFontMetricsF fm(view->font());
    qreal text = 0;
    if (pic.kind == Picture::Kind::Text) {
        qreal widest = 0;
        for (QChar c : QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"))
            widest = std::max(widest, fm.horizontalAdvance(c));
        text = widest * qreal(longest.size());
    }
    for (QChar d = '0'; d <= '9'; d = QChar(d.unicode() + 1)) {
        QString s = longest;
        for (QChar& c : s)
            if (c.isDigit())
                c = d;
        text = std::max(text, fm.horizontalAdvance(s));
    }
    text = std::max(text, fm.averageCharWidth() * qreal(longest.size()));
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return int(std::ceil(text)) + 2 * margin + 1;
}

// The pixels a column needs: its picture's longest text, and its caption in
// the header's font with the header's margins and the room of a sort
// indicator where the header shows one.
int columnWidth(const QTableView* view, const BrowseColumn& c)
{
    const QHeaderView* h = view->horizontalHeader();
    int caption = 0;
    if (!c.header.isEmpty())
        caption = int(std::ceil(QFontMetricsF(h->font()).horizontalAdvance(c.header)))
                  + 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h)
                  + (h->isSortIndicatorShown() ? h->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, h) : 0);
    int samples = 0;
    if (!c.samples.isEmpty()) {
        const QFontMetricsF fm(view->font());
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        for (const QString& t : c.samples)
            samples = std::max(samples, int(std::ceil(fm.horizontalAdvance(t))) + 2 * margin + 1);
    }
    return std::max({pictureWidth(view, c.picture), caption, samples});
}

bool isText(FieldType t) { return t == FieldType::String || t == FieldType::CString || t == FieldType::Memo; }

// Compares two values of a field as the engine orders them: numbers by
// value, texts without letter case and trailing blanks.
int compareValues(FieldType t, const Value& a, const Value& b)
{
    auto num = [](const Value& v) -> double {
        if (auto* i = std::get_if<int64_t>(&v))
            return double(*i);
        if (auto* d = std::get_if<double>(&v))
            return *d;
        return std::get<QString>(v).toDouble();
    };
    if (isText(t)) {
        auto text = [](const Value& v) {
            QString s = std::holds_alternative<QString>(v) ? std::get<QString>(v) : QString::number(double(std::get_if<int64_t>(&v) ? *std::get_if<int64_t>(&v) : 0));
            while (s.endsWith(' '))
                s.chop(1);
            return s;
        };
        return QString::compare(text(a), text(b), Qt::CaseInsensitive);
    }
    const double x = num(a), y = num(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}

// The smallest and largest values of a field's type.
Value typeBound(const FieldDef& f, bool high)
{
    switch (f.type) {
    case FieldType::Byte: return int64_t(high ? 255 : 0);
    case FieldType::Short: return int64_t(high ? 32767 : -32768);
    case FieldType::UShort: return int64_t(high ? 65535 : 0);
    case FieldType::Long: return int64_t(high ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min());
    case FieldType::ULong: return int64_t(high ? std::numeric_limits<uint32_t>::max() : 0);
    case FieldType::Real: return high ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    case FieldType::Time: return int64_t(high ? 8640000 : 0);
    case FieldType::String:
    case FieldType::CString:
    case FieldType::Memo: return high ? QString(std::max<int>(1, f.size), QChar(0xFFFF)) : QString();
    }
    return int64_t(0);
}

std::map<const KeyedFile*, bool>& prepared()
{
    static std::map<const KeyedFile*, bool> m;
    return m;
}

std::set<uint16_t> autoNumberedFields(const FileDef& def)
{
    std::set<uint16_t> s;
    for (const KeyDef& k : def.keys)
        if (k.autoPart >= 0 && k.autoPart < int(k.parts.size()))
            s.insert(k.parts[k.autoPart].field);
    return s;
}

} // namespace

void fillKeyBounds(const FileDef& def, int key, const std::vector<RangeLimit>& ranges, Record& r, bool high)
{
    r.clear();
    if (key < 0)
        return;
    for (const KeyPart& p : def.keys[key].parts) {
        auto g = std::find_if(ranges.begin(), ranges.end(), [&](const RangeLimit& x) { return x.field == p.field; });
        if (g != ranges.end())
            r.setValue(p.field, (high != p.descending) ? g->high : g->low);
        else
            r.setValue(p.field, typeBound(def.fields[p.field], high != p.descending));
    }
}

bool withinRanges(const FileDef& def, const std::vector<RangeLimit>& ranges, const Record& r)
{
    for (const RangeLimit& g : ranges) {
        const FieldType t = def.fields[g.field].type;
        if (compareValues(t, r.value(g.field), g.low) < 0 || compareValues(t, r.value(g.field), g.high) > 0)
            return false;
    }
    return true;
}

void markInsertPrepared(const KeyedFile& file, bool copy)
{
    prepared()[&file] = copy;
}

bool takeInsertPrepared(const KeyedFile& file, bool* copy)
{
    auto it = prepared().find(&file);
    if (it == prepared().end())
        return false;
    if (copy)
        *copy = it->second;
    prepared().erase(it);
    return true;
}

// --------------------------------------------------------------- model --

BrowseModel::BrowseModel(const FileDef& def, std::vector<BrowseColumn> columns, QObject* parent)
    : QAbstractTableModel(parent)
    , def_(def)
    , columns_(std::move(columns))
    , ctx_(std::make_unique<Context>())
    , reader_(&ctx_->file(def))
{
}

BrowseModel::~BrowseModel() = default;

bool BrowseModel::accept(Record& r) const
{
    if (filter_ && !filter_(r))
        return false;
    if (hook_)
        hook_(r);
    return true;
}

bool BrowseModel::position(Start from, const Record* probe, int64_t id)
{
    if (!reader_->isOpen() && !reader_->open())
        return false;
    // A reversed view starts where the key order ends.
    if (reversed_ && from == Start::First)
        from = Start::Last;
    else if (reversed_ && from == Start::Last)
        from = Start::First;
    switch (from) {
    case Start::First:
        if (ranges_.empty())
            return bool(reader_->set(key_));
        fillBounds(reader_->rec(), false);
        return bool(reader_->setFromBuffer(key_));
    case Start::Last:
        if (ranges_.empty())
            return bool(reader_->setToEnd(key_));
        fillBounds(reader_->rec(), true);
        return bool(reader_->setFromBuffer(key_));
    case Start::Probe:
        reader_->rec() = *probe;
        return bool(reader_->setFromBuffer(key_));
    case Start::After:
    case Start::Before:
        if (!reader_->set(key_))
            return false;
        if (reader_->getById(id))
            return true;
        if (!probe)
            return false;
        // The boundary record is gone: continue from where it stood.
        reader_->rec() = *probe;
        return bool(reader_->setFromBuffer(key_));
    }
    return false;
}

BrowseModel::Row BrowseModel::makeRow(int64_t id, const Record& rec) const
{
    Row row{id, rec, {}};
    row.cells.reserve(int(columns_.size()));
    for (const BrowseColumn& c : columns_) {
        const QVariant v = c.value ? c.value(rec) : (c.field >= 0 ? rec.get(uint16_t(c.field)) : QVariant());
        const Picture pic = Picture::parse(c.picture);
        row.cells << (pic.isValid() ? ven::format(pic, v) : v.toString());
    }
    return row;
}

// Reads up to `rows` accepted records in one direction; returns the count,
// or -1 - count when the view's end was reached in that direction.
int BrowseModel::read(bool forward, int rows, std::vector<Row>& out, Start from, const Record* probe, int64_t id)
{
    if (!position(from, probe, id))
        return -1;
    int got = 0;
    while (got < rows) {
        Status st = (forward != reversed_) ? reader_->next() : reader_->previous();
        if (!st) {
            // The end of the file; any other failure is told, not taken for it.
            if (st.code != Err::EndOfFile && st.code != Err::NotFound && readFailed_)
                readFailed_(st);
            return -1 - got;
        }
        Record r = reader_->rec();
        if (!inRange(r))
            return -1 - got;
        if (!accept(r))
            continue;
        out.push_back(makeRow(reader_->currentId(), r));
        ++got;
    }
    return got;
}

void BrowseModel::resetRows(std::vector<Row> rows, bool atStart, bool atEnd)
{
    beginResetModel();
    rows_.assign(std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    atStart_ = atStart;
    atEnd_ = atEnd;
    endResetModel();
}

void BrowseModel::loadFromStart(int rows)
{
    std::vector<Row> out;
    const int n = read(true, rows, out, Start::First);
    resetRows(std::move(out), true, n < 0);
}

void BrowseModel::loadFromEnd(int rows)
{
    std::vector<Row> out;
    const int n = read(false, rows, out, Start::Last);
    std::reverse(out.begin(), out.end());
    resetRows(std::move(out), n < 0, true);
}

void BrowseModel::loadFrom(const Record& probe, int rows)
{
    std::vector<Row> out;
    const int n = read(true, rows, out, Start::Probe, &probe);
    if (out.empty())
        return loadFromEnd(rows);
    resetRows(std::move(out), false, n < 0);
    if (fetchBackward(1) == 0)
        atStart_ = true;
}

int BrowseModel::loadAround(int64_t id, const Record& fallback, int rows)
{
    if (position(Start::After, nullptr, id)) {
        Record r = reader_->rec();
        if (inRange(r) && accept(r)) {
            std::vector<Row> before, after;
            const int nb = read(false, rows / 2, before, Start::Before, &fallback, id);
            const int na = read(true, rows, after, Start::After, &fallback, id);
            std::vector<Row> all(std::make_move_iterator(before.rbegin()), std::make_move_iterator(before.rend()));
            const int at = int(all.size());
            all.push_back(makeRow(id, r));
            all.insert(all.end(), std::make_move_iterator(after.begin()), std::make_move_iterator(after.end()));
            resetRows(std::move(all), nb < 0, na < 0);
            return at;
        }
    }
    loadFrom(fallback, rows);
    return -1;
}

int BrowseModel::fetchForward(int rows)
{
    auto last = std::find_if(rows_.rbegin(), rows_.rend(), [](const Row& r) { return r.id != 0; });
    if (last == rows_.rend()) {
        if (rows_.empty()) {
            loadFromStart(rows);
            return int(rows_.size());
        }
        return 0;
    }
    if (atEnd_)
        return 0;
    std::vector<Row> out;
    const Record probe = last->rec;
    const int n = read(true, rows, out, Start::After, &probe, last->id);
    if (!out.empty()) {
        beginInsertRows({}, int(rows_.size()), int(rows_.size() + out.size()) - 1);
        for (Row& r : out)
            rows_.push_back(std::move(r));
        endInsertRows();
    }
    if (n < 0)
        atEnd_ = true;
    return int(out.size());
}

int BrowseModel::fetchBackward(int rows)
{
    auto first = std::find_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.id != 0; });
    if (first == rows_.end() || atStart_)
        return 0;
    std::vector<Row> out;
    const Record probe = first->rec;
    const int n = read(false, rows, out, Start::Before, &probe, first->id);
    if (!out.empty()) {
        beginInsertRows({}, 0, int(out.size()) - 1);
        for (Row& r : out)
            rows_.push_front(std::move(r));
        endInsertRows();
    }
    if (n < 0)
        atStart_ = true;
    return int(out.size());
}

int BrowseModel::trimFront(int keep)
{
    const int n = int(rows_.size()) - keep;
    if (n <= 0)
        return 0;
    beginRemoveRows({}, 0, n - 1);
    rows_.erase(rows_.begin(), rows_.begin() + n);
    atStart_ = false;
    endRemoveRows();
    return n;
}

int BrowseModel::trimBack(int keep)
{
    const int n = int(rows_.size()) - keep;
    if (n <= 0)
        return 0;
    beginRemoveRows({}, keep, int(rows_.size()) - 1);
    rows_.erase(rows_.begin() + keep, rows_.end());
    atEnd_ = false;
    endRemoveRows();
    return n;
}

const BrowseModel::Row* BrowseModel::row(int r) const
{
    return r >= 0 && r < int(rows_.size()) ? &rows_[r] : nullptr;
}

int BrowseModel::rowOf(int64_t id) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id)
            return int(i);
    return -1;
}

void BrowseModel::insertNewRow(int at, const Record& rec)
{
    at = std::clamp(at, 0, int(rows_.size()));
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, makeRow(0, rec));
    endInsertRows();
}

void BrowseModel::removeRowAt(int r)
{
    if (!row(r))
        return;
    beginRemoveRows({}, r, r);
    rows_.erase(rows_.begin() + r);
    endRemoveRows();
}

void BrowseModel::setRowRecord(int r, const Record& rec, int64_t id)
{
    if (!row(r))
        return;
    rows_[r] = makeRow(id, rec);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1));
}

int BrowseModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }
int BrowseModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant BrowseModel::data(const QModelIndex& index, int role) const
{
    const Row* r = row(index.row());
    if (!r || index.column() >= int(columns_.size()))
        return {};
    if (role == Qt::DisplayRole)
        return r->cells[index.column()];
    if (role == Qt::EditRole) {
        const BrowseColumn& c = columns_[index.column()];
        return c.field >= 0 ? QVariant(r->cells[index.column()].trimmed()) : QVariant();
    }
    if (role == kCutTextRole) {
        const Picture pic = Picture::parse(columns_[index.column()].picture);
        return pic.kind == Picture::Kind::Text && longestText(pic).isEmpty();
    }
    if (role == Qt::TextAlignmentRole) {
        const Picture pic = Picture::parse(columns_[index.column()].picture);
        if (pic.kind == Picture::Kind::Number)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ForegroundRole || role == Qt::BackgroundRole || role == SelectedTextRole
        || role == SelectedBackgroundRole) {
        const CellColours c = coloursOf(*r, index.column());
        const QColor& colour = role == Qt::ForegroundRole   ? c.text
                               : role == Qt::BackgroundRole ? c.background
                               : role == SelectedTextRole   ? c.selectedText
                                                            : c.selectedBackground;
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    return {};
}

CellColours BrowseModel::coloursOf(const Row& r, int column) const
{
    const BrowseColumn& c = columns_[column];
    if (c.colours)
        return c.colours(r.rec);
    return rowColours_ ? rowColours_(r.rec) : CellColours{};
}

QVariant BrowseModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < int(columns_.size()))
        return columns_[section].header;
    return {};
}

Qt::ItemFlags BrowseModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable_ && index.column() < int(columns_.size()) && columns_[index.column()].field >= 0
        && columns_[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool BrowseModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const Row* r = row(index.row());
    if (role != Qt::EditRole || !r || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const BrowseColumn& c = columns_[index.column()];
    QVariant v = value;
    const Picture pic = Picture::parse(c.picture);
    if (pic.isValid() && pic.kind != Picture::Kind::Text) {
        auto parsed = parse(pic, value.toString());
        if (!parsed) {
            messageBox(entryRefusal(pic, value.toString()), QStringLiteral("Invalid Entry"), Icon::Exclamation);
            return false;
        }
        v = *parsed;
    }
    if (const Status st = KeyedFile::checkValue(def_, uint16_t(c.field), v, c.header); !st) {
        errors().show(st);
        return false;
    }
    Record edited = r->rec;
    edited.setVariant(uint16_t(c.field), v);
    if (store)
        return store(index.row(), edited, uint16_t(c.field));
    setRowRecord(index.row(), edited, r->id);
    return true;
}

// --------------------------------------------------------- list format --

QString listFormat(const QTableView* view, const DialogUnits& du)
{
    const QHeaderView* h = view->horizontalHeader();
    QStringList parts;
    for (int v = 0; v < h->count(); ++v) {
        const int l = h->logicalIndex(v);
        parts << QString::number(l + 1) + ':' + QString::number(du.toUnitsX(h->sectionSize(l)));
    }
    return parts.join(',');
}

bool applyListFormat(QTableView* view, const DialogUnits& du, const QString& format, const std::vector<int>& widths)
{
    QHeaderView* h = view->horizontalHeader();
    const int count = h->count();
    std::vector<std::pair<int, int>> cols;
    std::set<int> seen;
    for (const QString& part : format.split(',', Qt::SkipEmptyParts)) {
        const QStringList cw = part.trimmed().split(':');
        bool ok1 = false, ok2 = false;
        if (cw.size() != 2)
            return false;
        const int c = cw[0].toInt(&ok1), w = cw[1].toInt(&ok2);
        if (!ok1 || !ok2 || c < 1 || c > count || w < 0 || w > 4000 || !seen.insert(c).second)
            return false;
        cols.emplace_back(c - 1, w);
    }
    if (cols.empty())
        return false;
    for (int l = 0; l < count; ++l)
        if (!seen.count(l + 1))
            cols.emplace_back(l, l < int(widths.size()) ? widths[l] : 40);
    // A stored width too narrow for the column's picture is widened, as
    // the designed widths are.
    const auto* model = qobject_cast<const BrowseModel*>(view->model());
    for (int v = 0; v < int(cols.size()); ++v) {
        auto [l, w] = cols[v];
        h->moveSection(h->visualIndex(l), v);
        const int need = model && l < int(model->columns().size()) ? columnWidth(view, model->columns()[l]) : 0;
        while (du.x(w) < need)
            ++w;
        h->resizeSection(l, du.x(w));
    }
    return true;
}

ListFormat::ListFormat(WindowController& owner, QTableView* view, std::vector<int> widths, FormatWay way, int list,
                       const QString& file)
    : WindowPart(owner), view_(view), widths_(std::move(widths)), way_(way), list_(list), file_(file)
{
}

QString ListFormat::format() const
{
    return listFormat(view_, owner().window().units());
}

QString ListFormat::entry(const char* suffix) const
{
    return way_ == FormatWay::Single ? QStringLiteral("?Browse:1Format")
                                     : QStringLiteral("?Browse:%1:%2").arg(list_).arg(QLatin1String(suffix));
}

void ListFormat::opened()
{
    const DialogUnits& du = owner().window().units();
    const QString current = format();
    const QString section = owner().procedure();
    if (way_ == FormatWay::Single) {
        applyListFormat(view_, du, readIni(file_, section, entry(""), current), widths_);
        return;
    }
    designed_ = readIni(file_, section, entry("ORIG"), current);
    user_ = readIni(file_, section, entry("USER"), current);
    applyListFormat(view_, du, user_, widths_);
    showingUser_ = true;
    owner().armAlertKey(Qt::Key_F12);
}

bool ListFormat::windowEvent(Event e)
{
    if (way_ != FormatWay::Switchable || e != Event::AlertKey || owner().alertKey() != Qt::Key_F12)
        return false;
    applyListFormat(view_, owner().window().units(), showingUser_ ? designed_ : user_, widths_);
    showingUser_ = !showingUser_;
    owner().window().display();
    return true;
}

void ListFormat::closing()
{
    const QString section = owner().procedure();
    if (way_ == FormatWay::Switchable)
        writeIniTold(file_, section, entry("ORIG"), designed_);
    writeIniTold(file_, section, entry("USER"), format());
}

// ---------------------------------------------------------- browse list --

// Paints a cell's selected colours and lets Tab in an in-place editor go on
// to the row's next editable cell.
class BrowseList::Delegate : public QStyledItemDelegate {
public:
    Delegate(BrowseList* list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

protected:
    // An editor takes no more characters than its field stores.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        const auto* model = qobject_cast<const BrowseModel*>(index.model());
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (model && line && index.column() < int(model->columns().size())) {
            const int field = model->columns()[index.column()].field;
            if (const int most = field >= 0 ? fieldCapacity(model->fileDef().fields[field]) : 0; most > 0)
                line->setMaxLength(std::min(line->maxLength(), most));
        }
        if (line)
            limitPastes(line);
        return editor;
    }

    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(option->state & QStyle::State_Selected))
            return;
        if (const QVariant t = index.data(BrowseModel::SelectedTextRole); t.isValid())
            option->palette.setColor(QPalette::HighlightedText, t.value<QColor>());
        if (const QVariant b = index.data(BrowseModel::SelectedBackgroundRole); b.isValid())
            option->palette.setColor(QPalette::Highlight, b.value<QColor>());
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* editor = qobject_cast<QWidget*>(o);
        if (list_ && editor && e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                list_->moving_ = true;
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                list_->moving_ = false;
                list_->editNextCell(key == Qt::Key_Tab);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

private:
    BrowseList* list_;
};

// Keeps the first columns of a list in place when it scrolls sideways: a
// second view over the same rows and selection lies over them.
class BrowseList::FrozenColumns : public QObject {
public:
    FrozenColumns(QTableView* main, int count, QObject* windowFilter)
        : QObject(main), main_(main), frozen_(new QTableView(main)), count_(count)
    {
        frozen_->setObjectName(QStringLiteral("FrozenColumns"));
        frozen_->setModel(main->model());
        frozen_->setSelectionModel(main->selectionModel());
        frozen_->setItemDelegate(new Delegate(nullptr, frozen_));
        frozen_->setPalette(main->palette());
        frozen_->setFocusPolicy(Qt::NoFocus);
        // No frame of its own: its rows lie exactly over the list's, and its
        // viewport is as tall, so at the end both show the same last rows.
        frozen_->setFrameShape(QFrame::NoFrame);
        frozen_->setSelectionBehavior(QAbstractItemView::SelectRows);
        frozen_->setSelectionMode(QAbstractItemView::SingleSelection);
        frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        frozen_->setVerticalScrollMode(main->verticalScrollMode());
        frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        frozen_->verticalHeader()->hide();
        frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozen_->verticalHeader()->setDefaultSectionSize(main->verticalHeader()->defaultSectionSize());
        frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        frozen_->horizontalHeader()->setHighlightSections(false);
        // Clicks on the frozen part reach the window as clicks on the list.
        frozen_->installEventFilter(windowFilter);
        frozen_->viewport()->installEventFilter(windowFilter);
        main->viewport()->stackUnder(frozen_);
        main->installEventFilter(this);
        main->viewport()->installEventFilter(this);  // its height, once it has grown
        QHeaderView* h = main->horizontalHeader();
        connect(h, &QHeaderView::sectionResized, this, [this] { sync(); });
        connect(h, &QHeaderView::sectionMoved, this, [this] { sync(); });
        connect(h, &QHeaderView::geometriesChanged, this, [this] { sync(); });
        // The list's scroll bar leads and the frozen part follows it, never
        // the other way: the list reads rows and moves its own scroll bar
        // while a move is being told, and a tie both ways would hand the
        // frozen part's stale range back to it, over and over. What would
        // scroll the frozen part by itself (a row made current, its range
        // catching up with rows read) is put back to the list's place, and
        // its wheel turns are the list's.
        frozen_->setAutoScroll(false);
        frozen_->viewport()->installEventFilter(this);
        QScrollBar* lead = main->verticalScrollBar();
        QScrollBar* follow = frozen_->verticalScrollBar();
        auto align = [lead, follow] {
            if (follow->value() != lead->value())
                follow->setValue(lead->value());
        };
        connect(lead, &QScrollBar::valueChanged, this, align);
        connect(follow, &QScrollBar::valueChanged, this, align);
        connect(follow, &QScrollBar::rangeChanged, this, align);
        sync();
        frozen_->show();
    }
    QTableView* view() const { return frozen_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if ((o == main_ || o == main_->viewport()) && (e->type() == QEvent::Resize || e->type() == QEvent::Show))
            sync();
        if (o == main_ && e->type() == QEvent::PaletteChange)
            frozen_->setPalette(main_->palette());
        if (o == frozen_->viewport() && e->type() == QEvent::Wheel) {
            QCoreApplication::sendEvent(main_->viewport(), e);
            return true;
        }
        return false;
    }

private:
    // Shows the main list's first visual columns at their widths, over them.
    void sync()
    {
        QHeaderView* h = main_->horizontalHeader();
        QHeaderView* fh = frozen_->horizontalHeader();
        int width = 0;
        for (int c = 0; c < h->count(); ++c)
            frozen_->setColumnHidden(c, true);
        for (int v = 0; v < count_ && v < h->count(); ++v) {
            const int l = h->logicalIndex(v);
            frozen_->setColumnHidden(l, false);
            fh->moveSection(fh->visualIndex(l), v);
            frozen_->setColumnWidth(l, h->sectionSize(l));
            width += h->sectionSize(l);
        }
        fh->setFixedHeight(h->height());
        frozen_->setGeometry(main_->frameWidth() + main_->verticalHeader()->width(), main_->frameWidth(), width + 1,
                             main_->viewport()->height() + h->height());
    }

    QTableView* main_;
    QTableView* frozen_;
    int count_;
};

class BrowseList::KeyFilter : public QObject {
public:
    KeyFilter(BrowseList* list, QObject* parent) : QObject(parent), list_(list) {}
    bool eventFilter(QObject* o, QEvent* e) override
    {
        // A list grown with its window reads the rows it now shows, once its
        // viewport has its new height.
        if (e->type() == QEvent::Resize && o != parent())
            list_->ensureRows();
        return o == parent() && e->type() == QEvent::KeyPress && list_->keyFilter(static_cast<QKeyEvent*>(e));
    }

private:
    BrowseList* list_;
};

BrowseList::BrowseList(WindowController& owner, const FileDef& def, std::vector<BrowseColumn> columns, const QString& list)
    : WindowPart(owner), def_(def), listName_(list)
{
    for (const BrowseColumn& c : columns)
        widths_.push_back(c.width);
    model_ = new BrowseModel(def, std::move(columns), &owner);
    model_->store = [this](int row, const Record& edited, uint16_t field) { return storeRow(row, edited, field); };
    // A file that cannot be read through is told by name once, after the
    // read that met it (which may run inside a paint), and the window closes
    // rather than show a list that ends early as if complete.
    model_->setReadFailed([this, &owner](const Status& st) {
        if (readFailureTold_)
            return;
        readFailureTold_ = true;
        const QString why = !st.errorText.isEmpty() ? st.errorText : st.text;
        QTimer::singleShot(0, &owner, [&owner, label = QString::fromUtf8(def_.label), why] {
            errors().show(1, MessageArgs{label, why, {}, {}});
            owner.close(RequestCancelled);
        });
    });
    owner.openFile(def);
    view_ = owner.window().control(list).as<QTableView>();
    popup_ = new QMenu(&owner.window());
    popup_->setTitle(QStringLiteral("Browse Actions"));
    popup_->setObjectName(QStringLiteral("Browse Actions"));
    if (!view_)
        return;
    // A column is at least as wide as its picture's longest text, so dates,
    // times and numbers never show cut off, and as its caption.
    const DialogUnits& du = owner.window().units();
    for (int c = 0; c < int(widths_.size()); ++c) {
        const int need = columnWidth(view_, model_->columns()[c]);
        while (du.x(widths_[c]) < need)
            ++widths_[c];
    }
    view_->setModel(model_);
    view_->setItemDelegate(new Delegate(this, view_));
    QHeaderView* h = view_->horizontalHeader();
    h->setSectionsMovable(true);
    h->setStretchLastSection(false);
    for (int c = 0; c < int(widths_.size()); ++c)
        h->resizeSection(c, owner.window().units().x(widths_[c]));
    keyFilter_ = new KeyFilter(this, view_);
    view_->installEventFilter(keyFilter_);
    view_->viewport()->installEventFilter(keyFilter_);
    QObject::connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, model_, [this] { ensureRows(); });
    QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, model_, [this] { changed(); });
    QObject::connect(view_, &QTableView::customContextMenuRequested, model_, [this](const QPoint& p) { showPopup(p); });
    const ProcedureTraits& t = owner.traits();
    if (t.format != FormatWay::None && t.formatList == formatList_) {
        const QString file = t.formatInProgramPath ? SettingsFile::programFile() : settingsFile().file();
        owner.addPart(std::make_unique<ListFormat>(owner, view_, widths_, t.format, formatList_, file));
    }
}

BrowseList::~BrowseList()
{
    // The signals go first: taking the model from the view moves its
    // scroll bar, which must not make the list read rows (the columns may
    // read through the window's own members, gone by now).
    detach();
    if (view_)
        view_->setModel(nullptr);
    delete model_;
}

void BrowseList::closing()
{
    settleNewRowOnClose();
    detach();
}

void BrowseList::detach()
{
    if (detached_)
        return;
    detached_ = true;
    if (!view_)
        return;
    view_->removeEventFilter(keyFilter_);
    // Every connection made for the list has the model as its context.
    QObject::disconnect(view_->verticalScrollBar(), nullptr, model_, nullptr);
    QObject::disconnect(view_->selectionModel(), nullptr, model_, nullptr);
    QObject::disconnect(view_, nullptr, model_, nullptr);
    if (QAbstractItemDelegate* d = view_->itemDelegate())
        QObject::disconnect(d, nullptr, model_, nullptr);
}

KeyedFile& BrowseList::file() const { return owner().file(def_); }

void BrowseList::addOrder(int key, int locatorField, bool reversed)
{
    orders_.push_back({key, locatorField, reversed});
}

void BrowseList::setRange(uint16_t field, const Value& low, const Value& high)
{
    std::erase_if(ranges_, [field](const BrowseModel::Range& r) { return r.field == field; });
    ranges_.push_back({field, low, high});
}

void BrowseList::clearRanges() { ranges_.clear(); }
void BrowseList::setFilter(std::function<bool(const Record&)> filter) { model_->setFilter(std::move(filter)); }
void BrowseList::setFetchHook(std::function<void(Record&)> hook) { model_->setFetchHook(std::move(hook)); }

void BrowseList::setEditInPlace(bool on)
{
    inPlace_ = on;
    model_->setEditable(on);
    if (!view_)
        return;
    view_->setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              : QAbstractItemView::NoEditTriggers);
    if (on)
        QObject::connect(view_->itemDelegate(), &QAbstractItemDelegate::closeEditor, model_,
                         [this](QWidget* editor, QAbstractItemDelegate::EndEditHint hint) { editorClosed(editor, hint); });
}

void BrowseList::editorClosed(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (moving_ || detached_ || !view_)
        return;  // Tab: the row goes on to its next cell
    // A change the file refused opens again as typed, the cursor in its cell.
    if (refusedRow_ >= 0) {
        const int row = std::exchange(refusedRow_, -1);
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (hint != QAbstractItemDelegate::RevertModelCache && line)
            reopenCell(row, view_->currentIndex().column(), line->text());
        return;
    }
    // Esc drops a new row.
    if (hint == QAbstractItemDelegate::RevertModelCache)
        return dropNewRow();
    const int r = newRow();
    if (r < 0)
        return;
    // The window was left (another window, a message of its own): the new
    // row waits as typed until the person comes back to it.
    if (!owner().isActiveWindow()) {
        const int column = view_->currentIndex().column();
        return reopenNewRow(column >= 0 ? model_->columns()[column].field : -1);
    }
    // Enter, or a click elsewhere in the window, completes the row.
    completeNewRow();
}

bool BrowseList::editingInPlace() const
{
    return inPlace_ && view_ && (reopening_ || newRow() >= 0 || view_->indexWidget(view_->currentIndex()));
}

namespace {
// No text but blanks, or a number zero.
bool blankValue(const Value& v)
{
    if (const auto* text = std::get_if<QString>(&v))
        return text->trimmed().isEmpty();
    if (const auto* n = std::get_if<int64_t>(&v))
        return *n == 0;
    return std::get<double>(v) == 0;
}
} // namespace

int BrowseList::blankRequiredColumn(const Record& r, QString* words) const
{
    for (int c = 0; c < int(model_->columns().size()); ++c) {
        const BrowseColumn& col = model_->columns()[c];
        if (!col.required || col.field < 0 || !blankValue(r.value(uint16_t(col.field))))
            continue;
        if (words)
            *words = col.header;
        return c;
    }
    return -1;
}

void BrowseList::settleNewRowOnClose()
{
    const int r = newRow();
    if (r < 0 || !view_)
        return;
    // The cell still being typed in belongs to the row.
    if (QWidget* typing = QApplication::focusWidget(); typing && view_->isAncestorOf(typing))
        emit view_->itemDelegate()->commitData(typing);
    const Record edited = model_->row(r)->rec;
    if (owner().endingUnasked())
        return dropNewRow();  // no question holds the program's end
    const QString notStored = QStringLiteral("Row Not Stored");
    if (QString missing; blankRequiredColumn(edited, &missing) >= 0) {
        messageBox(QStringLiteral("The new row was not stored: its %1 is blank.").arg(missing), notStored,
                   Icon::Exclamation);
        return dropNewRow();
    }
    bool stored = !storeCheck_ || storeCheck_(edited, kWholeRow, true) != RowVerdict::Refuse;
    if (stored) {
        KeyedFile& f = file();
        f.rec() = edited;
        if (Status st = f.insert(); !st) {
            errors().show(st);
            stored = false;
        }
    }
    if (!stored) {
        messageBox(QStringLiteral("The new row was not stored."), notStored, Icon::Exclamation);
        dropNewRow();
    }
}

int BrowseList::newRow() const
{
    for (int r = 0; r < model_->rowCount(); ++r)
        if (model_->row(r)->id == 0)
            return r;
    return -1;
}

void BrowseList::dropNewRow()
{
    // A new row left without being stored is dropped with its number.
    if (const int r = newRow(); r >= 0) {
        model_->removeRowAt(r);
        file().cancelAutoInc();
        updateButtons();
    }
}

void BrowseList::completeNewRow()
{
    const int r = newRow();
    if (r < 0)
        return;
    const Record edited = model_->row(r)->rec;
    QString missing;
    if (const int blank = blankRequiredColumn(edited, &missing); blank >= 0) {
        reopening_ = true;  // the message's activation must not refill the list
        messageBox(QStringLiteral("The new row has no %1: type it, or press Esc to drop the row.").arg(missing),
                   QStringLiteral("Incomplete Row"), Icon::Exclamation);
        return reopenNewRow(model_->columns()[blank].field);
    }
    if (storeCheck_ && storeCheck_(edited, kWholeRow, true) == RowVerdict::Refuse)
        return reopenNewRow(-1);
    KeyedFile& f = file();
    f.rec() = edited;
    if (Status st = f.insert(); !st) {
        // The row stays as typed, the cursor on the field the file refused.
        int field = -1;
        for (const BrowseColumn& c : model_->columns())
            if (c.field >= 0 && c.editable && !f.validateField(uint16_t(c.field))) {
                field = c.field;
                break;
            }
        errors().show(st);
        return reopenNewRow(field);
    }
    // The stored row takes its place in the list's order.
    const int64_t id = f.currentId();
    const Record stored = f.rec();
    filling_ = true;
    model_->removeRowAt(r);
    const int row = model_->loadAround(id, stored, pageRows() * 2);
    filling_ = false;
    selectRow(std::max(0, row));
    ensureRows();
    updateButtons();
    if (stored_)
        stored_();
}

void BrowseList::reopenNewRow(int field)
{
    reopening_ = true;
    QTimer::singleShot(0, model_, [this, field] {
        reopening_ = false;
        const int r = newRow();
        if (r < 0 || !view_)
            return;
        int column = firstEditableColumn();
        for (int c = 0; c < int(model_->columns().size()); ++c)
            if (model_->columns()[c].field == field)
                column = c;
        const QModelIndex at = model_->index(r, column);
        view_->setCurrentIndex(at);
        view_->edit(at);
    });
}

void BrowseList::reopenCell(int row, int column, const QString& typed)
{
    reopening_ = true;
    QTimer::singleShot(0, model_, [this, row, column, typed] {
        reopening_ = false;
        if (!view_ || detached_ || row >= model_->rowCount() || column < 0)
            return;
        const QModelIndex at = model_->index(row, column);
        view_->setCurrentIndex(at);
        view_->edit(at);
        if (auto* line = qobject_cast<QLineEdit*>(view_->indexWidget(at)))
            line->setText(typed);
    });
}

int BrowseList::firstEditableColumn() const
{
    const QHeaderView* h = view_->horizontalHeader();
    for (int v = 0; v < h->count(); ++v) {
        const int l = h->logicalIndex(v);
        const BrowseColumn& c = model_->columns()[l];
        if (!h->isSectionHidden(l) && c.field >= 0 && c.editable)
            return l;
    }
    return 0;
}

void BrowseList::setSelectionColours(const QColor& background, const QColor& text)
{
    if (!view_)
        return;
    QPalette p = view_->palette();
    if (background.isValid())
        p.setColor(QPalette::Highlight, background);
    if (text.isValid())
        p.setColor(QPalette::HighlightedText, text);
    view_->setPalette(p);
}

void BrowseList::freezeColumns(int count)
{
    if (view_ && count > 0) {
        new FrozenColumns(view_, count, &owner().window());
        frozen_ = true;
    }
}

void BrowseList::editNextCell(bool forward)
{
    if (!view_)
        return;
    const QModelIndex cur = view_->currentIndex();
    const BrowseModel::Row* r = model_->row(cur.row());
    if (!r)
        return;
    const QHeaderView* h = view_->horizontalHeader();
    for (int v = h->visualIndex(cur.column()) + (forward ? 1 : -1); v >= 0 && v < h->count(); v += forward ? 1 : -1) {
        const int l = h->logicalIndex(v);
        const QModelIndex next = model_->index(cur.row(), l);
        if (h->isSectionHidden(l) || !(model_->flags(next) & Qt::ItemIsEditable))
            continue;
        view_->setCurrentIndex(next);
        view_->edit(next);
        return;
    }
    if (r->id == 0)
        completeNewRow();  // Tab past the last cell leaves the row
}

void BrowseList::addPopupItem(const QString& text, const QString& control)
{
    extraItems_.emplace_back(text, control);
}

int BrowseList::pageRows() const
{
    if (!view_)
        return 20;
    const int rh = std::max(1, view_->verticalHeader()->defaultSectionSize());
    return std::max(1, view_->viewport()->height() / rh);
}

void BrowseList::opened()
{
    if (owner().window().hasControl(buttons_.select)) {
        const bool selecting = owner().REQUEST == SelectRecord;
        owner().control(buttons_.select).show(selecting);
        // A lookup's Enter selects, whatever the window's own default is.
        if (selecting)
            owner().window().setDefaultButton(buttons_.select);
    }
    if (!view_)
        return;
    fitColumns();
    applyOrder();
    model_->loadFromStart(pageRows() * 2);
    selectRow(0);
    ensureRows();
    updateButtons();
}

void BrowseList::fitColumns()
{
    // The list's columns fit it at the window's size: a window whose list
    // cannot show them all grows as wide as they are (within the screen).
    // A list with frozen columns scrolls sideways by design.
    if (frozen_)
        return;
    const QHeaderView* h = view_->horizontalHeader();
    int room = view_->width() - 2 * view_->frameWidth();
    if (view_->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        room -= view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view_);
    if (!view_->verticalHeader()->isHidden())
        room -= view_->verticalHeader()->width();
    owner().window().widenForList(view_, h->length() - room);
}

void BrowseList::applyOrder()
{
    const Order* o = orders_.empty() ? nullptr : &orders_[std::clamp(order_, 0, int(orders_.size()) - 1)];
    model_->setKey(o ? o->key : -1);
    model_->setReversed(o && o->reversed);
    model_->setRanges(ranges_);
    locator_.clear();
}

void BrowseList::selectRow(int row, QAbstractItemView::ScrollHint hint)
{
    if (!view_)
        return;
    if (model_->rowCount() == 0) {
        changed();
        return;
    }
    row = std::clamp(row, 0, model_->rowCount() - 1);
    const bool was = filling_;
    filling_ = true;
    view_->setCurrentIndex(model_->index(row, 0));
    filling_ = was;
    // The rows read around it move it down the model: the view scrolls to
    // where it stands then, with the scroll range of the rows as they are.
    ensureRows();
    static_cast<ListView*>(view_.data())->updateGeometries();
    view_->scrollTo(view_->currentIndex(), hint);
    changed();
}

const Record* BrowseList::highlighted() const
{
    if (!view_)
        return nullptr;
    const BrowseModel::Row* r = model_->row(view_->currentIndex().row());
    return r ? &r->rec : nullptr;
}

int64_t BrowseList::highlightedId() const
{
    const BrowseModel::Row* r = view_ ? model_->row(view_->currentIndex().row()) : nullptr;
    return r ? r->id : 0;
}

void BrowseList::changed()
{
    if (filling_ || detached_)
        return;
    // While a window the list's window called is open (its form), the
    // buffer is that window's: the list never writes into it.
    if (const Record* r = highlighted(); r && !owner().waiting())
        file().rec() = *r;
    updateButtons();
    ensureRows();
    owner().raiseFieldEvent(listName_, FieldEvent::NewSelection);
}

void BrowseList::updateButtons()
{
    const bool any = model_->rowCount() > 0;
    for (const QString& b : {buttons_.change, buttons_.remove})
        if (owner().window().hasControl(b))
            owner().control(b).enable(any);
}

void BrowseList::ensureRows()
{
    if (filling_ || detached_ || !view_)
        return;
    filling_ = true;
    const int page = pageRows();
    QScrollBar* sb = view_->verticalScrollBar();
    const int cur = view_->currentIndex().row();
    int top = view_->rowAt(0);
    if (top < 0)
        top = 0;
    const int last = std::max(top + page, cur);
    if (!model_->atEnd() && last + page >= model_->rowCount())
        model_->fetchForward(2 * page);
    const int first = cur >= 0 ? std::min(top, cur) : top;
    if (!model_->atStart() && first < page) {
        const int value = sb->value();
        if (const int n = model_->fetchBackward(2 * page)) {
            static_cast<ListView*>(view_.data())->updateGeometries();
            sb->setValue(value + n);
        }
    }
    // The rows kept stay a few pages around the view: those at the far end
    // from the rows shown go (the wheel and the thumb move the view away
    // from the highlighted row). A highlighted row that would go with them
    // moves to the view's nearer edge first, and the buffer follows it.
    const int cap = std::max(600, 12 * page);
    bool moved = false;
    if (model_->rowCount() > cap) {
        const int rows = model_->rowCount();
        const int keep = cap - 4 * page;
        const int shown = std::max(0, view_->rowAt(0));
        const bool front = shown + page / 2 > rows / 2;
        const int at = view_->currentIndex().row();
        if (at >= 0 && (front ? at < rows - keep : at >= keep)) {
            const int edge = front ? std::max(shown, rows - keep) : std::min(shown + page - 1, keep - 1);
            view_->setCurrentIndex(model_->index(edge, 0));
            moved = true;
        }
        if (front) {
            const int value = sb->value();
            if (const int n = model_->trimFront(keep)) {
                static_cast<ListView*>(view_.data())->updateGeometries();
                sb->setValue(value - n);
            }
        } else {
            model_->trimBack(keep);
        }
    }
    filling_ = false;
    if (moved)
        changed();
}

void BrowseList::refresh()
{
    if (!view_ || detached_)
        return;
    model_->setRanges(ranges_);  // limits set since the last fill apply now
    const int64_t id = highlightedId();
    const Record* h = highlighted();
    const int cur = view_->currentIndex().row();
    const int offset = cur >= 0 ? cur - std::max(0, view_->rowAt(0)) : 0;
    filling_ = true;
    int row = 0;
    if (id != 0 && h) {
        const Record probe = *h;
        row = model_->loadAround(id, probe, pageRows() * 2);
        if (row < 0)
            row = model_->atStart() ? 0 : 1;
    } else {
        model_->loadFromStart(pageRows() * 2);
    }
    filling_ = false;
    selectRow(row);
    // The highlighted row keeps its place in the view where it can.
    if (const int now = view_->currentIndex().row(); now - offset >= 0 && offset < pageRows()) {
        view_->scrollTo(model_->index(now - offset, 0), QAbstractItemView::PositionAtTop);
        ensureRows();
    }
    updateButtons();
}

void BrowseList::locate(const QString& text)
{
    if (!view_ || detached_ || orders_.empty())
        return;
    const Order& o = orders_[std::clamp(order_, 0, int(orders_.size()) - 1)];
    if (o.locatorField < 0)
        return;
    // The probe: range values, the typed text, then the lowest values.
    Record probe(&def_);
    probe.clear();
    if (o.key >= 0) {
        for (const KeyPart& p : def_.keys[o.key].parts) {
            auto g = std::find_if(ranges_.begin(), ranges_.end(), [&](const BrowseModel::Range& r) { return r.field == p.field; });
            if (g != ranges_.end())
                probe.setValue(p.field, p.descending ? g->high : g->low);
            else if (p.field == o.locatorField)
                probe.set(p.field, text);
            else
                probe.setValue(p.field, typeBound(def_.fields[p.field], p.descending));
        }
    }
    filling_ = true;
    model_->loadFrom(probe, pageRows() * 2);
    filling_ = false;
    // The located row: the first at or after the text (the last when none is).
    const FieldType t = def_.fields[o.locatorField].type;
    int target = model_->rowCount() - 1;
    for (int r = 0; r < model_->rowCount(); ++r)
        if (compareValues(t, model_->row(r)->rec.value(o.locatorField), Value(text)) >= 0) {
            target = r;
            break;
        }
    selectRow(target, QAbstractItemView::PositionAtTop);
}

bool BrowseList::keyFilter(QKeyEvent* e)
{
    const int key = e->key();
    if (key == Qt::Key_Home || key == Qt::Key_End) {
        filling_ = true;
        if (key == Qt::Key_Home)
            model_->loadFromStart(pageRows() * 2);
        else
            model_->loadFromEnd(pageRows() * 2);
        filling_ = false;
        selectRow(key == Qt::Key_Home ? 0 : model_->rowCount() - 1);
        ensureRows();
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && owner().REQUEST == SelectRecord) {
        press(buttons_.select);
        return true;
    }
    if (key == Qt::Key_Backspace && !locator_.isEmpty()) {
        locator_.chop(1);
        locate(locator_);
        return true;
    }
    const QString text = e->text();
    if (!text.isEmpty() && text[0].isPrint() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const Order* o = orders_.empty() ? nullptr : &orders_[std::clamp(order_, 0, int(orders_.size()) - 1)];
        if (!o || o->locatorField < 0)
            return false;
        const QString keep = locator_ + text;
        locate(keep);
        locator_ = keep;
        return true;
    }
    return false;
}

bool BrowseList::windowEvent(Event e)
{
    // While its form is open the list keeps its rows (a placeholder the form
    // reserved is no row); the form's end refills it.
    // Nor while a row is edited in place: refilling would lose what is typed.
    if (e == Event::GainFocus && !owner().waiting() && !editingInPlace())
        refresh();
    return false;
}

bool BrowseList::fieldEvent(const QString& control, FieldEvent e)
{
    if (e == FieldEvent::Accepted) {
        if (control == buttons_.insert)
            return act(InsertRecord), true;
        if (control == buttons_.change)
            return act(ChangeRecord), true;
        if (control == buttons_.remove)
            return act(DeleteRecord), true;
        if (control == buttons_.copy) {
            loadHighlighted();
            CopyRequested = 1;
            press(buttons_.insert);
            return true;
        }
        if (control == buttons_.select && owner().REQUEST == SelectRecord) {
            if (!loadHighlighted())
                return true;
            owner().close(RequestCompleted);
            return true;
        }
        return false;
    }
    if (control == sheet_ && e == FieldEvent::NewSelection && !sheet_.isEmpty()) {
        order_ = owner().window().chosenTab(sheet_) - 1;
        const int64_t id = highlightedId();
        const Record* h = highlighted();
        applyOrder();
        if (id && h) {
            const Record probe = *h;
            filling_ = true;
            const int row = model_->loadAround(id, probe, pageRows() * 2);
            filling_ = false;
            selectRow(std::max(0, row));
        } else {
            refresh();
        }
        return false;
    }
    if (control != listName_)
        return false;
    if (e == FieldEvent::DoubleClick) {
        if (owner().REQUEST == SelectRecord)
            press(buttons_.select);
        else if (!inPlace_)
            press(buttons_.change);
        return !inPlace_ || owner().REQUEST == SelectRecord;
    }
    if (e == FieldEvent::RightClick) {
        showPopup(view_ ? view_->viewport()->mapFromGlobal(QCursor::pos()) : QPoint());
        return true;
    }
    return false;
}

// Presses a control as the user would: only when it is there, shown and enabled.
void BrowseList::press(const QString& control)
{
    Window& w = owner().window();
    if (!w.hasControl(control))
        return;
    Control c = w.control(control);
    if (!c.isVisible() || !c.isEnabled())
        return;
    owner().raiseFieldEvent(control, FieldEvent::Accepted);
}

void BrowseList::showPopup(const QPoint& at)
{
    popup_->clear();
    Window& w = owner().window();
    static const char* const kItems[][2] = {{"&Insert", nullptr}, {"&Change", nullptr}, {"&Delete", nullptr},
                                            {"&Print", "Print"},  {"&Query", "Query"},  {"&Select", nullptr},
                                            {"&Toolbox", "Toolbox"}};
    const QString controls[] = {buttons_.insert, buttons_.change, buttons_.remove, QStringLiteral("Print"),
                                QStringLiteral("Query"), buttons_.select, QStringLiteral("Toolbox")};
    auto add = [&](const QString& text, const QString& control) {
        if (!w.hasControl(control))
            return;
        Control c = w.control(control);
        if (!c.isVisible())
            return;
        QAction* a = popup_->addAction(text);
        a->setEnabled(c.isEnabled());
        QObject::connect(a, &QAction::triggered, model_, [this, control] { press(control); });
    };
    for (int i = 0; i < 7; ++i)
        add(QString::fromUtf8(kItems[i][0]), controls[i]);
    for (const auto& [text, control] : extraItems_)
        add(text, control);
    if (!popup_->isEmpty())
        popup_->popup(view_ ? view_->viewport()->mapToGlobal(at) : QCursor::pos());
}

bool BrowseList::loadHighlighted()
{
    const int64_t id = highlightedId();
    if (id == 0)
        return false;
    KeyedFile& f = file();
    f.set(model_->key());
    if (Status st = f.getById(id); !st) {
        if (st.message)
            errors().show(st);
        refresh();
        return false;
    }
    return true;
}

bool BrowseList::prepareInsert()
{
    KeyedFile& f = file();
    bool copy = false;
    Record src(&def_);
    if (CopyRequested) {
        CopyRequested = 0;
        if (const Record* h = highlighted()) {
            src = *h;
            copy = true;
        }
    }
    if (!errors().retry([&f] { return f.primeRecord(); }))
        return false;
    if (copy) {
        const std::set<uint16_t> numbered = autoNumberedFields(def_);
        for (uint16_t i = 0; i < def_.fields.size(); ++i)
            if (!numbered.count(i))
                f.rec().setValue(i, src.value(i));
    }
    markInsertPrepared(f, copy);
    return true;
}

void BrowseList::act(uint8_t request)
{
    if (inPlace_)
        return editInPlace(request);
    if (!form_)
        return;
    if (request == InsertRecord ? !prepareInsert() : !loadHighlighted())
        return;
    callForm(request);
}

void BrowseList::callForm(uint8_t request, Done done)
{
    if (!form_)
        return;
    QPointer<WindowController> guard(&owner());
    const int64_t before = highlightedId();
    CallRequest = request;
    run(form_(), [this, guard, request, before, done](uint8_t response) {
        if (!guard || !guard->isOpen())
            return;
        // A form that did not take the prepared record leaves nothing behind.
        KeyedFile& f = file();
        takeInsertPrepared(f);
        if (request == InsertRecord && response != RequestCompleted && f.isOpen() && f.autoIncPending())
            f.cancelAutoInc();
        const int64_t target = response == RequestCompleted && request != DeleteRecord && f.hasCurrent() ? f.currentId() : before;
        showRecord(target, f.rec());
        if (response == RequestCompleted && stored_)
            stored_();
        if (done)
            done(response);
    });
}

void BrowseList::showRecord(int64_t id, const Record& probe)
{
    if (!view_ || detached_)
        return;
    const Record at = probe;
    filling_ = true;
    int row = id ? model_->loadAround(id, at, pageRows() * 2) : -1;
    if (!id)
        model_->loadFromStart(pageRows() * 2);
    filling_ = false;
    selectRow(row < 0 ? (model_->atStart() ? 0 : 1) : row);
    ensureRows();
    updateButtons();
}

void BrowseList::editInPlace(uint8_t request)
{
    if (!view_)
        return;
    const int cur = std::max(0, view_->currentIndex().row());
    const int firstEditable = firstEditableColumn();
    switch (request) {
    case InsertRecord: {
        if (!prepareInsert())
            return;
        takeInsertPrepared(file());
        const int at = model_->rowCount() ? cur + 1 : 0;
        model_->insertNewRow(at, file().rec());
        filling_ = true;
        view_->setCurrentIndex(model_->index(at, firstEditable));
        filling_ = false;
        view_->edit(model_->index(at, firstEditable));
        break;
    }
    case ChangeRecord:
        if (model_->rowCount()) {
            view_->setCurrentIndex(model_->index(cur, firstEditable));
            view_->edit(model_->index(cur, firstEditable));
        }
        break;
    case DeleteRecord: {
        if (!loadHighlighted())
            return;
        if (errors().show(9) != 1)
            return;
        if (Status st = file().deleteWithChildren(); !st) {
            errors().show(st);
            return;
        }
        refresh();
        if (stored_)
            stored_();
        break;
    }
    default:
        break;
    }
}

bool BrowseList::storeRow(int row, const Record& edited, uint16_t field)
{
    const BrowseModel::Row* r = model_->row(row);
    if (!r)
        return false;
    // A new row is kept as typed until it is completed.
    if (r->id == 0)
        return model_->setRowRecord(row, edited, 0), true;
    // A refused change keeps its typed text: the cell opens again once its editor has closed.
    if (storeCheck_ && storeCheck_(edited, field, false) == RowVerdict::Refuse)
        return refusedRow_ = row, false;
    KeyedFile& f = file();
    Status st;
    f.set(model_->key());
    if (!(st = f.getById(r->id)))
        return errors().show(st), false;
    f.rec() = edited;
    st = f.updateWithChildren();
    if (!st) {
        errors().show(st);
        refusedRow_ = row;
        return false;
    }
    model_->setRowRecord(row, f.rec(), f.currentId());
    file().rec() = f.rec();
    return true;
}

} // namespace ven
