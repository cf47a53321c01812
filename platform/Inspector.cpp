// What the windows show, answered over a local socket for the end-to-end
// tests (see Inspector.h).
#include "platform/Inspector.h"

#include "platform/WindowController.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <cmath>

namespace ven {
namespace {

InspectorStart& inspectorStart()
{
    static InspectorStart start;
    return start;
}

QJsonObject rectJson(const QRect& r)
{
    return {{"x", r.x()}, {"y", r.y()}, {"w", r.width()}, {"h", r.height()}};
}

QRect onScreen(const QWidget* w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// A caption as drawn: the mnemonic's "&" is not shown ("&&" shows one).
QString shownCaption(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The window a widget belongs to: a child of the frame, or a top-level one.
QWidget* windowOf(QWidget* w)
{
    for (QWidget* p = w; p; p = p->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(p) || p->isWindow())
            return p;
    return nullptr;
}

QString procedureOf(const QWidget* outer)
{
    for (WindowController* c : WindowController::openWindows())
        if (c->window().outer() == outer)
            return c->procedure();
    return {};
}

// Every shown window: the frame's children first by their frame, then the
// top-level windows, popup menus among them.
std::vector<QWidget*> shownWindows()
{
    std::vector<QWidget*> v;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        v.push_back(top);
        for (QMdiArea* area : top->findChildren<QMdiArea*>())
            for (QMdiSubWindow* sub : area->subWindowList())
                if (sub->isVisible())
                    v.push_back(sub);
    }
    return v;
}

QWidget* windowTitled(const QString& title)
{
    // "xid:<id>" names one window of several with the same title (the alarm windows have none).
    if (title.startsWith(QLatin1String("xid:"))) {
        for (QWidget* w : shownWindows())
            if (QString::number(quintptr(w->window()->winId())) == title.mid(4))
                return w;
        return nullptr;
    }
    for (QWidget* w : shownWindows())
        if (w->windowTitle() == title || (qobject_cast<QMenu*>(w) && shownCaption(static_cast<QMenu*>(w)->title()) == title))
            return w;
    for (QWidget* w : shownWindows())  // a title that changes (the frame's clock) is found by its start
        if (!title.isEmpty() && w->windowTitle().startsWith(title))
            return w;
    for (QWidget* w : shownWindows())  // or by its procedure's name
        if (!title.isEmpty() && procedureOf(w) == title)
            return w;
    return nullptr;
}

QString shownText(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return shownCaption(b->text());
    if (auto* l = qobject_cast<QLabel*>(w))
        return shownCaption(l->text());
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->echoMode() == QLineEdit::Normal ? e->text() : QString(e->text().size(), QLatin1Char('*'));
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* t = qobject_cast<QTextEdit*>(w))
        return t->toPlainText();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        return t->toPlainText();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return shownCaption(g->title());
    if (auto* s = qobject_cast<QMdiSubWindow*>(w))
        return s->windowTitle();
    return {};
}

// The name of the control a widget is, or is part of.
QString controlName(QWidget* w)
{
    for (QWidget* p = w; p && !p->isWindow() && !qobject_cast<QMdiSubWindow*>(p); p = p->parentWidget())
        if (!p->objectName().isEmpty() && !p->objectName().startsWith(QLatin1String("qt_")))
            return p->objectName();
    return {};
}

QJsonObject clippedItem(QWidget* w, const QString& what, const QString& text, int needs, int has)
{
    return {{"window", windowOf(w) ? windowOf(w)->windowTitle() : QString()},
            {"control", controlName(w)},
            {"class", QString::fromLatin1(w->metaObject()->className())},
            {"what", what},
            {"text", text},
            {"needs", needs},
            {"has", has}};
}

// The font a cell is drawn in: its own, else the view's.
QFont cellFont(const QAbstractItemView* view, const QModelIndex& i)
{
    const QVariant f = i.data(Qt::FontRole);
    return f.isValid() ? f.value<QFont>() : view->font();
}

// A value its picture cannot show ("#######"): as cut as a text can be.
bool hashed(const QString& text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && t.count(u'#') == t.size();
}

// The width of `r` that lies within `shown`.
int shownWidth(const QRect& r, const QRect& shown)
{
    return std::max(0, std::min(r.right(), shown.right()) - std::max(r.left(), shown.left()) + 1);
}

void clippedCells(QAbstractItemView* view, QJsonArray& out)
{
    QAbstractItemModel* m = view->model();
    if (!m)
        return;
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    auto* table = qobject_cast<QTableView*>(view);
    const QRect vp = view->viewport()->rect();
    // Columns that could all be shown on the screen are cut by the list's
    // edge; a list wider than the screen scrolls sideways by design.
    const QScreen* screen = view->screen();
    const bool fitsScreen = !table || !screen
                            || table->horizontalHeader()->length() + view->width() - vp.width()
                                   <= screen->availableGeometry().width() - 16;
    for (int r = 0; r < m->rowCount(); ++r) {
        const QModelIndex first = m->index(r, 0);
        const QRect rowRect = view->visualRect(first);
        if (rowRect.bottom() < vp.top() || rowRect.top() > vp.bottom())
            continue;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (table && table->isColumnHidden(c))
                continue;
            const QModelIndex i = m->index(r, c);
            const QRect cell = view->visualRect(i);
            if (cell.isEmpty() || cell.right() < vp.left() || cell.left() > vp.right())
                continue;
            const QString text = i.data(Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            if (hashed(text)) {
                out.append(clippedItem(view, QStringLiteral("cell %1,%2 hashed").arg(r).arg(c), text, 0, 0));
                continue;
            }
            // In fractions of a pixel, as the cell lays its text out.
            const int needs = int(std::ceil(QFontMetricsF(cellFont(view, i)).horizontalAdvance(text)));
            // What the viewport shows of it: a column past the list's edge
            // is cut there.
            const int has = (fitsScreen ? shownWidth(cell, vp) : cell.width()) - 2 * margin;
            if (needs > has) {
                QJsonObject item = clippedItem(view, QStringLiteral("cell %1,%2").arg(r).arg(c), text, needs, has);
                if (i.data(kCutTextRole).toBool())
                    item["free"] = true;
                out.append(item);
            }
        }
    }
    if (table && table->horizontalHeader()->isVisible()) {
        QHeaderView* h = table->horizontalHeader();
        const int pad = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
        for (int c = 0; c < m->columnCount(); ++c) {
            if (h->isSectionHidden(c) || h->sectionSize(c) == 0)
                continue;
            const QString text = m->headerData(c, Qt::Horizontal).toString();
            int needs = int(std::ceil(QFontMetricsF(h->font()).horizontalAdvance(text))) + pad;
            if (h->isSortIndicatorShown() && h->sortIndicatorSection() == c)
                needs += h->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, h);
            const QRect section(h->sectionViewportPosition(c), 0, h->sectionSize(c), h->height());
            const int has = fitsScreen ? shownWidth(section, h->viewport()->rect()) : h->sectionSize(c);
            if (!text.isEmpty() && has > 0 && needs > has)
                out.append(clippedItem(view, QStringLiteral("header %1").arg(c), text, needs, has));
        }
    }
}

QJsonArray rowsOf(QAbstractItemView* view)
{
    QJsonArray rows;
    QAbstractItemModel* m = view->model();
    if (!m)
        return rows;
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    auto* table = qobject_cast<QTableView*>(view);
    const QRect vp = view->viewport()->rect();
    // Columns that could all be shown on the screen are cut by the list's
    // edge; a list wider than the screen scrolls sideways by design.
    const QScreen* screen = view->screen();
    const bool fitsScreen = !table || !screen
                            || table->horizontalHeader()->length() + view->width() - vp.width()
                                   <= screen->availableGeometry().width() - 16;
    for (int r = 0; r < m->rowCount(); ++r) {
        const QRect rowRect = view->visualRect(m->index(r, 0));
        if (rowRect.bottom() < vp.top() || rowRect.top() > vp.bottom())
            continue;
        QJsonArray cells;
        for (int c = 0; c < m->columnCount(); ++c) {
            if (table && table->isColumnHidden(c))
                continue;
            const QModelIndex i = m->index(r, c);
            const int width = view->visualRect(i).width() - 2 * margin;
            cells.append(QFontMetrics(cellFont(view, i)).elidedText(i.data(Qt::DisplayRole).toString(), view->textElideMode(), width));
        }
        const QModelIndex first = m->index(r, 0);
        const QRect shown = QRect(view->viewport()->mapToGlobal(rowRect.topLeft()), rowRect.size());
        rows.append(QJsonObject{{"row", r},
                                {"current", view->currentIndex().row() == r},
                                {"selected", view->selectionModel() && view->selectionModel()->isRowSelected(r, first.parent())},
                                {"rect", rectJson(shown)},
                                {"cells", cells}});
    }
    return rows;
}

int textRoom(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame o;
        o.initFrom(e);
        o.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, e) : 0;
        const QRect r = e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e);
        const QMargins tm = e->textMargins();
        return r.width() - tm.left() - tm.right() - 4;  // the entry's own horizontal margin, 2 a side
    }
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox o;
        o.initFrom(c);
        o.editable = c->isEditable();
        return c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c).width();
    }
    return w->contentsRect().width();
}

