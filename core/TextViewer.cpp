// The text viewers' list of lines with its popup menu, and their shared window.
#include "core/TextViewer.h"

#include "platform/Inspector.h"
#include "platform/ReportPages.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTextStream>

namespace ven {

// The file's lines, one a row, in the list's font and colour.
class LineModel : public QAbstractListModel {
public:
    LineModel(QObject* parent, uint32_t color) : QAbstractListModel(parent), color_(color) {}
    void setLines(QStringList lines)
    {
        beginResetModel();
        lines_ = std::move(lines);
        endResetModel();
    }
    const QStringList& lines() const { return lines_; }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(lines_.size()); }
    QVariant data(const QModelIndex& i, int role) const override
    {
        if (!i.isValid() || i.row() >= lines_.size())
            return {};
        if (role == Qt::DisplayRole)
            return lines_[i.row()];
        if (role == Qt::ForegroundRole && color_ != kNoColor)
            return QColor::fromRgb(color_);
        if (role == kCutTextRole)
            return true;  // a line of the file: the list scrolls sideways to it
        return {};
    }

private:
    QStringList lines_;
    uint32_t color_;
};

namespace {

const QString kList = QStringLiteral("List");

// Lines of a text file as it stands; tabs kept, CR LF and LF both end a line.
QStringList readLines(const QString& file, bool* ok)
{
    QFile f(file);
    *ok = f.open(QIODevice::ReadOnly | QIODevice::Text);
    QStringList out;
    if (!*ok)
        return out;
    QTextStream in(&f);
    while (!in.atEnd())
        out << in.readLine();
    return out;
}

const WindowDef& viewerDef()
{
    static const WindowDef def{
        .title = "",
        .w = 240,
        .h = 200,
        .resizable = true,
        .timer = 100,
        .controls = {
            {.name = "List", .kind = Kind::List, .x = 0, .y = 0, .w = 240, .h = 176,
             .font = {"System", 10, true}},
            {.name = "Counter", .kind = Kind::Progress, .x = 0, .y = 177, .w = 240, .h = 3, .low = 0,
             .high = TextViewerWnd::kLimit},
            {.name = "Edit", .kind = Kind::Button, .text = "&Edit", .x = 126, .y = 183, .w = 54, .h = 14},
            {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 184, .y = 183, .w = 54, .h = 14,
             .flags = Default, .closes = RequestCompleted},
        }};
    return def;
}

} // namespace

// ------------------------------------------------------------- viewer --

TextViewer::TextViewer(WindowController& owner, const QString& list, uint32_t color)
    : WindowPart(owner), list_(list)
{
    auto* view = owner.control(list_).as<QTableView>();
    model_ = new LineModel(view ? static_cast<QObject*>(view) : &owner, color);
    if (view) {
        view->setModel(model_);
        view->horizontalHeader()->hide();
        view->horizontalHeader()->setStretchLastSection(true);
        view->setShowGrid(false);
        view->setWordWrap(false);
        view->setTextElideMode(Qt::ElideNone);
        view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    }
}

bool TextViewer::open(const QString& file)
{
    file_ = file;
    bool ok = false;
    model_->setLines(readLines(file, &ok));
    fitWidestLine();
    return ok;
}

// The line column is never narrower than the widest line, so that a line
// wider than the window scrolls sideways instead of being cut.
void TextViewer::fitWidestLine()
{
    auto* view = owner().control(list_).as<QTableView>();
    if (!view)
        return;
    const QFontMetrics fm(view->font());
    int widest = 0;
    for (const QString& line : lines())
        widest = std::max(widest, fm.horizontalAdvance(line));
    // The cell's own margins on both sides.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 4;
    // A stretched last section does not keep to the minimum: it stretches
    // only while the widest line fits the view.
    QHeaderView* h = view->horizontalHeader();
    h->setMinimumSectionSize(widest + margin);
    h->setStretchLastSection(widest + margin <= view->viewport()->width());
    if (!h->stretchLastSection())
        h->resizeSection(0, widest + margin);
}

void TextViewer::close()
{
    file_.clear();
    model_->setLines({});
    fitWidestLine();
}

const QStringList& TextViewer::lines() const { return model_->lines(); }

