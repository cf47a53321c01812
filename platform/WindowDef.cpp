// Builds windows from their definitions and binds their controls to
// variables through pictures.
#include "platform/WindowDef.h"

#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/PasteLimit.h"

#include "platform/Picture.h"
#include "platform/Procedure.h"
#include "platform/WindowKinds.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTextCursor>

#include <cmath>

namespace ven {

// ---------------------------------------------------------- dialog units --

DialogUnits::DialogUnits(const QFont& font)
{
    QFontMetricsF fm(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    cx_ = (fm.horizontalAdvance(letters) / 52.0) / 4.0;
    cy_ = fm.height() / 8.0;
}

int DialogUnits::x(int units) const { return qRound(units * cx_); }
int DialogUnits::y(int units) const { return qRound(units * cy_); }
int DialogUnits::toUnitsX(int pixels) const { return cx_ > 0 ? qRound(pixels / cx_) : 0; }
QRect DialogUnits::rect(int x0, int y0, int w, int h) const { return QRect(x(x0), y(y0), x(w), y(h)); }

namespace {
QPointer<QMdiArea> gFrameArea;

QFont fontOf(const FontDef& f, const QFont& base)
{
    QFont font = base;
    if (f.family)
        font.setFamily(QString::fromUtf8(f.family));
    if (f.points > 0)
        font.setPointSize(f.points);
    if (f.bold)
        font.setBold(true);
    if (f.italic)
        font.setItalic(true);
    return font;
}

// A group box whose frame runs through the middle of its title, as the
// layouts expect: the controls inside start just under the title line, so a
// frame drawn below the title would cross them.
QGroupBox* groupBox(const QString& text, QWidget* parent)
{
    auto* g = new QGroupBox(text, parent);
    const int half = g->fontMetrics().height() / 2;
    g->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: %1px; }"
                                    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                                    " left: 6px; top: 0px; padding: 0 2px; }")
                         .arg(half));
    return g;
}

// A spin over whole numbers shown through a picture (numbers, dates, times).
class PictureSpin : public QAbstractSpinBox {
public:
    PictureSpin(const ControlDef& c, QWidget* parent)
        : QAbstractSpinBox(parent), picture_(Picture::parse(QString::fromUtf8(c.picture))), low_(c.low), high_(c.high),
          step_(c.step > 0 ? c.step : 1), keys_(c.keys)
    {
        // A date spin without a range of its own keeps to the valid days.
        if (high_ <= low_ && picture_.kind == Picture::Kind::Date) {
            low_ = kFirstDay;
            high_ = kLastDay;
        }
        connect(this, &QAbstractSpinBox::editingFinished, this, [this] { readBack(); });
        show(value_);
    }
    int64_t value() const { return value_; }
    void setValue(int64_t v)
    {
        value_ = v;
        show(v);
    }
    // The width that shows the picture's widest text whole, with the
    // spin's frame and arrows in this style.
    int fittingWidth() const
    {
        if (!picture_.isValid())
            return 0;
        const int64_t sample = picture_.kind == Picture::Kind::Date ? 82545 /* 28-12-2026: two-digit parts */
                             : picture_.kind == Picture::Kind::Time ? 8640000
                             : high_ > low_ ? std::max(std::llabs(high_), std::llabs(low_)) * (low_ < 0 ? -1 : 1)
                                            : value_;
        const QString text = format(picture_, QVariant::fromValue<qlonglong>(sample));
        QStyleOptionSpinBox opt;
        initStyleOption(&opt);
        const QSize content(fontMetrics().horizontalAdvance(text) + 6, fontMetrics().height());
        return style()->sizeFromContents(QStyle::CT_SpinBox, &opt, content, this).width();
    }
    std::function<void()> onStep;
    // The arrows step by the declared step; the typed text is taken first.
    void stepBy(int steps) override { stepTo(readValue() + steps * step_, steps > 0); }
    // Shift, Alt or Ctrl with Up or Down: the declared key steps.
    bool stepKey(QKeyEvent* e)
    {
        if (!keys_ || (e->key() != Qt::Key_Up && e->key() != Qt::Key_Down))
            return false;
        const Qt::KeyboardModifiers m = e->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
        const int64_t step = m == Qt::ShiftModifier ? keys_->shift : m == Qt::AltModifier ? keys_->alt : m == Qt::ControlModifier ? keys_->ctrl : 0;
        if (step == 0)
            return false;
        const bool up = e->key() == Qt::Key_Up;
        int64_t v = readValue() + (up ? step : -step);
        if (keys_->snap > 0) {
            const int64_t origin = picture_.kind == Picture::Kind::Time ? 1 : 0;
            v = std::llround(double(v) / double(keys_->snap)) * keys_->snap + origin;
        }
        if (up && keys_->cap > 0)
            v = std::min(v, keys_->cap);
        stepTo(v, up);
        return true;
    }
    // Takes the typed text as the value; text as it was shown keeps the
    // value (the picture may show less than the value holds). False, with
    // the text left as typed, when it does not read by the picture.
    bool readBack()
    {
        if (lineEdit()->text() == shown_)
            return true;
        auto v = picture_.isValid() ? parse(picture_, lineEdit()->text()) : std::optional<QVariant>(lineEdit()->text().toLongLong());
        if (!v)
            return false;  // the typed text stays for the user to mend
        value_ = v->toLongLong();
        shown_ = lineEdit()->text();
        return true;
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!stepKey(e))
            QAbstractSpinBox::keyPressEvent(e);
    }
    StepEnabled stepEnabled() const override
    {
        if (high_ <= low_)
            return StepUpEnabled | StepDownEnabled;
        StepEnabled s = StepNone;
        if (value_ < high_)
            s |= StepUpEnabled;
        if (value_ > low_)
            s |= StepDownEnabled;
        return s;
    }