void clippedOf(QWidget* w, QJsonArray& out)
{
    if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        clippedCells(view, out);
        return;
    }
    const QFontMetrics fm = w->fontMetrics();
    if (auto* bar = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < bar->count(); ++i) {
            if (!bar->isTabVisible(i))
                continue;
            const QString text = shownCaption(bar->tabText(i));
            const QRect r = bar->tabRect(i);
            const int needs = fm.horizontalAdvance(text);
            if (r.right() > bar->width() || r.width() < needs)
                out.append(clippedItem(w, QStringLiteral("tab %1").arg(i), text, needs, std::min(r.width(), bar->width() - r.left())));
        }
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
            return;
        const QString text = label->textFormat() == Qt::PlainText ? label->text() : shownCaption(label->text());
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        if (label->wordWrap()) {
            const int needsH = label->heightForWidth(label->width());
            if (needsH > label->height())
                out.append(clippedItem(w, QStringLiteral("height"), text, needsH, label->height()));
            return;
        }
        int needs = 0;
        for (const QString& line : text.split(QLatin1Char('\n')))
            needs = std::max(needs, fm.horizontalAdvance(line));
        if (needs > room.width())
            out.append(clippedItem(w, QStringLiteral("text"), text, needs, room.width()));
        return;
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        const QString text = shownCaption(box->title());
        const int needs = fm.horizontalAdvance(text);
        if (!text.isEmpty() && needs > box->width() - 8)
            out.append(clippedItem(w, QStringLiteral("title"), text, needs, box->width() - 8));
        return;
    }
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        const QString text = shownCaption(b->text());
        if (text.isEmpty() || qobject_cast<QToolButton*>(w))
            return;
        int needs = fm.horizontalAdvance(text);
        int has = b->width() - 6;
        if (!b->icon().isNull())
            needs += b->iconSize().width() + 4;
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            const int indicator = w->style()->pixelMetric(qobject_cast<QCheckBox*>(w) ? QStyle::PM_IndicatorWidth : QStyle::PM_ExclusiveIndicatorWidth, nullptr, w);
            has = b->width() - indicator - w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        }
        if (needs > has)
            out.append(clippedItem(w, QStringLiteral("caption"), text, needs, has));
        return;
    }
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) {
        const QString text = shownText(w);
        if (text.isEmpty())
            return;
        if (hashed(text)) {
            out.append(clippedItem(w, QStringLiteral("value hashed"), text, 0, 0));
            return;
        }
        const int needs = fm.horizontalAdvance(text);
        const int has = textRoom(w);
        if (needs > has)
            out.append(clippedItem(w, QStringLiteral("value"), text, needs, has));
    }
}

