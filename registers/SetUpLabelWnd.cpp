// The label set-up: OK prints the labels on the chosen sheet from the chosen
// label (which must lie on the sheet) and the window stays for another
// sheet, starting again at label 1; Cancel removes labels without an address.
#include "registers/SetUpLabelWnd.h"

#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "registers/DeleteEmptyLabelsPr.h"
#include "registers/LabelRp.h"

#include <QPointer>

namespace ven {
namespace {

const WindowDef kSetUpLabelWndDef{
    .title = "SetUp Labels for Printing",
    .w = 194,
    .h = 64,
    .icon = "printer.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Option, .text = "Label Sheet Type", .x = 4, .y = 2, .w = 100, .h = 58,
         .tip = "Laser Label SheetType"},
        {.name = "Sheet3x8", .kind = Kind::Radio, .text = "Laser Labels 3 x 8", .x = 10, .y = 12, .w = 90, .h = 10,
         .parent = "Sheet", .use = "1"},
        {.name = "Sheet3x9", .kind = Kind::Radio, .text = "Laser Labels 3 x 9", .x = 10, .y = 23, .w = 90, .h = 10,
         .parent = "Sheet", .use = "2"},
        {.name = "Sheet3x12", .kind = Kind::Radio, .text = "Laser Labels 3 x 12", .x = 10, .y = 34, .w = 90, .h = 10,
         .parent = "Sheet", .use = "3"},
        {.name = "Sheet2x7", .kind = Kind::Radio, .text = "Laser Labels 2 x 7", .x = 10, .y = 45, .w = 90, .h = 10,
         .parent = "Sheet", .use = "4"},
        {.name = "Logo", .kind = Kind::Image, .x = 112, .y = 4, .w = 20, .h = 20, .icon = "Printer.ico"},
        {.name = "FirstPrompt", .kind = Kind::Prompt, .text = "Begin with Label:", .x = 110, .y = 30, .w = 58, .h = 10},
        {.name = "First", .kind = Kind::Spin, .x = 168, .y = 29, .w = 22, .h = 11, .picture = "n2B",
         .tip = "Label to Begin With.\nCount from Left to Right\nand from Up to Down", .low = 1, .high = 99},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 110, .y = 46, .w = 26, .h = 14, .icon = "printer.ico",
         .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 138, .y = 46, .w = 28, .h = 14},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 168, .y = 46, .w = 24, .h = 14, .flags = HelpButton},
    }};

class SetUpLabelWnd : public WindowController {
public:
    SetUpLabelWnd() : WindowController(QStringLiteral("SetUpLabelWnd"), kSetUpLabelWndDef)
    {
        FIRSTFIELD = QStringLiteral("Sheet3x8");
    }

protected:
    bool setUp() override
    {
        Window& w = window();
        w.bind(QStringLiteral("Sheet"), bindTo(kind_));
        w.bind(QStringLiteral("First"), bindTo(first_));
        w.display();
        return true;
    }

    void accepted(const QString& c) override
    {
        WindowController::accepted(c);
        if (c == u"OK")
            print();
        else if (c == u"Cancel")
            cancel();
    }

private:
    void print()
    {
        Window& w = window();
        w.update(QStringLiteral("Sheet"));
        w.update(QStringLiteral("First"));
        const LabelSheetKind* k = labelSheetKind(kind_);
        if (!k) {
            messageBox(QStringLiteral("Label Type not selected!"), QStringLiteral("Error!"), Icon::Stop);
            control("Sheet3x8").select();
            return;
        }
        const int count = k->across * k->down;
        if (first_ < 1 || first_ > count) {
            MessageArgs range;
            range.field = QStringLiteral("Begin with Label:");
            range.message = QStringLiteral("1 and %1").arg(count);
            errors().show(16, range);
            control("First").select();
            return;
        }
        QPointer<SetUpLabelWnd> self(this);
        call(makeLabelRp(kind_, first_), NoRequest, [self](uint8_t) {
            if (!self || !self->isOpen())
                return;
            self->first_ = 1;
            self->window().display();
        });
    }

    // Labels without an address go before the window closes.
    void cancel()
    {
        Context ctx;
        KeyedFile& s = ctx.file(VenStick);
        const bool any = s.open() && s.records() > 0;
        s.close();
        if (!any) {
            close(RequestCancelled);
            return;
        }
        QPointer<SetUpLabelWnd> self(this);
        call(makeDeleteEmptyLabelsPr({}), NoRequest, [self](uint8_t) {
            if (self && self->isOpen())
                self->close(RequestCancelled);
        });
    }

    uint8_t kind_ = 0;
    int32_t first_ = 1;
};

} // namespace

std::unique_ptr<WindowController> makeSetUpLabelWnd(const QString&)
{
    return std::make_unique<SetUpLabelWnd>();
}

} // namespace ven
