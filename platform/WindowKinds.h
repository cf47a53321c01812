// The kinds of windows and controls beyond the plain dialog: frames without
// a title bar and tool windows, placements kept on the screen, status bar
// zones, line controls, animated pictures and the regions' mouse-enter
// event. Window declares what it offers (WindowDef.h); the pieces here are
// what it builds them from.
//
// GUI thread only.
#pragma once

#include "platform/WindowDef.h"

#include <QWidget>

namespace ven {

// The place nearest to `frame`'s top left at which the whole frame lies on
// `area`; a frame larger than the area keeps to the area's top left.
QPoint keptOnArea(const QRect& frame, const QRect& area);

// A line control: a transparent widget over the line's bounding box that
// draws the line and lets clicks through to what lies under it.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(const ControlDef& def, QWidget* parent);
    void setExtent(int w, int h) { w_ = w, h_ = h; }
    QSize extent() const { return QSize(w_, h_); }
    // Where the line stands, from the window's units and its scale when resized.
    void placeIn(const DialogUnits& units, double fx, double fy);
    // The line's ends in the window's pixels.
    QLine line() const { return QLine(from_ + pos(), to_ + pos()); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    int x_, y_, w_, h_;
    int stroke_;
    QColor color_;
    QPoint from_, to_;
};

QWidget* makeLine(const ControlDef& def, QWidget* parent);
void placeLine(QWidget* line, const DialogUnits& units, double fx, double fy);

// Shows an animated picture (a GIF of several frames) on a label or as a
// button's icon, playing for as long as the widget lives; the QMovie is the
// widget's child named "Movie". false, and nothing done, for a still
// picture or a file that is not one.
bool animatePicture(QWidget* w, const QString& file);

} // namespace ven