private:
    int64_t readValue()
    {
        readBack();
        return value_;
    }
    void stepTo(int64_t v, bool up)
    {
        if (high_ > low_)
            v = std::clamp(v, low_, high_);
        else if (!up && low_ > 0)
            v = std::max(v, low_);
        setValue(v);
        if (onStep)
            onStep();
    }
    void show(int64_t v)
    {
        shown_ = picture_.isValid() ? format(picture_, QVariant::fromValue<qlonglong>(v)) : QString::number(v);
        lineEdit()->setText(shown_);
    }
    QString shown_;
    Picture picture_;
    int64_t low_, high_;
    int64_t step_;
    const StepKeys* keys_;
    int64_t value_ = 0;
};

// Typed text in upper case, or with each word's first letter in upper case.
QString cased(const QString& text, uint32_t flags)
{
    if (flags & Upper)
        return text.toUpper();
    if (!(flags & Capitalize))
        return text;
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i)
        if (out[i].isLetter() && (i == 0 || !out[i - 1].isLetterOrNumber()))
            out[i] = out[i].toUpper();
    return out;
}

// Keeps a text box within `max` stored characters, its line ends counting
// as the CR LF they are stored as: what typing adds beyond that is taken
// back just before the cursor, where it went in (a paste that does not fit
// is refused before it gets here: PasteLimit.h).
void limitTextBox(QPlainTextEdit* t, int max)
{
    const bool connected = t->property("venMaxChars").isValid();
    t->setProperty("venMaxChars", max);
    if (connected)
        return;
    QObject::connect(t, &QPlainTextEdit::textChanged, t, [t] {
        const int limit = t->property("venMaxChars").toInt();
        const QString text = t->toPlainText();
        int excess = int(text.size() + text.count(u'\n')) - limit;
        if (limit <= 0 || excess <= 0)
            return;
        QTextCursor c = t->textCursor();
        int end = c.position(), from = end;
        while (excess > 0 && from > 0)
            excess -= text[--from] == u'\n' ? 2 : 1;
        if (excess > 0) {  // nothing typed before the cursor: the end goes
            end = int(text.size());
            from = end;
            excess = int(text.size() + text.count(u'\n')) - limit;
            while (excess > 0 && from > 0)
                excess -= text[--from] == u'\n' ? 2 : 1;
        }
        c.setPosition(end);
        c.setPosition(from, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        t->setTextCursor(c);
    });
}

// A text shown in a line: without the blank padding of its field.
QString unpadded(QString s)
{
    while (s.endsWith(u' '))
        s.chop(1);
    return s;
}

} // namespace

const StepKeys kTimeStepKeys{.shift = 30000, .alt = 60000, .ctrl = 360000, .snap = 30000};

void setFrameArea(QMdiArea* area) { gFrameArea = area; }
QMdiArea* frameArea() { return gFrameArea; }

QString findPictureFile(const QString& name)
{
    if (name.isEmpty())
        return {};
    QFileInfo fi(name);
    if (fi.isAbsolute()) {
        if (fi.exists())
            return name;
    } else {
        const QString folder = Program_Path.isEmpty() ? QDir::currentPath() : Program_Path;
        const QString local = QDir(folder).filePath(name);
        if (QFileInfo::exists(local))
            return local;
    }
    // The program's own pictures, by name whatever the letter case (the
    // definitions write "2People.Ico" and "2People.ico" alike).
    static const QStringList own = [] {
        QStringList all;
        for (const QString& dir : {QStringLiteral(":/images"), QStringLiteral(":/sounds")})
            for (const QString& f : QDir(dir).entryList(QDir::Files))
                all << dir + '/' + f;
        return all;
    }();
    for (const QString& res : own)
        if (QFileInfo(res).fileName().compare(fi.fileName(), Qt::CaseInsensitive) == 0)
            return res;
    return {};
}

// -------------------------------------------------------------- bindings --

Binding bindTo(int32_t& v) { return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = int32_t(x.toLongLong()); }}; }
Binding bindTo(uint8_t& v) { return {[&v] { return QVariant(int(v)); }, [&v](const QVariant& x) { v = uint8_t(x.toLongLong()); }}; }
Binding bindTo(int64_t& v) { return {[&v] { return QVariant::fromValue<qlonglong>(v); }, [&v](const QVariant& x) { v = x.toLongLong(); }}; }
Binding bindTo(double& v) { return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toDouble(); }}; }
Binding bindTo(QString& v) { return {[&v] { return QVariant(v); }, [&v](const QVariant& x) { v = x.toString(); }}; }

// --------------------------------------------------------------- control --

Control::Control(Window* w, const ControlDef* def, QWidget* widget)
    : window_(w), def_(def), widget_(widget), name_(QString::fromUtf8(def->name))
{
}

Kind Control::kind() const { return def_ ? def_->kind : Kind::Region; }