QJsonObject windowJson(QWidget* w)
{
    QWidget* active = QApplication::activeWindow();
    bool isActive = w == active;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
        isActive = sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub && sub->window() == active;
    const QRect frame = w->isWindow() ? w->frameGeometry() : onScreen(w);
    QString title = w->windowTitle();
    if (auto* menu = qobject_cast<QMenu*>(w))
        title = shownCaption(menu->title());
    QJsonObject o{{"title", title},
            {"procedure", procedureOf(w)},
            {"class", QString::fromLatin1(w->metaObject()->className())},
            {"rect", rectJson(frame)},
            {"inner", rectJson(onScreen(w))},
            {"active", isActive},
            {"minimized", w->isMinimized()},
            {"enabled", w->isEnabled()},
            {"child", qobject_cast<QMdiSubWindow*>(w) != nullptr},
            {"xid", QString::number(quintptr(w->window()->winId()))}};
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
        // The close box the frame draws on its child's title bar.
        QStyleOptionTitleBar t;
        t.initFrom(sub);
        t.titleBarFlags = sub->windowFlags();
        t.titleBarState = uint(sub->windowState());
        t.subControls = QStyle::SC_All;
        const int border = sub->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, sub);
        const int height = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &t, sub);
        t.rect = QRect(border, border, sub->width() - 2 * border, height);
        const QRect box = sub->style()->subControlRect(QStyle::CC_TitleBar, &t, QStyle::SC_TitleBarCloseButton, sub);
        if (!box.isEmpty() && !sub->isMinimized())
            o["closeBox"] = rectJson(QRect(sub->mapToGlobal(box.topLeft()), box.size()));
    }
    return o;
}