int TextViewer::find(const QString& text, int from) const
{
    const QStringList& l = lines();
    if (text.isEmpty() || l.isEmpty())
        return -1;
    const int n = int(l.size());
    from = std::clamp(from, 0, n - 1);
    for (int k = 0; k < n; ++k) {
        const int i = (from + k) % n;
        if (l[i].contains(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void TextViewer::goToLine(int line)
{
    auto* view = owner().control(list_).as<QTableView>();
    if (!view || lines().isEmpty())
        return;
    const QModelIndex i = model_->index(std::clamp(line, 0, int(lines().size()) - 1), 0);
    view->setCurrentIndex(i);
    view->scrollTo(i, QAbstractItemView::PositionAtTop);
}

int TextViewer::currentLine() const
{
    auto* view = owner().control(list_).as<QTableView>();
    return view ? view->currentIndex().row() : -1;
}

void TextViewer::print()
{
    // 1000 units an inch, half-inch margins on the left and at the top.
    auto pages = std::make_shared<ReportPages>(kThousandthsOfAnInch, QRectF(500, 500, 7500, 10000),
                                               QStringLiteral("Courier New"), 9);
    const QString title = owner().window().title();
    pages->setPageHeader(300, [title](ReportPages::Band& b, int page) {
        b.text(0, 0, 6000, 200, title, 9, true);
        b.text(6000, 0, 1500, 200, QString::number(page), 9, false, Qt::AlignRight | Qt::AlignTop);
    });
    for (const QString& line : lines())
        pages->print(160, [&line](ReportPages::Band& b) { b.text(0, 0, 7500, 160, line); });
    pages->finish();
    printPages(pages, &owner().window(), owner().procedure(), std::nullopt, [](PrintOutcome) {});
}

void TextViewer::popup()
{
    auto* view = owner().control(list_).as<QTableView>();
    if (!view)
        return;
    if (!menu_) {
        menu_ = new QMenu(view);
        menu_->setObjectName(QStringLiteral("Viewer Actions"));
        menu_->addAction(QStringLiteral("&Find..."), view, [this, view] {
            bool ok = false;
            const QString t = QInputDialog::getText(view, QStringLiteral("Find"), QStringLiteral("Find:"),
                                                    QLineEdit::Normal, lastFind_, &ok);
            if (!ok || t.isEmpty())
                return;
            lastFind_ = t;
            if (int i = find(t, currentLine() + 1); i >= 0)
                goToLine(i);
            else
                QApplication::beep();
        });
        menu_->addAction(QStringLiteral("Find &Next"), view, [this] {
            if (int i = find(lastFind_, currentLine() + 1); i >= 0)
                goToLine(i);
        });
        menu_->addAction(QStringLiteral("&Go to Line..."), view, [this, view] {
            bool ok = false;
            const int n = QInputDialog::getInt(view, QStringLiteral("Go to Line"), QStringLiteral("Line:"),
                                               currentLine() + 1, 1, std::max<int>(1, lines().size()), 1, &ok);
            if (ok)
                goToLine(n - 1);
        });
        menu_->addAction(QStringLiteral("&Print"), view, [this] { print(); });
    }
    menu_->popup(QCursor::pos());
}

bool TextViewer::fieldEvent(const QString& control, FieldEvent e)
{
    if (control != list_ || e != FieldEvent::RightClick)
        return false;
    popup();
    return true;
}

// ------------------------------------------------------------- window --

TextViewerWnd::TextViewerWnd(const QString& procedure, ViewerSpec spec)
    : WindowController(procedure, viewerDef()), spec_(std::move(spec))
{
    auto v = std::make_unique<TextViewer>(*this, kList, spec_.color);
    viewer_ = v.get();
    addPart(std::move(v));
    control(QStringLiteral("Close")).as<QPushButton>()->setIcon(
        QApplication::style()->standardIcon(QStyle::SP_DialogOkButton));
}

bool TextViewerWnd::setUp()
{
    chooseFile(file_, title_);
    window().setTitle(title_);
    viewer_->open(file_);
    return true;
}

void TextViewerWnd::restartCount()
{
    counter_ = 0;
    control(QStringLiteral("Counter")).setValue(counter_);
}

void TextViewerWnd::windowEvent(Event e)
{
    WindowController::windowEvent(e);
    if (e == Event::OpenWindow) {
        restartCount();
    } else if (e == Event::Timer) {
        counter_ = uint16_t(std::min<int>(counter_ + spec_.step, kLimit));
        control(QStringLiteral("Counter")).setValue(counter_);
        if (counter_ >= kLimit) {
            close(RequestCompleted);
            return;
        }
        ticked();
    }
}

void TextViewerWnd::fieldEvent(const QString& control, FieldEvent e)
{
    if (e == FieldEvent::DoubleClick)
        restartCount();
    else if (e == FieldEvent::RightClick)
        rightClicked();
    WindowController::fieldEvent(control, e);
}

void TextViewerWnd::accepted(const QString& control)
{
    if (control == u"Edit" && spec_.launcher) {
        // The editor opens from this thread; the viewer then goes.
        QPointer<TextViewerWnd> self(this);
        run(spec_.launcher(), [self](uint8_t) {
            if (self && self->isOpen())
                self->close(RequestCompleted);
        });
        return;
    }
    WindowController::accepted(control);
}

} // namespace ven
