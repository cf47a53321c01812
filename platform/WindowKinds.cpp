// Window kinds: frame flags, placements on the available area, status bar
// zones, line controls, animated pictures and regions' mouse-enter events.
#include "platform/WindowKinds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <vector>

namespace ven {

namespace {

// The flags that decide how the window system frames a window.
Qt::WindowFlags framing(const QWidget* w)
{
    return w->windowFlags()
           & (Qt::WindowType_Mask | Qt::FramelessWindowHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

// A top-level window's frame (title bar and borders included) as the window
// system draws it. Until the window manager has framed the window its frame
// is not known and reads as the bare window; then the frame of another shown
// window framed the same way stands for it, so that a place reckoned before
// the window is shown keeps its title bar and borders on the area too.
QRect expectedFrame(const QWidget* w)
{
    const QRect own = w->frameGeometry();
    if (!w->isWindow() || own.size() != w->size())
        return own;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        const QSize extra = other->frameGeometry().size() - other->size();
        if (other != w && other->isVisible() && framing(other) == framing(w) && (extra.width() > 0 || extra.height() > 0)) {
            // A shown window stands where its client area is.
            const QPoint margin = w->isVisible() ? other->geometry().topLeft() - other->frameGeometry().topLeft() : QPoint();
            return QRect(own.topLeft() - margin, own.size() + extra);
        }
    }
    return own;
}

// Moves a window's frame to `frameTopLeft`. A shown window whose frame
// the window system has not told yet is moved by its client area: the
// borders of another window framed the same way stand for its own.
void moveFrame(QWidget* w, QPoint frameTopLeft)
{
    if (w->isWindow() && w->isVisible() && w->frameGeometry().size() == w->size()) {
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            const QPoint margin = other->geometry().topLeft() - other->frameGeometry().topLeft();
            if (other != w && other->isVisible() && framing(other) == framing(w) && !margin.isNull()) {
                w->move(frameTopLeft + margin);
                return;
            }
        }
    }
    w->move(frameTopLeft);
}

} // namespace

QPoint keptOnArea(const QRect& frame, const QRect& area)
{
    if (area.isEmpty())
        return frame.topLeft();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

// ------------------------------------------------------------------ line --

LineControl::LineControl(const ControlDef& def, QWidget* parent)
    : QWidget(parent), x_(def.x), y_(def.y), w_(def.w), h_(def.h), stroke_(std::max(1, def.stroke))
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    color_ = def.color != kNoColor ? QColor::fromRgb(def.color) : palette().color(QPalette::WindowText);
}

void LineControl::placeIn(const DialogUnits& units, double fx, double fy)
{
    const QPoint a(qRound(units.x(x_) * fx), qRound(units.y(y_) * fy));
    const QPoint b(qRound(units.x(x_ + w_) * fx), qRound(units.y(y_ + h_) * fy));
    const int pad = stroke_ / 2 + 1;
    const QRect box = QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
    from_ = a - box.topLeft();
    to_ = b - box.topLeft();
    setGeometry(box);
    update();
}

void LineControl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color_, stroke_, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from_, to_);
}

QWidget* makeLine(const ControlDef& def, QWidget* parent) { return new LineControl(def, parent); }

void placeLine(QWidget* line, const DialogUnits& units, double fx, double fy)
{
    if (auto* l = qobject_cast<LineControl*>(line))
        l->placeIn(units, fx, fy);
}

void Control::setLine(int w, int h)
{
    auto* line = qobject_cast<LineControl*>(widget_.data());
    if (!line || !window_)
        return;
    line->setExtent(w, h);
    if (Window::Item* it = window_->item(name_))
        window_->place(*it);
}

QSize Control::lineSize() const
{
    auto* line = qobject_cast<LineControl*>(widget_.data());
    return line ? line->extent() : QSize(0, 0);
}

// ----------------------------------------------------- animated pictures --