QString Control::text() const
{
    QWidget* w = widget_;
    if (!w)
        return {};
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
        return s->text();
    if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        return t->toPlainText();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* p = qobject_cast<QProgressBar*>(w))
        return QString::number(p->value());
    return {};
}

void Control::setText(const QString& text)
{
    QWidget* w = widget_;
    if (!w)
        return;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* t = qobject_cast<QPlainTextEdit*>(w))
        t->setPlainText(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(text);
    else if (auto* s = qobject_cast<QAbstractSpinBox*>(w); s && s->findChild<QLineEdit*>())
        s->findChild<QLineEdit*>()->setText(text);
}

void Control::setPicture(const QString& file)
{
    auto* l = qobject_cast<QLabel*>(widget_.data());
    if (!l)
        return;
    l->setProperty("venPicture", file);
    const QPixmap pm(findPictureFile(file));
    if (pm.isNull())
        l->clear();
    else
        l->setPixmap(pm);
}

QString Control::picture() const
{
    auto* l = qobject_cast<QLabel*>(widget_.data());
    return l ? l->property("venPicture").toString() : QString();
}

QVariant Control::value() const
{
    QWidget* w = widget_;
    if (!w || !def_)
        return {};
    if (auto* s = dynamic_cast<PictureSpin*>(w))
        return QVariant::fromValue<qlonglong>(s->value());
    if (auto* c = qobject_cast<QCheckBox*>(w))
        return c->isChecked() ? 1 : 0;
    if (auto* p = qobject_cast<QProgressBar*>(w))
        return p->value();
    if (def_->kind == Kind::Option) {
        auto it = window_->options_.find(QString::fromUtf8(def_->name));
        if (it == window_->options_.end() || !it->second->checkedButton())
            return {};
        return it->second->checkedButton()->property("venValue");
    }
    if (def_->kind == Kind::Text)  // the system's texts end their lines with CR LF
        return text().replace(u'\n', QStringLiteral("\r\n"));
    const Picture pic = Picture::parse(QString::fromUtf8(def_->picture));
    if (pic.isValid() && pic.kind != Picture::Kind::Text) {
        auto v = parse(pic, text());
        return v ? *v : QVariant();
    }
    return text();
}

void Control::setValue(const QVariant& v)
{
    QWidget* w = widget_;
    if (!w || !def_)
        return;
    if (auto* s = dynamic_cast<PictureSpin*>(w))
        return s->setValue(v.toLongLong());
    if (auto* c = qobject_cast<QCheckBox*>(w)) {
        QSignalBlocker b(c);
        return c->setChecked(v.toLongLong() != 0);
    }
    if (auto* p = qobject_cast<QProgressBar*>(w))
        return p->setValue(v.toInt());
    if (def_->kind == Kind::Option) {
        auto it = window_->options_.find(QString::fromUtf8(def_->name));
        if (it == window_->options_.end())
            return;
        for (QAbstractButton* b : it->second->buttons()) {
            if (b->property("venValue").toString() == v.toString()) {
                QSignalBlocker block(b);
                b->setChecked(true);
            }
        }
        return;
    }
    if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
        // Lines end with LF in the box; a box already showing the text is
        // not rewritten, so its cursor stays where the user left it.
        const QString shown = v.toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (t->toPlainText() != shown)
            t->setPlainText(shown);
        return;
    }
    const Picture pic = Picture::parse(QString::fromUtf8(def_->picture));
    QString shown = pic.isValid() ? format(pic, v) : v.toString();
    if (v.typeId() == QMetaType::QString)
        shown = unpadded(shown);
    setText(shown);
}

void Control::show(bool on)
{
    if (!window_ || !def_)
        return;
    if (Window::Item* it = window_->item(QString::fromUtf8(def_->name))) {
        it->ownHidden = !on;
        window_->applyTabs();
    }
}

bool Control::isVisible() const
{
    if (!window_ || !def_)
        return false;
    const Window::Item* it = window_->item(QString::fromUtf8(def_->name));
    return it && !it->ownHidden;
}

bool Control::isShown() const
{
    if (!window_ || !def_)
        return false;
    for (const Window::Item* it = window_->item(QString::fromUtf8(def_->name)); it; it = window_->item(QString::fromUtf8(it->def->parent)))
        if (it->ownHidden)
            return false;
    return true;
}

void Control::enable(bool on)
{
    if (widget_)
        widget_->setEnabled(on);
}

bool Control::isEnabled() const { return widget_ && widget_->isEnabled(); }

void Control::select()
{
    if (widget_)
        widget_->setFocus(Qt::OtherFocusReason);
}

QString Control::tip() const { return widget_ ? widget_->toolTip() : QString(); }

// ---------------------------------------------------------------- window --

namespace {
// The width a title bar needs to show `title` whole beside its icon and its
// three buttons, in a bold face of the program's font (window managers draw
// titles in one of about that size).
int titleRoom(const QString& title)
{
    if (title.isEmpty())
        return 0;
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetricsF fm(bold);
    const int button = int(std::ceil(fm.height())) + 8;
    return int(std::ceil(fm.horizontalAdvance(title))) + 4 * button + 16;
}
} // namespace

