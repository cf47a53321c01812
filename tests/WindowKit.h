// The test kit for windows: runs procedures offscreen with a fake clock and
// a temporary program folder, finds their controls by name, types, presses,
// chooses, lets timer ticks pass, answers message boxes and reads what the
// windows show, so that a window's test reads like a person using it.
//
// Header-only; one WindowKit per test (it resets the framework's state).
#pragma once

#include "calendar/Calendar.h"
#include "platform/BatchProcess.h"
#include "platform/BrowseList.h"
#include "platform/Clock.h"
#include "platform/DateField.h"
#include "platform/ErrorReporter.h"
#include "platform/KeyedFile.h"
#include "platform/Procedure.h"
#include "platform/SettingsFile.h"
#include "platform/TellOnce.h"
#include "platform/WindowController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <stdexcept>

namespace ven::test {

class WindowKit {
public:
    // Starts at `now` on the fake clock, in a new empty program folder.
    explicit WindowKit(const QDateTime& now = QDateTime(QDate(2026, 12, 9), QTime(10, 0)))
        : clock_(now)
    {
        oldFolder_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
        resetProcedureState();
        forgetToldCauses();  // each case is a run of its own
        Program_Path = dir_.path();
        Store::instance().setFolder(dir_.path());
        Store::instance().setFixedFolder(dir_.path());
        settingsFile().setFile({});
        setClock(&clock_);
        setManualTimers(true, [this](qint64 ms) { clock_.advance(ms); });
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            boxes_.push_back(r);
            if (answers_.empty())
                return r.defaultButton;
            const int a = answers_.front();
            answers_.pop_front();
            return a;
        });
        errors().setAfterFatal([this] { ended_ = true; });
        ReportDestination pdf;
        pdf.output = ReportOutput::Pdf;
        pdf.pdfFile = folder("report.pdf");
        setReportDestination(pdf);
        // Date fields open the program's date picker.
        setDatePicker([](const QString& caption, int32_t& date, std::function<void(bool)> done) { pickDate(caption, date, std::move(done)); });
    }

    ~WindowKit()
    {
        // Windows still open end with the kit.
        for (int round = 0; round < 5 && !WindowController::openWindows().empty(); ++round) {
            for (WindowController* w : WindowController::openWindows())
                w->close(RequestCancelled);
            settle();
        }
        resetProcedureState();
        Store::instance().closeIdle();
        setManualTimers(false);
        setClock(nullptr);
        setMessageBoxHandler({});
        errors().setAfterFatal({});
        setReportDestination({});
        QDir::setCurrent(oldFolder_);
    }

    WindowKit(const WindowKit&) = delete;
    WindowKit& operator=(const WindowKit&) = delete;

    FakeClock& clock() { return clock_; }
    QString folder(const QString& name = {}) const { return name.isEmpty() ? dir_.path() : QDir(dir_.path()).filePath(name); }
    QString ini() const { return folder("Vendrolix.ini"); }

    // Lets queued events (posted window events, closings) run.
    void settle()
    {
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
    }

    // Starts a procedure on a new thread and lets it open; the thread number.
    int start(std::function<std::unique_ptr<WindowController>()> make)
    {
        const int t = ven::start(std::move(make));
        settle();
        return t;
    }
    // Calls a procedure with a request on the current (frame's) thread;
    // `response` receives its response when it ends.
    void call(std::unique_ptr<WindowController> proc, uint8_t request, uint8_t* response = nullptr)
    {
        ven::call(std::move(proc), request, [response](uint8_t r) {
            if (response)
                *response = r;
        });
        settle();
    }

    // The open window of a procedure; fails the test when there is none.
    WindowController& window(const QString& procedure)
    {
        WindowController* w = WindowController::find(procedure);
        if (!w || !w->isOpen())
            throw std::runtime_error("no open window " + procedure.toStdString());
        return *w;
    }
    bool isOpen(const QString& procedure) const
    {
        WindowController* w = WindowController::find(procedure);
        return w && w->isOpen();
    }
    int openCount(const QString& procedure) const
    {
        int n = 0;
        for (WindowController* w : WindowController::openWindows())
            n += w->procedure() == procedure;
        return n;
    }

    Control control(const QString& procedure, const QString& name) { return window(procedure).control(name); }

    // Puts the keyboard focus on a control, as a click into it would; the
    // cursor stays where the widget puts it (an entry keeps its text).
    void focus(const QString& procedure, const QString& name)
    {
        if (QWidget* w = usable(procedure, name)) {
            window(procedure).window().activateWindow();
            inputTarget(w)->setFocus(Qt::MouseFocusReason);
        }
        settle();
    }
    // Types at the cursor of a control as a person would: focus it and send
    // the keys. Nothing is selected first and no Enter follows; a test writes
    // those steps itself (`enter`, `tab`, `key`).
    void type(const QString& procedure, const QString& name, const QString& text)
    {
        QWidget* w = usable(procedure, name);
        if (!w)
            return;
        QWidget* target = inputTarget(w);
        if (QApplication::focusWidget() != target) {
            window(procedure).window().activateWindow();
            target->setFocus(Qt::MouseFocusReason);
        }
        QTest::keyClicks(target, text);
        settle();
    }
    // Replaces what a field holds: select all (Ctrl+A), then type. For tests
    // that mean "the field now says this"; no Enter follows.
    void replaceText(const QString& procedure, const QString& name, const QString& text)
    {
        QWidget* w = usable(procedure, name);
        if (!w)
            return;
        QWidget* target = inputTarget(w);
        window(procedure).window().activateWindow();
        target->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(target, text);
        settle();
    }
    // Clicks into every ordered pair (A, B) of a window's shown, enabled
    // entries, spins and text boxes: `typed` replaces A's text, then the
    // focus moves to B as a click would. Every window a rule opens on the
    // way (a lookup, a picker) is closed unchosen. Returns the number of
    // moves made, or -1 when the window ended meanwhile.
    int focusEveryPair(const QString& procedure, const QString& typed)
    {
        const std::vector<WindowController*> before = WindowController::openWindows();
        auto closeOpened = [&] {
            for (int round = 0; round < 5; ++round) {
                bool closed = false;
                for (WindowController* w : WindowController::openWindows())
                    if (std::find(before.begin(), before.end(), w) == before.end()) {
                        w->close(RequestCancelled);
                        closed = true;
                    }
                if (!closed)
                    return;
                settle();
            }
        };
        auto takesTyping = [](Kind k) { return k == Kind::Entry || k == Kind::Spin || k == Kind::Text; };
        QStringList names;
        for (const QString& n : window(procedure).window().controlNames())
            if (takesTyping(control(procedure, n).kind()))
                names << n;
        auto reachable = [&](const QString& n) {
            QWidget* w = control(procedure, n).widget();
            return w && w->isVisible() && w->isEnabled() && w->window()->isEnabled();
        };
        int moves = 0;
        for (const QString& a : names)
            for (const QString& b : names) {
                if (a == b)
                    continue;
                if (!isOpen(procedure))
                    return -1;
                if (!reachable(a))
                    continue;
                replaceText(procedure, a, typed);
                closeOpened();
                if (!isOpen(procedure))
                    return -1;
                if (!reachable(b))
                    continue;
                focus(procedure, b);
                closeOpened();
                ++moves;
            }
        return isOpen(procedure) ? moves : -1;
    }
    // Enter and Tab pressed where the focus is, as separate steps.
    void enter(const QString& procedure) { key(procedure, Qt::Key_Return); }
    void tab(const QString& procedure) { key(procedure, Qt::Key_Tab); }
    void backtab(const QString& procedure) { key(procedure, (Qt::SHIFT | Qt::Key_Backtab).toCombined()); }
    // Escape pressed where the focus is.
    void escape(const QString& procedure) { key(procedure, Qt::Key_Escape); }
    // Presses a button (it must be shown and enabled, as for a person).
    void press(const QString& procedure, const QString& name)
    {
        if (auto* b = qobject_cast<QAbstractButton*>(usable(procedure, name)))
            b->click();
        else
            ADD_FAILURE() << name.toStdString() << " is not a button";
        settle();
    }
    // Chooses: a radio of an option by its value, a drop-list entry by its
    // text, a tab of a sheet by its number (1 the first).
    void choose(const QString& procedure, const QString& name, const QString& value)
    {
        QWidget* w = usable(procedure, name);
        if (!w)
            return;
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            const int i = c->findText(value);
            c->setCurrentIndex(i);
            emit c->activated(i);
        } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            tabs->setCurrentIndex(value.toInt() - 1);
        } else {
            for (QRadioButton* r : window(procedure).window().findChildren<QRadioButton*>())
                if (r->property("venValue").toString() == value && window(procedure).window().controlDef(r->objectName())
                    && QString::fromUtf8(window(procedure).window().controlDef(r->objectName())->parent) == name)
                    r->click();
        }
        settle();
    }
    // A key on a control (or on the window's focused control).
    void key(const QString& procedure, int combined, const QString& name = {})
    {
        QWidget* w = name.isEmpty() ? QApplication::focusWidget() : usable(procedure, name);
        if (!w)
            w = &window(procedure).window();
        const QKeyCombination k = QKeyCombination::fromCombined(combined);
        QTest::keyClick(w, k.key(), k.keyboardModifiers());
        settle();
    }
    // Lets time pass: timer ticks fall due on the fake clock.
    void wait(qint64 msecs)
    {
        advanceTimers(msecs);
        settle();
    }
    // Lets the window timers run, `tickMsecs` of the fake clock a turn, until
    // `done` holds; false when it still does not after `limitMsecs` of real
    // time (work on other threads and a loaded machine take real time, so a
    // count of turns is no measure).
    bool waitUntil(const std::function<bool()>& done, qint64 limitMsecs = 120000, qint64 tickMsecs = 10)
    {
        QDeadlineTimer deadline(limitMsecs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            wait(tickMsecs);
            QThread::msleep(1);
        }
        return true;
    }

    // What a control shows.
    QString text(const QString& procedure, const QString& name) { return control(procedure, name).text(); }

    // A window's list: rows, cell texts, the highlighted row; selecting a row.
    QTableView* list(const QString& procedure, const QString& name = QStringLiteral("List"))
    {
        return control(procedure, name).as<QTableView>();
    }
    int rows(const QString& procedure, const QString& name = QStringLiteral("List"))
    {
        QTableView* v = list(procedure, name);
        return v ? v->model()->rowCount() : 0;
    }
    QString cell(const QString& procedure, int row, int column, const QString& name = QStringLiteral("List"))
    {
        QTableView* v = list(procedure, name);
        return v ? v->model()->index(row, column).data().toString() : QString();
    }
    int highlighted(const QString& procedure, const QString& name = QStringLiteral("List"))
    {
        QTableView* v = list(procedure, name);
        return v ? v->currentIndex().row() : -1;
    }
    void highlight(const QString& procedure, int row, const QString& name = QStringLiteral("List"))
    {
        if (QTableView* v = list(procedure, name)) {
            v->setFocus();
            v->setCurrentIndex(v->model()->index(row, 0));
        }
        settle();
    }
    // A key pressed in a list (paging, locator typing).
    void keyInList(const QString& procedure, int combined, const QString& name = QStringLiteral("List"))
    {
        if (QTableView* v = list(procedure, name)) {
            v->setFocus();
            const QKeyCombination k = QKeyCombination::fromCombined(combined);
            QTest::keyClick(v, k.key(), k.keyboardModifiers());
        }
        settle();
    }
    void typeInList(const QString& procedure, const QString& text, const QString& name = QStringLiteral("List"))
    {
        if (QTableView* v = list(procedure, name)) {
            v->setFocus();
            QTest::keyClicks(v, text);
        }
        settle();
    }
    // Opens a list's popup menu; its items' texts.
    QMenu* popup(const QString& procedure, const QString& name = QStringLiteral("List"))
    {
        if (QTableView* v = list(procedure, name)) {
            QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), v->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(v->viewport(), &e);
            settle();
            return window(procedure).window().findChild<QMenu*>(QStringLiteral("Browse Actions"));
        }
        return nullptr;
    }

    // Message boxes shown so far, and the answers (button numbers) that the
    // next ones get; without an answer a box takes its default button.
    const std::vector<MessageBoxRequest>& boxes() const { return boxes_; }
    void answer(int button) { answers_.push_back(button); }
    void clearBoxes() { boxes_.clear(); }
    // True once a fatal message (a file that cannot be used) was shown.
    bool fatalShown() const { return ended_; }

    // Every record of a data file as it is stored now, in record order.
    static std::vector<Record> records(const FileDef& def)
    {
        Context ctx;
        KeyedFile& f = ctx.file(def);
        f.open();
        std::vector<Record> out;
        f.set();
        while (f.next().ok())
            out.push_back(f.rec());
        return out;
    }

    // The text of a PDF file (pdftotext -layout).
    static QString pdfText(const QString& file)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // The words of a PDF file with their places (pdftotext -bbox): page
    // (from 1) and box in millimetres from the paper's top left corner.
    struct PdfWord {
        QString text;
        int page = 0;
        double x = 0, y = 0, right = 0, bottom = 0;
    };
    static std::vector<PdfWord> pdfWords(const QString& file)
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
        p.waitForFinished(30000);
        const QString html = QString::fromUtf8(p.readAllStandardOutput());
        static const QRegularExpression tag(QStringLiteral(
            "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        std::vector<PdfWord> words;
        int page = 0;
        constexpr double mm = 25.4 / 72;
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(0).startsWith(QLatin1String("<page"))) {
                ++page;
                continue;
            }
            QString t = m.captured(5);
            t.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
            t.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&amp;"), QLatin1String("&"));
            words.push_back({t, page, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                             m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm});
        }
        return words;
    }