namespace {

// Keeps a button's icon on the movie's current frame, sized to the button.
// Each frame's icon is made once and kept: an icon made afresh from every
// frame would leave a new scaled copy in the pixmap cache at each step.
class MovieIcon : public QObject {
public:
    MovieIcon(QAbstractButton* button, QMovie* movie) : QObject(movie), button_(button), movie_(movie)
    {
        connect(movie, &QMovie::frameChanged, this, [this] { refresh(); });
        button->installEventFilter(this);
    }
    void refresh()
    {
        const int number = movie_->currentFrameNumber();
        if (number < 0)
            return;
        QSize room = button_->size() - QSize(8, 8);
        if (!button_->text().isEmpty())
            room.setWidth(room.width() / 2);
        room = room.expandedTo(QSize(1, 1));
        if (room != room_) {
            room_ = room;
            icons_.clear();
        }
        if (size_t(number) >= icons_.size())
            icons_.resize(size_t(number) + 1);
        QIcon& icon = icons_[size_t(number)];
        if (icon.isNull()) {
            const QPixmap frame = movie_->currentPixmap();
            if (frame.isNull())
                return;
            iconSize_ = frame.size().scaled(room, Qt::KeepAspectRatio);
            icon = QIcon(frame.scaled(iconSize_, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        }
        button_->setIconSize(iconSize_);
        button_->setIcon(icon);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            refresh();
        return false;
    }

private:
    QAbstractButton* button_;
    QMovie* movie_;
    QSize room_, iconSize_;
    std::vector<QIcon> icons_;  // by frame number, for the current room
};

} // namespace

bool animatePicture(QWidget* w, const QString& file)
{
    if (!w || file.isEmpty())
        return false;
    {
        QImageReader reader(file);
        if (!reader.canRead() || !reader.supportsAnimation() || reader.imageCount() == 1)
            return false;
    }
    auto* movie = new QMovie(file, QByteArray(), w);
    movie->setObjectName(QStringLiteral("Movie"));
    if (!movie->isValid()) {
        delete movie;
        return false;
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setMovie(movie);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        auto* icon = new MovieIcon(button, movie);
        movie->jumpToFrame(0);
        icon->refresh();
    } else {
        delete movie;
        return false;
    }
    movie->start();
    return true;
}

// ---------------------------------------------------- the window's kinds --

void Window::applyFrame()
{
    Qt::WindowFlags f = windowFlags() | Qt::Window;
    switch (def_.frame) {
    case Frame::Normal:
        break;
    case Frame::NoTitle:
        // A border stays; the title bar and its buttons go.
        f |= Qt::CustomizeWindowHint;
        f &= ~(Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        break;
    case Frame::Tool:
        f = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
        break;
    }
    if (def_.onTop)
        f |= Qt::WindowStaysOnTopHint;
    setWindowFlags(f);
}

void Window::buildStatusBar()
{
    if (def_.statusZones.empty())
        return;
    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("StatusBar"));
    statusBar_->setSizeGripEnabled(false);
    statusBar_->setAutoFillBackground(true);
    for (int width : def_.statusZones) {
        auto* zone = new QLabel(statusBar_);
        zone->setObjectName(QStringLiteral("Zone%1").arg(statusZones_.size() + 1));
        zone->setTextFormat(Qt::PlainText);
        if (width > 0)
            zone->setFixedWidth(units_.x(width));
        statusBar_->addWidget(zone, width > 0 ? 0 : 1);
        statusZones_.push_back(zone);
    }
    // The bar stands under the controls: the window grows by its height.
    resize(width(), height() + statusBarHeight());
    placeStatusBar();
}

int Window::statusBarHeight() const { return statusBar_ ? statusBar_->sizeHint().height() : 0; }

void Window::placeStatusBar()
{
    if (statusBar_) {
        const int h = statusBarHeight();
        statusBar_->setGeometry(0, height() - h, width(), h);
    }
}

void Window::setStatusText(int zone, const QString& text)
{
    if (zone >= 1 && zone <= int(statusZones_.size()))
        statusZones_[zone - 1]->setText(text);
}

QString Window::statusText(int zone) const
{
    return zone >= 1 && zone <= int(statusZones_.size()) ? statusZones_[zone - 1]->text() : QString();
}

QRect Window::availableArea() const
{
    if (sub_)
        return sub_->mdiArea() ? sub_->mdiArea()->viewport()->rect() : QRect();
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

void Window::placeAt(int x, int y)
{
    const QRect area = availableArea();
    QWidget* w = outer();
    const QPoint wanted = area.topLeft() + QPoint(units_.x(x), units_.y(y));
    moveFrame(w, keptOnArea(QRect(wanted, expectedFrame(w).size()), area));
}

void Window::placeCentred()
{
    const QRect area = availableArea();
    QWidget* w = outer();
    QRect frame(QPoint(), expectedFrame(w).size());
    frame.moveCenter(area.center());
    moveFrame(w, keptOnArea(frame, area));
}

void Window::placeRandomly(const QRect& range)
{
    QRandomGenerator* random = QRandomGenerator::global();
    const QRect r = range.normalized();
    placeAt(random->bounded(r.left(), r.right() + 1), random->bounded(r.top(), r.bottom() + 1));
}

void Window::keepOnArea()
{
    QWidget* w = outer();
    moveFrame(w, keptOnArea(expectedFrame(w), availableArea()));
}

void Window::placeOverOpener()
{
    const QRect area = availableArea();
    QWidget* w = outer();
    // The opener's frame in the coordinates of this window's area: the
    // screen's for a top-level window, the frame's MDI viewport for a child.
    QRect over = area;
    if (const QWidget* o = opener_.data(); o && o != w && o->isVisible()) {
        QRect global = o->isWindow() ? expectedFrame(o) : QRect(o->mapToGlobal(QPoint(0, 0)), o->size());
        if (sub_ && sub_->mdiArea())
            global.moveTopLeft(sub_->mdiArea()->viewport()->mapFromGlobal(global.topLeft()));
        over = global;
    }
    QRect frame(QPoint(), expectedFrame(w).size());
    frame.moveCenter(over.center());
    moveFrame(w, keptOnArea(frame, area));
}

void Window::applyPlacement()
{
    switch (def_.placement) {
    case Placement::Default:
        // Centred over the window it was opened from (the frame over its
        // screen), not where the window manager would put it.
        placeOverOpener();
        break;
    case Placement::Fixed: placeAt(def_.x, def_.y); break;
    case Placement::Centred: placeCentred(); break;
    }
}

void Window::widenForList(const QWidget* list, int pixels)
{
    if (pixels <= 0 || !list || list->width() <= 0)
        return;
    int grow = 0;
    if (def_.resizable)
        grow = (pixels * width() + list->width() - 1) / list->width();
    else if (const Item* g = growingList(); g && g->widget == list)
        grow = pixels;
    if (grow <= 0)
        return;
    QWidget* w = outer();
    const QSize decoration = expectedFrame(w).size() - w->size();
    const int most = availableArea().width() - decoration.width();
    // Columns wider than the screen are scrolled to sideways instead.
    if (w->width() + grow <= most)
        w->resize(w->width() + grow, w->height());
}

// --------------------------------------------------------------- regions --

void Window::armRegions()
{
    bool any = false;
    for (const Item& it : items_)
        any = any || it.def->kind == Kind::Region;
    if (!any)
        return;
    // Moves over any control tell which regions the mouse is in, also where
    // a control covers a region.
    setMouseTracking(true);
    for (QWidget* w : findChildren<QWidget*>())
        w->setMouseTracking(true);
}

void Window::trackRegions(QObject* o, QEvent* e)
{
    if (!hasMouseTracking() || !o->isWidgetType())
        return;
    auto* w = static_cast<QWidget*>(o);
    if (w != this && !isAncestorOf(w))
        return;
    QPointF at;
    switch (e->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove: at = static_cast<QSinglePointEvent*>(e)->globalPosition(); break;
    case QEvent::Leave:
        if (w == this)
            regionsIn_.clear();
        return;
    default: return;
    }
    // From the screen position: an event that was queued before the window
    // moved (a window that jumps away from the mouse) falls outside it now.
    const QPoint p = mapFromGlobal(at.toPoint());
    for (const Item& it : items_) {
        if (it.def->kind != Kind::Region || !it.widget)
            continue;
        const QString name = QString::fromUtf8(it.def->name);
        const bool in = it.widget->isVisibleTo(this) && it.widget->geometry().contains(p);
        const auto was = std::find(regionsIn_.begin(), regionsIn_.end(), name);
        if (in && was == regionsIn_.end()) {
            regionsIn_.push_back(name);
            fieldEvent(name, FieldEvent::MouseIn);
        } else if (!in && was != regionsIn_.end()) {
            regionsIn_.erase(was);
        }
    }
}

} // namespace ven