Window::Window(const WindowDef& def, WindowSink* sink)
    : QWidget(nullptr)
    , def_(def)
    , sink_(sink)
    , units_(fontOf(def.font, QApplication::font()))
{
    setFont(fontOf(def.font, QApplication::font()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    designSize_ = QSize(std::max(units_.x(def.w), titleRoom(QString::fromUtf8(def.title))), units_.y(def.h));
    resize(designSize_);
    setWindowTitle(QString::fromUtf8(def.title));
    if (QString icon = findPictureFile(QString::fromUtf8(def.icon)); !icon.isEmpty())
        setWindowIcon(QIcon(icon));
    build();
    buildStatusBar();
    armRegions();
    if (def.mdi && gFrameArea) {
        sub_ = gFrameArea->addSubWindow(this);
        sub_->setAttribute(Qt::WA_DeleteOnClose, false);
        sub_->setWindowTitle(windowTitle());
        sub_->installEventFilter(this);
        sub_->adjustSize();
        // The area's active child changes without any window's activation.
        connect(gFrameArea, &QMdiArea::subWindowActivated, this, [this] {
            if (sink_)
                sink_->activationChangedFrom();
        });
    } else {
        setWindowFlag(Qt::Window, true);
        applyFrame();
    }
    installEventFilter(this);
}

Window::~Window()
{
    leaveFrameArea();
}

void Window::leaveFrameArea()
{
    if (!sub_)
        return;
    sub_->removeEventFilter(this);
    sub_->setWidget(nullptr);
    setParent(nullptr);
    delete std::exchange(sub_, nullptr);
}

QWidget* Window::outer() const
{
    return sub_ ? static_cast<QWidget*>(sub_) : const_cast<Window*>(this);
}

void Window::setTitle(const QString& title)
{
    setWindowTitle(title);
    if (sub_)
        sub_->setWindowTitle(title);
}

QString Window::title() const { return windowTitle(); }

void Window::build()
{
    items_.reserve(def_.controls.size());
    for (const ControlDef& c : def_.controls) {
        const QString name = QString::fromUtf8(c.name);
        if (byName_.count(name)) {
            qWarning("window \"%s\": control \"%s\" declared twice; the second is left out", def_.title, c.name);
            continue;
        }
        QWidget* w = makeControl(c);
        if (!w)
            continue;
        w->setObjectName(name);
        w->setFont(fontOf(c.font, font()));
        if (c.tip && *c.tip)
            w->setToolTip(QString::fromUtf8(c.tip));
        if (c.color != kNoColor || c.background != kNoColor) {
            QPalette p = w->palette();
            if (c.color != kNoColor) {
                p.setColor(QPalette::WindowText, QColor::fromRgb(c.color));
                p.setColor(QPalette::Text, QColor::fromRgb(c.color));
                p.setColor(QPalette::ButtonText, QColor::fromRgb(c.color));
            }
            if (c.background != kNoColor) {
                p.setColor(QPalette::Window, QColor::fromRgb(c.background));
                p.setColor(QPalette::Base, QColor::fromRgb(c.background));
                w->setAutoFillBackground(true);
            }
            w->setPalette(p);
        }
        if (c.flags & Disabled)
            w->setEnabled(false);
        w->installEventFilter(this);
        for (QObject* child : w->findChildren<QWidget*>())
            child->installEventFilter(this);
        byName_[name] = items_.size();
        items_.push_back({&c, w, (c.flags & Hidden) != 0});
        place(items_.back());
        connectControl(name, w, c.kind);
    }
    // Parents that the definition does not declare are reported once; the
    // control then stands on the window itself.
    for (const Item& it : items_) {
        const QString parent = QString::fromUtf8(it.def->parent);
        if (!parent.isEmpty() && !byName_.count(parent))
            qWarning("window \"%s\": control \"%s\" names an unknown parent \"%s\"", def_.title, it.def->name, it.def->parent);
    }
    applyTabs();
}

QWidget* Window::makeControl(const ControlDef& c)
{
    const QString text = QString::fromUtf8(c.text);
    const Picture pic = Picture::parse(QString::fromUtf8(c.picture));
    switch (c.kind) {
    case Kind::Prompt: {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        return l;
    }
    case Kind::String: {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText);
        if (c.flags & AlignRight)
            l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    }
    case Kind::Entry: {
        auto* e = new QLineEdit(text, this);
        limitPastes(e);
        if (pic.isValid() && pic.width() > 0)
            e->setMaxLength(pic.width());
        if (c.flags & ReadOnly)
            e->setReadOnly(true);
        if (c.flags & Password)
            e->setEchoMode(QLineEdit::Password);
        if (c.flags & AlignRight || (pic.isValid() && pic.kind == Picture::Kind::Number))
            e->setAlignment(Qt::AlignRight);
        if (c.flags & (Upper | Capitalize)) {
            const uint32_t flags = c.flags;
            connect(e, &QLineEdit::textEdited, e, [e, flags](const QString& text) {
                const QString to = cased(text, flags);
                if (to != text) {
                    const int at = e->cursorPosition();
                    e->setText(to);
                    e->setCursorPosition(at);
                }
            });
        }
        return e;
    }
    case Kind::Text: {
        auto* t = new QPlainTextEdit(text, this);
        limitPastes(t);
        t->setReadOnly(c.flags & ReadOnly);
        t->setTabChangesFocus(true);  // Tab leaves it as it leaves an entry; Ctrl+Tab types a tab
        return t;
    }
    case Kind::Spin: return new PictureSpin(c, this);
    case Kind::Check: return new QCheckBox(text, this);
    case Kind::Option: {
        auto* g = groupBox(text, this);
        auto* bg = new QButtonGroup(this);
        bg->setExclusive(true);
        options_[QString::fromUtf8(c.name)] = bg;
        return g;
    }
    case Kind::Radio: {
        auto* r = new QRadioButton(text, this);
        auto it = options_.find(QString::fromUtf8(c.parent));
        if (it != options_.end()) {
            r->setProperty("venValue", *c.use ? QVariant(QString::fromUtf8(c.use)) : QVariant(QString::number(it->second->buttons().size())));
            it->second->addButton(r);
        }
        return r;
    }
    case Kind::Button: {
        auto* b = new QPushButton(text, this);
        if (QString icon = findPictureFile(QString::fromUtf8(c.icon)); !icon.isEmpty())
            if (!animatePicture(b, icon))
                b->setIcon(QIcon(icon));
        if (c.flags & Default)
            b->setDefault(true);
        b->setAutoDefault(false);
        return b;
    }
    case Kind::List: {
        auto* v = new ListView(this);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setSelectionMode(QAbstractItemView::SingleSelection);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        v->verticalHeader()->hide();
        v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        v->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 2);
        v->horizontalHeader()->setHighlightSections(false);
        v->setContextMenuPolicy(Qt::CustomContextMenu);
        return v;
    }
    case Kind::Combo: {
        auto* cb = new QComboBox(this);
        if (!text.isEmpty())
            cb->addItems(text.split('|'));
        return cb;
    }
    case Kind::Sheet: return new QTabWidget(this);
    case Kind::Tab: {
        auto it = byName_.find(QString::fromUtf8(c.parent));
        QTabWidget* sheet = it == byName_.end() ? nullptr : qobject_cast<QTabWidget*>(items_[it->second].widget.data());
        auto* page = new QWidget(sheet ? static_cast<QWidget*>(sheet) : this);
        if (sheet)
            sheet->addTab(page, text);
        else
            page->hide();
        return page;
    }
    case Kind::Image: {
        auto* l = new QLabel(this);
        const QString file = findPictureFile(QString::fromUtf8(c.icon));
        QPixmap pm(file);
        if (!animatePicture(l, file) && !pm.isNull())
            l->setPixmap(pm);
        l->setScaledContents(true);
        return l;
    }
    case Kind::Progress: {
        auto* p = new QProgressBar(this);
        p->setRange(c.high > c.low ? int(c.low) : 0, c.high > c.low ? int(c.high) : 100);
        p->setValue(p->minimum());
        p->setTextVisible(false);
        return p;
    }
    case Kind::Group: return groupBox(text, this);
    case Kind::Region: return new QWidget(this);
    case Kind::Line: return makeLine(c, this);
    }
    return nullptr;
}