private:
    // The widget that takes the keys of a control (a spin's or combo's entry).
    static QWidget* inputTarget(QWidget* w)
    {
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e;
        if (auto* e = w->findChild<QLineEdit*>())
            return e;
        return w;
    }
    QWidget* usable(const QString& procedure, const QString& name)
    {
        Control c = control(procedure, name);
        if (!c.exists()) {
            ADD_FAILURE() << "no control " << name.toStdString() << " in " << procedure.toStdString();
            return nullptr;
        }
        if (!c.widget()->isVisible() || !c.widget()->isEnabled()) {
            ADD_FAILURE() << name.toStdString() << " in " << procedure.toStdString() << " is hidden or disabled";
            return nullptr;
        }
        return c.widget();
    }

    QTemporaryDir dir_;
    QString oldFolder_;
    FakeClock clock_;
    std::vector<MessageBoxRequest> boxes_;
    std::deque<int> answers_;
    bool ended_ = false;
};

// Opens the form made by `make` to insert, in a kit of its own, once with a
// digit and once with a letter, clicks from each field into every other one
// (focusEveryPair) and checks it stays open and its focused field still
// takes what is typed.
inline void expectEveryFocusPairHolds(const char* procedure, std::unique_ptr<WindowController> (*make)())
{
    for (const char* typed : {"9", "x"}) {
        SCOPED_TRACE(std::string(procedure) + " typing " + typed);
        WindowKit kit;
        kit.call(make(), InsertRecord);
        ASSERT_TRUE(kit.isOpen(procedure));
        EXPECT_GT(kit.focusEveryPair(procedure, typed), 0);
        ASSERT_TRUE(kit.isOpen(procedure));
        // Still answering: the focused field takes what is typed.
        const QString focused = kit.window(procedure).window().focusedControl();
        ASSERT_FALSE(focused.isEmpty());
        kit.replaceText(procedure, focused, "7");
        EXPECT_EQ(kit.text(procedure, focused).trimmed().left(1), "7");
    }
}

} // namespace ven::test
