// CalculatorWnd: the pocket calculator's window over its engine: the keys
// and the keyboard keys that press them as tables, the currency keys from
// the exchange-rate records, the numbered memories in VenCalc, the lookup,
// the tape viewer and the two settings it keeps.
#include "tools/CalculatorWnd.h"

#include "core/FrameSettings.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"
#include "tools/CalcEngine.h"
#include "tools/CalcTape.h"
#include "tools/MemoriesBr.h"
#include "tools/ViewCalcTapeWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace ven {
namespace {

using K = CalcKey;

// One key of the key field: its control, what it presses, its face and
// tip, and its place in the grid (column, row).
struct KeyDef {
    const char* name;
    K key;
    const char* text;
    const char* tip;
    int column, row;
    const char* icon = "";
};

// Keys that are no calculator key of their own.
constexpr K kPaste = K(18), kTape = K(55), kClose = K(56), kLookup = K(45);

const KeyDef kKeys[] = {
    {"MR", K::Recall, "MR", "Memory Recall", 0, 0},
    {"M", K::Store, "M", "Store in Memory", 1, 0},
    {"MPlus", K::MemoryPlus, " M+", "Add to Memory", 2, 0},
    {"MMinus", K::MemoryMinus, " M-", "Subtract from Memory", 3, 0},
    {"CE", K::ClearEntry, "CE", "Clear", 4, 0},
    {"Close", kClose, "", "Close Calculator", 5, 0, "exit.ico"},
    {"Currency1", K::Currency1, "\u20ac", "Euro", 0, 1},
    {"Currency2", K::Currency2, "$", "Dollar", 1, 1},
    {"Currency3", K::Currency3, "\u00a3", "Not in use yet", 2, 1},
    {"Currency4", K::Currency4, "\u00a5", "Not in use yet", 3, 1},
    {"Currency5", K::Currency5, "Kr", "Not in use yet", 4, 1},
    {"Tape", kTape, "", "View CalcTape.txt", 5, 1, "CalcTapr3.ico"},
    {"Sign", K::Sign, "\u00b1", "Change Sign", 0, 2},
    {"Square", K::Square, " x\u00b2", "Square", 1, 2},
    {"Cube", K::Cube, "x\u00b3", "Cubic", 2, 2},
    {"Root", K::Root, "\u221a", "Square Root", 3, 2},
    {"Reciprocal", K::Reciprocal, "1/x", "Resiprocal", 4, 2},
    {"Copy", K::Copy, "", "Copy to Clipboard", 5, 2, "Copy.ico"},
    {"D7", K(8), "&7", "", 0, 3},
    {"D8", K(9), "&8", "", 1, 3},
    {"D9", K(10), "&9", "", 2, 3},
    {"Divide", K::Divide, "\u00f7", "Divide", 3, 3},
    {"Lg", K::Log10, " lg", "Logarithm", 4, 3},
    {"TenTimes", K::TenTimes, "10X", "Ten Times", 5, 3},
    {"D4", K(5), "&4", "", 0, 4},
    {"D5", K(6), "&5", "", 1, 4},
    {"D6", K(7), "&6", "", 2, 4},
    {"Multiply", K::Multiply, "x", "Multiply", 3, 4},
    {"Ln", K::Ln, " ln", "Natural Logarithm", 4, 4},
    {"Power", K::Power, " exp", "Power", 5, 4},
    {"D1", K(2), "&1", "", 0, 5},
    {"D2", K(3), "&2", "", 1, 5},
    {"D3", K(4), "&3", "", 2, 5},
    {"Subtract", K::Subtract, "-", "Subtract", 3, 5},
    {"Pi", K::Pi, "\u03c0", "Pi", 4, 5},
    {"Percent", K::Percent, "%", "Percent", 5, 5},
    {"D0", K::Digit0, "&0", "", 0, 6},
    {"Point", K::Point, ".", "", 1, 6},
    {"Equals", K::Equals, "=", "Calculate", 2, 6},
    {"Add", K::Add, "+", "Add", 3, 6},
    {"Neper", K::Neper, "e", "Neper", 4, 6},
    {"Paste", kPaste, "", "Not in use yet", 5, 6, "Paste.ico"},
};

// The keyboard keys that press a key (Alt with a digit comes with the
// digit keys' "&").
struct KeyboardKey {
    int key;
    const char* control;
};
const KeyboardKey kKeyboard[] = {
    {(Qt::KeypadModifier | Qt::Key_0).toCombined(), "D0"},
    {(Qt::KeypadModifier | Qt::Key_1).toCombined(), "D1"},
    {(Qt::KeypadModifier | Qt::Key_2).toCombined(), "D2"},
    {(Qt::KeypadModifier | Qt::Key_3).toCombined(), "D3"},
    {(Qt::KeypadModifier | Qt::Key_4).toCombined(), "D4"},
    {(Qt::KeypadModifier | Qt::Key_5).toCombined(), "D5"},
    {(Qt::KeypadModifier | Qt::Key_6).toCombined(), "D6"},
    {(Qt::KeypadModifier | Qt::Key_7).toCombined(), "D7"},
    {(Qt::KeypadModifier | Qt::Key_8).toCombined(), "D8"},
    {(Qt::KeypadModifier | Qt::Key_9).toCombined(), "D9"},
    {(Qt::KeypadModifier | Qt::Key_Period).toCombined(), "Point"},
    {(Qt::KeypadModifier | Qt::Key_Comma).toCombined(), "Point"},
    {(Qt::KeypadModifier | Qt::Key_Plus).toCombined(), "Add"},
    {(Qt::KeypadModifier | Qt::Key_Minus).toCombined(), "Subtract"},
    {(Qt::KeypadModifier | Qt::Key_Asterisk).toCombined(), "Multiply"},
    {(Qt::KeypadModifier | Qt::Key_Slash).toCombined(), "Divide"},
    {Qt::Key_Return, "Equals"},
    {(Qt::KeypadModifier | Qt::Key_Enter).toCombined(), "Equals"},
    {(Qt::AltModifier | Qt::Key_C).toCombined(), "Copy"},
    {(Qt::AltModifier | Qt::Key_F4).toCombined(), "Close"},
};

constexpr int kKeyX = 4, kKeyY = 58, kKeyPitchX = 27, kKeyPitchY = 17, kKeyW = 25, kKeyH = 15;

const WindowDef& calculatorDef()
{
    static const WindowDef def = [] {
        WindowDef d{.title = "Calculator with 255 Memories!", .w = 168, .h = 185, .icon = "Calculator2.ico",
                    .font = {"Tahoma", 10, true}, .mdi = true, .controls = {}};
        d.controls = {
            {.name = "Display", .kind = Kind::Entry, .x = 4, .y = 4, .w = 160, .h = 14, .picture = "s40",
             .flags = AlignRight, .color = 0x00FF00, .background = 0x000000},
            {.name = "MemPrompt", .kind = Kind::Prompt, .text = "M:", .x = 4, .y = 23, .w = 12, .h = 10},
            {.name = "MemNumber", .kind = Kind::Entry, .x = 17, .y = 22, .w = 20, .h = 12, .picture = "n03B",
             .tip = "Memory Number in Use", .flags = AlignRight},
            {.name = "Lookup", .kind = Kind::Button, .x = 39, .y = 22, .w = 14, .h = 12, .tip = "Lookup Memory",
             .icon = "Find.ico"},
            {.name = "MemName", .kind = Kind::String, .x = 56, .y = 23, .w = 50, .h = 10},
            {.name = "MemValue", .kind = Kind::String, .x = 106, .y = 23, .w = 58, .h = 10, .picture = "S20",
             .flags = AlignRight},
            {.name = "Decimals", .kind = Kind::Option, .text = "Decimals", .x = 4, .y = 35, .w = 160, .h = 21},
            {.name = "None", .kind = Kind::Radio, .text = " None", .x = 8, .y = 44, .w = 32, .h = 10, .parent = "Decimals", .use = "0"},
            {.name = "One", .kind = Kind::Radio, .text = " One", .x = 40, .y = 44, .w = 29, .h = 10, .parent = "Decimals", .use = "1"},
            {.name = "Two", .kind = Kind::Radio, .text = " Two", .x = 69, .y = 44, .w = 29, .h = 10, .parent = "Decimals", .use = "2"},
            {.name = "Three", .kind = Kind::Radio, .text = " Three", .x = 98, .y = 44, .w = 36, .h = 10, .parent = "Decimals", .use = "3"},
            {.name = "All", .kind = Kind::Radio, .text = " All", .x = 134, .y = 44, .w = 28, .h = 10, .parent = "Decimals", .use = "4"},
        };
        for (const KeyDef& k : kKeys)
            d.controls.push_back({.name = k.name, .kind = Kind::Button, .text = k.text, .x = kKeyX + k.column * kKeyPitchX,
                                  .y = kKeyY + k.row * kKeyPitchY, .w = kKeyW, .h = kKeyH, .tip = k.tip, .icon = k.icon});
        return d;
    }();
    return def;
}

// The engine's own text for a failed read or write, for statuses that
// carry none.
QString dataErrorText(const Status& st)
{
    if (!st.errorText.isEmpty())
        return st.errorText;
    switch (st.code) {
    case Err::NotFound: return QStringLiteral("Record Not Found");
    case Err::Locked: return QStringLiteral("Record Is Locked");
    case Err::RecordChanged: return QStringLiteral("Record Changed By Another Station");
    case Err::NotOpen: return QStringLiteral("File Not Open");
    default: return st.text.isEmpty() ? QStringLiteral("Error %1").arg(int(st.code)) : st.text;
    }
}

const QString kMain = QStringLiteral("Main");

class CalculatorWnd : public WindowController {
public:
    CalculatorWnd() : WindowController(QStringLiteral("CalculatorWnd"), calculatorDef()) {}

protected:
    bool setUp() override
    {
        if (!openFile(VenCalc))
            return false;
        const int decimals = readIniInt(ProgramIni(), kMain, QStringLiteral("Decimals"), 0);
        const double memory = readIni(ProgramIni(), kMain, QStringLiteral("Memory"), {}).trimmed().toDouble();
        calc_.open(decimals, memory, prepareCurrencyKeys());
        calc_.tape = [](const QString& entry) { appendTapeLine(entry); };
        calc_.copy = [](const QString& text) { QApplication::clipboard()->setText(text); };
        calc_.updateMemory = [this](uint8_t n, const std::function<double(double)>& newValue, double& written,
                                    QString& name) { return storeMemory(n, newValue, written, name); };
        // Keyboard keys press the calculator's keys, except inside the two
        // entries, which take what is typed.
        keys_ = std::make_unique<KeyFilter>(*this);
        window().installEventFilter(keys_.get());
        for (const QString& name : window().controlNames())
            if (QWidget* w = control(name).widget())
                w->installEventFilter(keys_.get());
        return true;
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e != Event::OpenWindow)
            return;
        if (!window().hasWallpaperImage()) {
            window().setWallpaper(findPictureFile(QStringLiteral("Window_Bgr.jpg")));
            if (!window().tiled() && !window().centered() && !window().stretched())
                window().setWallpaperFlags(true, false, false);
        }
        calc_.writeHeader(clock().today());
        redisplay();
        control(QStringLiteral("D0")).select();
    }