void Window::place(Item& it)
{
    if (it.def->kind == Kind::Tab)
        return;  // a page of its sheet
    const QSize client(width(), height() - statusBarHeight());
    if (it.def->kind == Kind::Line) {
        const bool scaled = def_.resizable && !designSize_.isEmpty() && client != designSize_;
        placeLine(it.widget, units_, scaled ? double(client.width()) / designSize_.width() : 1.0,
                  scaled ? double(client.height()) / designSize_.height() : 1.0);
        return;
    }
    QRect r = units_.rect(it.def->x, it.def->y, it.def->w, it.def->h);
    if (it.def->w == 0 || it.def->h == 0) {
        QSize hint = it.widget->sizeHint();
        if (it.def->w == 0)
            r.setWidth(hint.width());
        if (it.def->h == 0)
            r.setHeight(hint.height());
    }
    if (def_.resizable && !designSize_.isEmpty() && client != designSize_) {
        const double fx = double(client.width()) / designSize_.width(), fy = double(client.height()) / designSize_.height();
        r = QRect(qRound(r.x() * fx), qRound(r.y() * fy), qRound(r.width() * fx), qRound(r.height() * fy));
    } else if (const Item* list = growingList(); list && !designSize_.isEmpty() && client != designSize_) {
        // The window's main list takes what the window grows (or shrinks,
        // down to a third of its own size); what contains it grows with it,
        // and what lies right of it or under it moves along.
        const QRect l = units_.rect(list->def->x, list->def->y, list->def->w, list->def->h);
        const int dx = std::max(client.width() - designSize_.width(), -l.width() * 2 / 3);
        const int dy = std::max(client.height() - designSize_.height(), -l.height() * 2 / 3);
        if (&it == list || r.adjusted(-2, -2, 2, 2).contains(l)) {
            r.setWidth(r.width() + dx);
            r.setHeight(r.height() + dy);
        } else {
            if (r.left() >= l.right() - 2)
                r.translate(dx, 0);
            if (r.top() >= l.bottom() - 2)
                r.translate(0, dy);
        }
    }
    // The fonts here are wider than the ones the layouts were drawn for: a
    // spin grows to show its value whole rather than cut off its first digits.
    if (auto* spin = dynamic_cast<PictureSpin*>(it.widget.data()))
        r.setWidth(std::max(r.width(), spin->fittingWidth()));
    it.widget->setGeometry(r);
}

