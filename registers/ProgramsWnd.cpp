// The launcher: its hundred buttons declared from a table of places, each
// tab filled once per opening (LoadTabButtons), the tab captions from the
// settings file, Show Buttons, Install Programs, and a button's program
// started (StartProgram).
#include "registers/ProgramsWnd.h"

#include "core/Procedures.h"
#include "data/Dictionary.h"
#include "platform/Ini.h"
#include "platform/Shell.h"
#include "registers/RunProgram.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include <array>
#include <deque>

namespace ven {
namespace {

constexpr int kTabs = 5;
constexpr int kPerTab = 20;
constexpr int kAcross = 4;
constexpr int kButtonW = 88, kButtonH = 36, kGap = 4;

const char* keep(const QString& s)
{
    static std::deque<QByteArray> names;
    names.push_back(s.toUtf8());
    return names.back().constData();
}

QString buttonName(int n) { return QStringLiteral("Button%1").arg(n, 3, 10, QChar('0')); }

const WindowDef& programsWndDef()
{
    static const WindowDef def = [] {
        WindowDef d{.title = "Start Programs", .w = 10 + kAcross * (kButtonW + kGap) + 4, .h = 262, .icon = "Launch.ico"};
        const int sheetW = d.w - 8;
        d.controls.push_back({.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = sheetW, .h = 232});
        static const char* const kDesigned[kTabs] = {"001 - 020", "021 - 040", "041 - 060", "061 - 080", "081 - 100"};
        for (int t = 1; t <= kTabs; ++t) {
            const char* tab = keep(QStringLiteral("Tab%1").arg(t));
            d.controls.push_back({.name = tab, .kind = Kind::Tab, .text = kDesigned[t - 1], .parent = "Sheet"});
            for (int k = 1; k <= kPerTab; ++k) {
                const int n = (t - 1) * kPerTab + k;
                d.controls.push_back({.name = keep(buttonName(n)), .kind = Kind::Button,
                                      .text = keep(QStringLiteral("Button %1").arg(n, 3, 10, QChar('0'))),
                                      .x = 10 + ((k - 1) % kAcross) * (kButtonW + kGap),
                                      .y = 22 + ((k - 1) / kAcross) * (kButtonH + kGap), .w = kButtonW, .h = kButtonH,
                                      .parent = tab, .flags = Hidden});
            }
        }
        const int y = 242;
        d.controls.push_back({.name = "ShowButtons", .kind = Kind::Button, .text = "Show Buttons", .x = 4, .y = y, .w = 70, .h = 14});
        d.controls.push_back({.name = "Install", .kind = Kind::Button, .text = "&Install Programs", .x = d.w - 158, .y = y,
                              .w = 76, .h = 14, .flags = Default});
        d.controls.push_back({.name = "Close", .kind = Kind::Button, .text = "Close Window", .x = d.w - 78, .y = y, .w = 74,
                              .h = 14, .tip = "Close Window", .closes = RequestCancelled});
        return d;
    }();
    return def;
}

const char* const kDefaultCaptions[kTabs] = {"Programs 001-020", "Programs 021-040", "Programs 041-060", "Programs 061-080",
                                             "Programs 081-100"};

class ProgramsWnd : public WindowController {
public:
    ProgramsWnd() : WindowController(QStringLiteral("ProgramsWnd"), programsWndDef()) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenPrg)) {
            RESPONSE = RequestCancelled;
            return false;
        }
        designedIcon_ = QIcon::fromTheme(QStringLiteral("application-x-executable"),
                                         QApplication::style()->standardIcon(QStyle::SP_DesktopIcon));
        for (int n = 1; n <= kTabs * kPerTab; ++n)
            if (auto* b = control(buttonName(n)).as<QPushButton>()) {
                b->setIcon(designedIcon_);
                b->setIconSize(QSize(24, 24));
            }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        current_ = 1;
        LoadTabButtons();
        QApplication::restoreOverrideCursor();
        const QString ini = QDir::current().filePath(QStringLiteral("Vendrolix.ini"));
        if (auto* sheet = control("Sheet").as<QTabWidget>())
            for (int t = 1; t <= kTabs; ++t) {
                QString caption = readIni(ini, QStringLiteral("ProgramsWnd"), QStringLiteral("TabName%1").arg(t), {}).trimmed();
                if (caption.isEmpty())
                    caption = QString::fromUtf8(kDefaultCaptions[t - 1]);
                sheet->setTabText(t - 1, caption.left(19));
            }
        return true;
    }

    void newSelection(const QString& c) override
    {
        WindowController::newSelection(c);
        if (c == u"Sheet") {
            current_ = window().chosenTab(QStringLiteral("Sheet"));
            LoadTabButtons();
        }
    }

    void accepted(const QString& c) override
    {
        if (c.startsWith(u"Button") && c.size() == 9)
            return StartProgram(c.mid(6).toInt());
        if (c == u"ShowButtons") {
            showAll_ = true;
            for (int n = 1; n <= kTabs * kPerTab; ++n)
                control(buttonName(n)).show();
            return;
        }
        if (c == u"Install") {
            startProcedure(QStringLiteral("ProgramsBr"));
            close(RequestCompleted);
            return;
        }
        WindowController::accepted(c);
    }