    void accepted(const QString& c) override
    {
        if (c == u"Display") {
            auto* e = control(c).as<QLineEdit>();
            if (!e || !e->isModified())
                return;  // left without a change
            calc_.displayTyped(e->text());
        } else if (c == u"MemNumber") {
            auto* e = control(c).as<QLineEdit>();
            if (!e || !e->isModified())
                return;
            auto n = parseNumber(e->text(), u"n03B");
            calc_.memoryNumberTyped(n ? std::optional<int64_t>(int64_t(*n)) : std::nullopt);
        } else if (c == u"Decimals") {
            calc_.chooseDecimals(control(c).value().toInt());
        } else if (c == u"Lookup") {
            return lookup();
        } else if (const KeyDef* k = keyOf(c)) {
            if (k->key == kClose) {
                close(RequestCompleted);
                return;
            }
            if (k->key == kTape) {
                start([] { return makeViewCalcTapeWnd({}); });
                return;
            }
            if (k->key == kPaste) {
                const QString text = QApplication::clipboard()->text();
                if (!calc_.paste(text))
                    messageBox(QStringLiteral("The clipboard holds no number to paste:\n") + text.left(40),
                               QStringLiteral("Paste"), Icon::Exclamation);
            } else {
                calc_.press(k->key);
            }
        } else {
            return WindowController::accepted(c);
        }
        redisplay();
        control(QStringLiteral("D0")).select();
    }