const Window::Item* Window::growingList() const
{
    const Item* best = nullptr;
    for (const Item& it : items_)
        if (it.def->kind == Kind::List && (!best || it.def->w * it.def->h > best->def->w * best->def->h))
            best = &it;
    return best;
}

// Shows each control by its own state and, for controls on a tab, by
// whether that tab is chosen.
void Window::applyTabs()
{
    for (Item& it : items_) {
        if (!it.widget || it.def->kind == Kind::Tab)
            continue;
        bool on = !it.ownHidden;
        for (QString p = QString::fromUtf8(it.def->parent); on && !p.isEmpty();) {
            const Item* parent = item(p);
            if (!parent)
                break;
            if (parent->ownHidden)
                on = false;
            if (parent->def->kind == Kind::Tab) {
                auto* sheet = qobject_cast<QTabWidget*>(item(QString::fromUtf8(parent->def->parent)) ? item(QString::fromUtf8(parent->def->parent))->widget.data() : nullptr);
                if (sheet && sheet->currentWidget() != parent->widget)
                    on = false;
            }
            p = QString::fromUtf8(parent->def->parent);
        }
        it.widget->setVisible(on);
    }
    for (Item& it : items_) {
        if (it.def->kind != Kind::Tab || !it.widget)
            continue;
        const Item* sheetItem = item(QString::fromUtf8(it.def->parent));
        if (auto* sheet = sheetItem ? qobject_cast<QTabWidget*>(sheetItem->widget.data()) : nullptr)
            sheet->setTabVisible(sheet->indexOf(it.widget), !it.ownHidden);
    }
}

void Window::connectControl(const QString& name, QWidget* w, Kind kind)
{
    // Entries and spins finish editing as the focus leaves them (or on Enter).
    auto finished = [this, name] { accept(name, true); };
    switch (kind) {
    case Kind::Button:
        connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this, [this, name] { accept(name, false, false); });
        break;
    case Kind::Entry:
        connect(static_cast<QLineEdit*>(w), &QLineEdit::editingFinished, this, finished);
        break;
    case Kind::Check:
        connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, name] { accept(name, false); });
        break;
    case Kind::Radio: {
        const QString option = QString::fromUtf8(item(name)->def->parent);
        connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this, [this, option] {
            update(option);
            AcceptPass pass(*this);
            fieldEvent(option, FieldEvent::Accepted);
        });
        break;
    }
    case Kind::Spin: {
        auto* s = static_cast<PictureSpin*>(w);
        s->onStep = [this, name] {
            update(name);
            fieldEvent(name, FieldEvent::NewSelection);
        };
        connect(s, &QAbstractSpinBox::editingFinished, this, finished);
        break;
    }
    case Kind::Combo:
        connect(static_cast<QComboBox*>(w), &QComboBox::activated, this, [this, name] {
            update(name);
            fieldEvent(name, FieldEvent::NewSelection);
            AcceptPass pass(*this);
            fieldEvent(name, FieldEvent::Accepted);
        });
        break;
    case Kind::Sheet:
        connect(static_cast<QTabWidget*>(w), &QTabWidget::currentChanged, this, [this, name] {
            applyTabs();
            fieldEvent(name, FieldEvent::NewSelection);
        });
        break;
    default:
        break;
    }
}

Window::Item* Window::item(const QString& name)
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &items_[it->second];
}

const Window::Item* Window::item(const QString& name) const
{
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &items_[it->second];
}

Control Window::control(const QString& name)
{
    if (Item* it = item(name))
        return Control(this, it->def, it->widget);
    qWarning("window \"%s\": no control \"%s\"", def_.title, qPrintable(name));
    return Control();
}

bool Window::hasControl(const QString& name) const { return byName_.count(name) > 0; }

QStringList Window::controlNames() const
{
    QStringList names;
    for (const Item& it : items_)
        names << QString::fromUtf8(it.def->name);
    return names;
}

const ControlDef* Window::controlDef(const QString& name) const
{
    const Item* it = item(name);
    return it ? it->def : nullptr;
}

QString Window::nameOf(QObject* o) const
{
    for (; o && o != this; o = o->parent())
        if (byName_.count(o->objectName()))
            return o->objectName();
    return {};
}

QString Window::focusedControl() const
{
    return nameOf(QApplication::focusWidget());
}

void Window::bind(const QString& control, Binding b)
{
    if (!item(control)) {
        qWarning("window \"%s\": binding to unknown control \"%s\"", def_.title, qPrintable(control));
        return;
    }
    if (b.maxChars > 0) {
        QWidget* w = item(control)->widget;
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setMaxLength(std::min(e->maxLength(), b.maxChars));
        else if (auto* t = qobject_cast<QPlainTextEdit*>(w))
            limitTextBox(t, b.maxChars);
    }
    bindings_[control] = std::move(b);
    display(control);
}

void Window::display()
{
    for (const auto& [name, b] : bindings_)
        display(name);
}

void Window::display(const QString& name)
{
    auto it = bindings_.find(name);
    if (it != bindings_.end() && it->second.get) {
        Control c = control(name);
        c.setValue(it->second.get());
        if (c.kind() == Kind::Text)
            shownTexts_[name] = c.text();
        else if (c.kind() == Kind::Entry)
            shownEntries_[name] = c.text();
    }
}