// A window's shown controls; a menu's or menu bar's items and a tab bar's
// tabs are controls too, so that a test can click them.
QJsonArray controlsOf(QWidget* win)
{
    QJsonArray out;
    auto actionsOf = [&out](QWidget* holder, const QList<QAction*>& actions, auto geometry, const char* kind) {
        for (QAction* a : actions) {
            if (!a->isVisible() || a->isSeparator())
                continue;
            const QRect r = geometry(a);
            if (r.isEmpty())
                continue;
            out.append(QJsonObject{{"name", QString()},
                                   {"class", QString::fromLatin1(kind)},
                                   {"text", shownCaption(a->text())},
                                   {"rect", rectJson(QRect(holder->mapToGlobal(r.topLeft()), r.size()))},
                                   {"enabled", a->isEnabled()},
                                   {"focused", false}});
        }
    };
    if (auto* menu = qobject_cast<QMenu*>(win)) {
        actionsOf(menu, menu->actions(), [menu](QAction* a) { return menu->actionGeometry(a); }, "MenuItem");
        return out;
    }
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w : win->findChildren<QWidget*>()) {
        if (!w->isVisible() || windowOf(w) != win)
            continue;
        if (auto* bar = qobject_cast<QMenuBar*>(w))
            actionsOf(bar, bar->actions(), [bar](QAction* a) { return bar->actionGeometry(a); }, "MenuBarItem");
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) {
                const QRect r = tabs->tabRect(i);
                out.append(QJsonObject{{"name", controlName(w)},
                                       {"class", QStringLiteral("Tab")},
                                       {"text", shownCaption(tabs->tabText(i))},
                                       {"rect", rectJson(QRect(tabs->mapToGlobal(r.topLeft()), r.size()))},
                                       {"enabled", tabs->isTabEnabled(i)},
                                       {"focused", tabs->currentIndex() == i}});
            }
        QJsonArray clipped;
        clippedOf(w, clipped);
        QJsonObject o{{"name", controlName(w)},
                      {"class", QString::fromLatin1(w->metaObject()->className())},
                      {"text", shownText(w)},
                      {"rect", rectJson(onScreen(w))},
                      {"enabled", w->isEnabled()},
                      {"focused", w == focus},
                      {"clipped", !clipped.isEmpty()}};
        if (!w->toolTip().isEmpty())
            o["tip"] = w->toolTip();
        out.append(o);
    }
    return out;
}