private:
    // Reads the program of a button number; false when there is none.
    bool readButton(int n)
    {
        KeyedFile& prg = file(VenPrg);
        prg.rec().clear();
        prg.rec().set(PRG::BUTTONNUMBER, n);
        return bool(prg.get(PRG::BUTTON_KEY));
    }

    // Shows button n with the program in the buffer when its file exists.
    void fill(int n)
    {
        const Record& r = file(VenPrg).rec();
        Control b = control(buttonName(n));
        if (!QFileInfo::exists(r.str(PRG::PROGPATH).trimmed()))
            return;
        b.show();
        b.setText(r.str(PRG::NAME).trimmed());
        if (auto* button = b.as<QPushButton>()) {
            button->setIcon(r.str(PRG::ICON).trimmed().isEmpty() ? designedIcon_ : programIcon(r.str(PRG::ICON).trimmed(), designedIcon_));
            button->setToolTip(r.str(PRG::DESCRIPTION).trimmed());
        }
        shown_[size_t(n)] = r.str(PRG::NAME).trimmed();
    }

    // Fills the current tab's buttons, once per tab and opening.
    void LoadTabButtons()
    {
        if (current_ < 1 || current_ > kTabs || loaded_[size_t(current_)])
            return;
        for (int k = 1; k <= kPerTab; ++k) {
            const int n = (current_ - 1) * kPerTab + k;
            if (readButton(n))
                fill(n);
        }
        loaded_[size_t(current_)] = true;
    }

    void StartProgram(int n)
    {
        const bool found = readButton(n);
        const QString& shown = shown_[size_t(n)];
        // The button shows another program than the one now on its number
        // (renumbered or deleted meanwhile): it is shown afresh, not started.
        if (!shown.isEmpty() && (!found || file(VenPrg).rec().str(PRG::NAME).trimmed().compare(shown, Qt::CaseInsensitive) != 0)) {
            Control b = control(buttonName(n));
            b.setText(QStringLiteral("Button %1").arg(n, 3, 10, QChar('0')));
            if (auto* button = b.as<QPushButton>()) {
                button->setIcon(designedIcon_);
                button->setToolTip({});
            }
            shown_[size_t(n)].clear();
            if (found)
                fill(n);
            else if (!showAll_)
                b.hide();
            return;
        }
        if (!found)
            return;
        const Record prg = file(VenPrg).rec();
        startRegisteredProgram(prg, &window());
    }

    int current_ = 1;
    std::array<bool, kTabs + 1> loaded_{};
    std::array<QString, kTabs * kPerTab + 1> shown_{};  // the program each filled button shows
    bool showAll_ = false;
    QIcon designedIcon_;
};

} // namespace

int launcherTab(int number) { return (number - 1) / kPerTab + 1; }
int launcherPlace(int number) { return (number - 1) % kPerTab + 1; }

std::unique_ptr<WindowController> makeProgramsWnd(const QString&)
{
    return std::make_unique<ProgramsWnd>();
}

} // namespace ven