void Window::takeTextBoxes(const QString& except)
{
    for (const auto& [name, shown] : std::map<QString, QString>(shownTexts_)) {
        if (name == except || control(name).text() == shown)
            continue;
        update(name);
        fieldEvent(name, FieldEvent::Accepted);
    }
}

QAbstractButton* Window::enterButton() const
{
    if (auto* b = qobject_cast<QPushButton*>(QApplication::focusWidget()); b && isAncestorOf(b) && b->isEnabled())
        return b;
    auto usable = [](const Item& it) { return it.def->kind == Kind::Button && it.widget && it.widget->isVisible() && it.widget->isEnabled(); };
    if (!defaultButton_.isEmpty()) {
        const Item* it = item(defaultButton_);
        return it && usable(*it) ? qobject_cast<QAbstractButton*>(it->widget.data()) : nullptr;
    }
    for (const Item& it : items_)
        if ((it.def->flags & Default) && usable(it))
            return qobject_cast<QAbstractButton*>(it.widget.data());
    return nullptr;
}

void Window::setDefaultButton(const QString& button)
{
    defaultButton_ = button;
    // The default look follows the button that Enter presses.
    for (const Item& it : items_)
        if (auto* b = qobject_cast<QPushButton*>(it.widget.data()))
            b->setDefault(button.isEmpty() ? (it.def->flags & Default) != 0 : QString::fromUtf8(it.def->name) == button);
}