void clippedUnder(QWidget* win, QJsonArray& out)
{
    clippedOf(win, out);
    for (QWidget* w : win->findChildren<QWidget*>())
        if (w->isVisible() && windowOf(w) == win)
            clippedOf(w, out);
}

QJsonObject focusJson()
{
    QWidget* f = QApplication::focusWidget();
    QWidget* win = f ? windowOf(f) : nullptr;
    return {{"window", win ? win->windowTitle() : QString()},
            {"control", f ? controlName(f) : QString()},
            {"class", f ? QString::fromLatin1(f->metaObject()->className()) : QString()},
            {"active", QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle() : QString()}};
}

} // namespace

QJsonArray clippedTexts(QWidget* root)
{
    QJsonArray out;
    if (root)
        clippedUnder(root, out);
    return out;
}

QJsonValue inspect(const QString& question)
{
    const QStringList q = question.split(QLatin1Char('\t'));
    const QString verb = q.value(0).trimmed();
    if (verb == u"windows") {
        QJsonArray a;
        for (QWidget* w : shownWindows())
            a.append(windowJson(w));
        return a;
    }
    if (verb == u"screen") {
        QScreen* s = QGuiApplication::primaryScreen();
        return QJsonObject{{"rect", rectJson(s->geometry())}, {"available", rectJson(s->availableGeometry())}};
    }
    if (verb == u"controls") {
        QWidget* w = windowTitled(q.value(1));
        return w ? QJsonValue(controlsOf(w)) : QJsonValue(QJsonValue::Null);
    }
    if (verb == u"rows") {
        QWidget* w = windowTitled(q.value(1));
        if (!w)
            return QJsonValue::Null;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (controlName(c) == q.value(2)) {
                auto* view = qobject_cast<QAbstractItemView*>(c);
                if (!view)
                    view = c->findChild<QAbstractItemView*>();
                if (view)
                    return rowsOf(view);
            }
        return QJsonValue::Null;
    }
    if (verb == u"clipped") {
        QJsonArray out;
        if (q.size() > 1 && !q.value(1).isEmpty()) {
            if (QWidget* w = windowTitled(q.value(1)))
                clippedUnder(w, out);
            return out;
        }
        for (QWidget* w : shownWindows())
            if (!qobject_cast<QMenu*>(w))
                clippedUnder(w, out);
        return out;
    }
    if (verb == u"start") {
        // Started once the answer is on its way: a window that opens modal
        // questions or runs a loop of its own does not hold the answer up.
        if (!inspectorStart())
            return QJsonObject{{"error", QStringLiteral("no way to start a procedure")}};
        const QString name = q.value(1), parameter = q.value(3);
        const uint8_t request = uint8_t(q.value(2).toUInt());
        QTimer::singleShot(0, qApp, [name, request, parameter] { inspectorStart()(name, request, parameter); });
        return QJsonObject{{"started", name}};
    }
    if (verb == u"focus")
        return focusJson();
    if (verb == u"clipboard")
        return QApplication::clipboard()->text();
    return QJsonObject{{"error", QStringLiteral("unknown question: ") + verb}};
}

void setInspectorStart(InspectorStart start)
{
    inspectorStart() = std::move(start);
}

bool startInspector()
{
    const QString name = qEnvironmentVariable("VENDROLIX_INSPECT");
    if (name.isEmpty())
        return true;
    auto* server = new QLocalServer(QCoreApplication::instance());
    QLocalServer::removeServer(name);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name))
        return false;
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket* s = server->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            QObject::connect(s, &QLocalSocket::readyRead, s, [s] {
                while (s->canReadLine()) {
                    const QString question = QString::fromUtf8(s->readLine()).chopped(1);
                    QJsonArray wrap{inspect(question)};
                    QByteArray answer = QJsonDocument(wrap).toJson(QJsonDocument::Compact);
                    answer = answer.mid(1, answer.size() - 2);  // the value itself, on one line
                    s->write(answer + '\n');
                    s->flush();
                }
            });
        }
    });
    return true;
}

} // namespace ven
