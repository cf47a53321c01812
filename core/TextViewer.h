// The read-only text viewers: a list showing a text file's lines, with a
// popup menu to find, go to a line and print, and the window that the memo,
// file, log and help viewers share (auto-close counter, Edit and Close).
#pragma once

#include "platform/WindowController.h"

#include <QStringList>

#include <cstdint>
#include <functional>

class QMenu;

namespace ven {

class LineModel;

// The text-file viewer on a window's list: reads the whole file (a missing
// or unreadable one shows an empty list) and shows one line a row.
class TextViewer : public WindowPart {
public:
    TextViewer(WindowController& owner, const QString& list, uint32_t color);
    // Reads `file` again from the start; returns false when it could not be opened.
    bool open(const QString& file);
    void close();
    const QString& file() const { return file_; }
    const QStringList& lines() const;
    // The first line at or after `from` (0-based) that contains `text`,
    // letter case ignored, searching on from the top after the last; -1 none.
    int find(const QString& text, int from) const;
    // Makes a line (0-based) the current one and scrolls it into view.
    void goToLine(int line);
    int currentLine() const;
    // Prints the lines through the report destination.
    void print();

    bool fieldEvent(const QString& control, FieldEvent e) override;
    void closing() override { close(); }

private:
    void popup();
    void fitWidestLine();
    QString list_;
    QString file_;
    QString lastFind_;
    LineModel* model_ = nullptr;
    QMenu* menu_ = nullptr;
};

// What makes one viewer differ from the others.
struct ViewerSpec {
    uint16_t step;                          // counter step per tick (closes at 600)
    uint32_t color;                         // line colour, kNoColor the default
    std::function<std::unique_ptr<WindowController>()> launcher;  // started by Edit
};

// The viewer window: 240 x 200 units, a tick every second, closing itself
// when its counter reaches 600; a double click restarts the count.
class TextViewerWnd : public WindowController {
    Q_OBJECT
public:
    static constexpr uint16_t kLimit = 600;
    TextViewerWnd(const QString& procedure, ViewerSpec spec);
    uint16_t counter() const { return counter_; }
    TextViewer& viewer() { return *viewer_; }

protected:
    // The file shown and the title; called at set-up.
    virtual void chooseFile(QString& file, QString& title) = 0;
    // After the counter step on each tick.
    virtual void ticked() {}
    // A right click in the window.
    virtual void rightClicked() {}
    void restartCount();

    bool setUp() override;
    void windowEvent(Event e) override;
    void fieldEvent(const QString& control, FieldEvent e) override;
    void accepted(const QString& control) override;

private:
    ViewerSpec spec_;
    uint16_t counter_ = 0;
    TextViewer* viewer_ = nullptr;
    QString file_, title_;
};

} // namespace ven