// The control that has the focus in this window, or that gets it first when
// the window becomes active.
static QWidget* openingFocus(const Window& window)
{
    if (QWidget* f = window.focusWidget(); f && window.isAncestorOf(f))
        return f;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain())
        if (window.isAncestorOf(w) && w->isVisibleTo(&window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            return w;
    return nullptr;
}

void Window::focusOpeningControl()
{
    QWidget* first = openingFocus(*this);
    if (!qobject_cast<QPushButton*>(first))
        return;
    for (const Item& it : items_)
        if ((it.def->flags & Default) && it.widget && it.widget->isVisibleTo(this) && it.widget->isEnabled()) {
            if (it.widget != first)
                it.widget->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void Window::keyPressEvent(QKeyEvent* e)
{
    const bool plain = !(e->modifiers() & ~Qt::KeypadModifier);
    // Enter that no control took presses the window's button, as in a dialog.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && plain) {
        if (QAbstractButton* b = enterButton()) {
            b->click();
            return;
        }
    }
    // Esc that no control took is the window's cancel.
    if (e->key() == Qt::Key_Escape && plain && sink_ && sink_->cancelFromUser())
        return;
    QWidget::keyPressEvent(e);
}

bool Window::update(const QString& name, bool tell)
{
    auto it = bindings_.find(name);
    if (it == bindings_.end() || !it->second.set)
        return true;
    if (refusing_)
        return false;  // the refusal being told keeps the control as it is
    Control c = control(name);
    const ControlDef* d = controlDef(name);
    const Picture pic = Picture::parse(QString::fromUtf8(d->picture));
    // Refused: the user is told, and the typed text and the cursor stay.
    auto refuse = [&](const std::function<bool()>& check) {
        // Telling and taking the cursor back move the focus: the controls
        // it passes are not read meanwhile, or they would refuse in turn.
        refusing_ = true;
        const bool taken = check();
        if (!taken && tell)
            c.select();
        refusing_ = false;
        return taken;
    };
    auto unreadable = [&] {
        if (tell)
            messageBox(entryRefusal(pic, c.text()), QStringLiteral("Invalid Entry"), Icon::Exclamation);
        return false;
    };
    if (auto* spin = dynamic_cast<PictureSpin*>(c.widget()); spin && !spin->readBack())
        return refuse(unreadable);
    QVariant v = c.value();
    if (d->kind == Kind::Text)
        shownTexts_[name] = c.text();
    const bool typed = d->kind == Kind::Entry || d->kind == Kind::Spin;
    if (typed && pic.isValid() && pic.kind != Picture::Kind::Text && !v.isValid()) {
        // A value its picture cannot show ("######") keeps the value while
        // the text stays as it was shown.
        if (auto shown = shownEntries_.find(name); shown != shownEntries_.end() && shown->second == c.text())
            return true;
        return refuse(unreadable);
    }
    if (d->kind == Kind::Option && !v.isValid())
        return true;
    if (it->second.accepts && !refuse([&] { return it->second.accepts(v, tell); }))
        return false;
    it->second.set(v);
    return true;
}

int Window::chosenTab(const QString& sheet) const
{
    const Item* it = item(sheet);
    auto* tw = it ? qobject_cast<QTabWidget*>(it->widget.data()) : nullptr;
    return tw ? tw->currentIndex() + 1 : 0;
}

void Window::chooseTab(const QString& sheet, int tab)
{
    const Item* it = item(sheet);
    if (auto* tw = it ? qobject_cast<QTabWidget*>(it->widget.data()) : nullptr)
        tw->setCurrentIndex(tab - 1);
}

void Window::setWallpaper(const QString& file)
{
    wallpaperFile_ = file;
    wallpaperImage_ = QPixmap();
    if (!file.isEmpty()) {
        // The user's picture, else the program's own of that name.
        QImageReader reader(findPictureFile(file));
        QImage img = reader.read();  // missing or unreadable: no image, no message
        if (!img.isNull())
            wallpaperImage_ = QPixmap::fromImage(img);
    }
    QWidget::update();
}

void Window::setWallpaperFlags(bool tiled, bool centered, bool stretched)
{
    tiled_ = tiled;
    centered_ = centered;
    stretched_ = stretched;
    QWidget::update();
}

void Window::armAlertKey(int key, const QString& control)
{
    disarmAlertKey(key, control);
    alertKeys_.emplace_back(key, control);
}

void Window::disarmAlertKey(int key, const QString& control)
{
    std::erase_if(alertKeys_, [&](const auto& k) { return k.first == key && k.second == control; });
}

bool Window::isAlertKeyArmed(int key, const QString& control) const
{
    return std::any_of(alertKeys_.begin(), alertKeys_.end(),
                       [&](const auto& k) { return k.first == key && k.second == control; });
}

void Window::paintEvent(QPaintEvent* e)
{
    QWidget::paintEvent(e);
    if (wallpaperImage_.isNull())
        return;
    QPainter p(this);
    paintWallpaper(p, rect(), wallpaperImage_, tiled_, centered_, stretched_);
}

void paintWallpaper(QPainter& p, const QRect& r, const QPixmap& image, bool tiled, bool centered, bool stretched)
{
    if (stretched)
        p.drawPixmap(r, image);
    else if (tiled)
        p.drawTiledPixmap(r, image);
    else if (centered)
        p.drawPixmap(r.x() + (r.width() - image.width()) / 2, r.y() + (r.height() - image.height()) / 2, image);
    else
        p.drawPixmap(r.topLeft(), image);
}

void Window::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    placeStatusBar();
    if (def_.resizable || growingList())
        for (Item& it : items_)
            place(it);
}

void Window::accept(const QString& name, bool leaving, bool read)
{
    if (leaving && accepting_ > 0) {
        // The typed value is still taken (quietly: a text that does not
        // read stays as typed), so a redisplay does not lose it.
        if (read)
            update(name, false);
        return;
    }
    // A value the control's variable refuses is not accepted: the control
    // keeps the typed text for the user to mend.
    if (read && !update(name))
        return;
    AcceptPass pass(*this);
    fieldEvent(name, FieldEvent::Accepted);
}

void Window::fieldEvent(const QString& name, FieldEvent e)
{
    if (e != FieldEvent::Selected)
        takeTextBoxes(name);
    if (sink_)
        sink_->fieldEventFrom(name, e);
}

bool Window::eventFilter(QObject* o, QEvent* e)
{
    trackRegions(o, e);
    // A disabled control, or a window waiting for one it called, takes no
    // input: the filter sees events before the widget drops them.
    const bool input = e->type() == QEvent::KeyPress || e->type() == QEvent::MouseButtonDblClick
                    || e->type() == QEvent::ContextMenu || e->type() == QEvent::MouseButtonPress;
    if (input && o->isWidgetType() && !static_cast<QWidget*>(o)->isEnabled())
        return true;
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const int key = ke->keyCombination().toCombined();
        const QString name = nameOf(o);
        for (const auto& [k, ctl] : alertKeys_) {
            if (k != key)
                continue;
            if (ctl.isEmpty() || ctl == name) {
                if (sink_)
                    sink_->alertKeyFrom(key, ctl);
                return true;
            }
        }
        if (auto* t = qobject_cast<QPlainTextEdit*>(o); t && !t->isReadOnly() && ke->key() == Qt::Key_Tab
                                                        && ke->modifiers() == Qt::ControlModifier) {
            t->insertPlainText(QStringLiteral("\t"));
            return true;
        }
        break;
    }
    case QEvent::MouseButtonDblClick:
        // Quick clicks on a scroll bar only scroll.
        if (qobject_cast<QScrollBar*>(o))
            break;
        if (QString name = nameOf(o); !name.isEmpty())
            fieldEvent(name, FieldEvent::DoubleClick);
        break;
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton)
            if (QString name = nameOf(o); !name.isEmpty())
                fieldEvent(name, FieldEvent::MiddleClick);
        break;
    case QEvent::ContextMenu:
        if (QString name = nameOf(o); !name.isEmpty()) {
            fieldEvent(name, FieldEvent::RightClick);
            return true;
        }
        break;
    case QEvent::FocusOut:
        // A text box is accepted as the focus leaves it.
        if (QString name = nameOf(o); !name.isEmpty() && o == item(name)->widget && item(name)->def->kind == Kind::Text)
            if (auto it = shownTexts_.find(name); it != shownTexts_.end() && control(name).text() != it->second)
                accept(name, true);
        break;
    case QEvent::FocusIn:
        if (QString name = nameOf(o); !name.isEmpty() && o->isWidgetType())
            fieldEvent(name, FieldEvent::Selected);
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (o == outer() && sink_)
            sink_->activationChangedFrom();
        break;
    case QEvent::WindowStateChange:
        if (o == outer() && sink_) {
            auto* se = static_cast<QWindowStateChangeEvent*>(e);
            sink_->stateChangedFrom(se->oldState(), outer()->windowState());
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(o, e);
}

void Window::closeEvent(QCloseEvent* e)
{
    if (allowClose_ || !sink_ || sink_->closeFromUser()) {
        e->accept();
        return;
    }
    e->ignore();
}

} // namespace ven