    bool closeRequested() override
    {
        calc_.closing();
        const bool saved = writeIni(ProgramIni(), kMain, QStringLiteral("Memory"), CalcEngine::plainText(calc_.memoryValue()))
                           && writeIni(ProgramIni(), kMain, QStringLiteral("Decimals"), QString::number(calc_.decimals()));
        if (!saved)
            messageBox(QStringLiteral("The calculator's memory and decimals could NOT be saved in ") + ProgramIni());
        return true;
    }

private:
    class KeyFilter : public QObject {
    public:
        explicit KeyFilter(CalculatorWnd& owner) : owner_(owner) {}

    protected:
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() != QEvent::KeyPress)
                return false;
            const int key = static_cast<QKeyEvent*>(e)->keyCombination().toCombined();
            auto* entry = qobject_cast<QLineEdit*>(o);
            for (const KeyboardKey& k : kKeyboard) {
                if (k.key != key)
                    continue;
                const bool anywhere = (key & Qt::AltModifier) != 0;
                if (entry && !anywhere) {
                    // Enter in the display line: what was typed, then "=".
                    if (o != owner_.control(QStringLiteral("Display")).widget() || QString::fromUtf8(k.control) != u"Equals")
                        return false;
                    if (entry->isModified())
                        owner_.calc_.displayTyped(entry->text());
                    entry->setModified(false);
                }
                owner_.accepted(QString::fromUtf8(k.control));
                return true;
            }
            return false;
        }

    private:
        CalculatorWnd& owner_;
    };

    static const KeyDef* keyOf(const QString& name)
    {
        for (const KeyDef& k : kKeys)
            if (name == QLatin1String(k.name))
                return &k;
        return nullptr;
    }

    // Reads the exchange rates 1 to 5 and sets their keys' faces and tips.
    std::array<double, 5> prepareCurrencyKeys()
    {
        std::array<double, 5> rates{};
        KeyedFile& f = file(VenCalc);
        for (int k = 1; k <= 5; ++k) {
            f.rec().clear();
            f.rec().set(CAL::CM, "E");
            f.rec().set(CAL::MEMNUM, k);
            QString name;
            int32_t day = 0, time = 0;
            if (Status st = f.get(CAL::NUM_KEY); !st) {
                messageBox(dataErrorText(st) + QStringLiteral(" Currency ") + QString::number(k));
            } else {
                rates[size_t(k - 1)] = CalcEngine::finite(f.rec().real(CAL::MEMORYVALUE));
                name = f.rec().str(CAL::MEMORYNAME);
                day = int32_t(f.rec().num(CAL::UPDATE));
                time = int32_t(f.rec().num(CAL::UPTIME));
            }
            const CurrencyFace face = currencyFace(name, rates[size_t(k - 1)], day, time);
            Control key = control(QStringLiteral("Currency%1").arg(k));
            key.setText(face.text);
            key.widget()->setToolTip(face.tip);
        }
        return rates;
    }

    // A memory key on a numbered memory: the record is read, given its new
    // value and stamped, and written back. Memories are only ever added by
    // the memory register.
    bool storeMemory(uint8_t n, const std::function<double(double)>& newValue, double& written, QString& name)
    {
        KeyedFile& f = file(VenCalc);
        f.rec().clear();
        f.rec().set(CAL::CM, "M");
        f.rec().set(CAL::MEMNUM, int(n));
        if (Status st = f.get(CAL::NUM_KEY); !st) {
            messageBox(dataErrorText(st));
            return false;
        }
        written = newValue(CalcEngine::finite(f.rec().real(CAL::MEMORYVALUE)));
        f.rec().set(CAL::MEMORYVALUE, written);
        f.rec().set(CAL::UPDATE, int64_t(clock().today()));
        f.rec().set(CAL::UPTIME, int64_t(clock().time()));
        if (Status st = f.update(); !st) {
            messageBox(dataErrorText(st));
            return false;
        }
        name = f.rec().str(CAL::MEMORYNAME);
        return true;
    }

    void lookup()
    {
        KeyedFile& f = file(VenCalc);
        f.rec().clear();
        f.rec().set(CAL::CM, "M");
        f.rec().set(CAL::MEMNUM, int(calc_.memoryNumber()));
        QPointer<CalculatorWnd> self(this);
        call(makeMemoriesBr({}), SelectRecord, [self](uint8_t response) {
            if (!self || !self->isOpen())
                return;
            std::optional<CalcEngine::Memory> chosen;
            if (response == RequestCompleted) {
                const Record& r = self->file(VenCalc).rec();
                chosen = CalcEngine::Memory{uint8_t(r.num(CAL::MEMNUM)), r.str(CAL::MEMORYNAME), r.real(CAL::MEMORYVALUE)};
            }
            self->calc_.lookedUp(chosen);
            self->redisplay();
            self->control(QStringLiteral("D0")).select();
        });
    }

    void redisplay()
    {
        if (auto* e = control(QStringLiteral("Display")).as<QLineEdit>()) {
            e->setText(calc_.display());
            e->setModified(false);
        }
        if (auto* e = control(QStringLiteral("MemNumber")).as<QLineEdit>()) {
            e->setText(formatNumber(calc_.memoryNumber(), u"n03B"));
            e->setModified(false);
        }
        control(QStringLiteral("MemName")).setText(calc_.memoryName());
        control(QStringLiteral("MemValue")).setText(CalcEngine::plainText(calc_.memoryValue()));
        if (calc_.decimals() <= CalcEngine::kAllDecimals)
            control(QStringLiteral("Decimals")).setValue(QString::number(calc_.decimals()));
    }

    CalcEngine calc_;
    std::unique_ptr<KeyFilter> keys_;
};

} // namespace

std::unique_ptr<WindowController> makeCalculatorWnd(const QString&) { return std::make_unique<CalculatorWnd>(); }

} // namespace ven
