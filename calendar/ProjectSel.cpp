// The project category window: the category option, OK opening the list of
// that category, and the totals runs one after the other.
#include "calendar/ProjectSel.h"

#include "calendar/DiaryGlobals.h"
#include "core/Procedures.h"

#include <QPushButton>
#include <QStyle>

namespace ven {
namespace {

const WindowDef kProjectSelDef{
    .title = "Project Category",
    .w = 75,
    .h = 116,
    .icon = "Memo.ico",
    .controls = {
        {.name = "SelectPrompt", .kind = Kind::Prompt, .text = "Select:", .x = 5, .y = 3, .w = 40, .h = 10},
        {.name = "Category", .kind = Kind::Option, .text = "Category", .x = 4, .y = 13, .w = 67, .h = 62},
        {.name = "Phone", .kind = Kind::Radio, .text = " Phone", .x = 10, .y = 24, .w = 56, .h = 9, .parent = "Category", .use = "0"},
        {.name = "Project", .kind = Kind::Radio, .text = " Project", .x = 10, .y = 34, .w = 56, .h = 9, .parent = "Category", .use = "1"},
        {.name = "Note", .kind = Kind::Radio, .text = " Note", .x = 10, .y = 44, .w = 56, .h = 9, .parent = "Category", .use = "2"},
        {.name = "Meeting", .kind = Kind::Radio, .text = " Meeting", .x = 10, .y = 54, .w = 56, .h = 9, .parent = "Category", .use = "3"},
        {.name = "Extra", .kind = Kind::Radio, .text = " Extra", .x = 10, .y = 64, .w = 56, .h = 9, .parent = "Category", .use = "4"},
        {.name = "OK", .kind = Kind::Button, .x = 4, .y = 79, .w = 21, .h = 18, .tip = "OK", .flags = Default},
        {.name = "Calculate", .kind = Kind::Button, .x = 27, .y = 79, .w = 21, .h = 18, .tip = "Calculate\nProject\nTotals",
         .icon = "Calculator2.ico"},
        {.name = "Cancel", .kind = Kind::Button, .x = 50, .y = 79, .w = 21, .h = 18, .tip = "Cancel",
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 4, .y = 100, .w = 67, .h = 13, .flags = HelpButton},
    }};

constexpr uint8_t kCategories = 5;

class ProjectSel : public WindowController {
public:
    ProjectSel() : WindowController(QStringLiteral("ProjectSel"), kProjectSelDef) {}

protected:
    bool setUp() override
    {
        // 5 (the diary's "all") shows no category chosen.
        category_ = GCategory > 0 ? GCategory : 0;
        window().bind(QStringLiteral("Category"), bindTo(category_));
        const std::pair<const char*, QStyle::StandardPixmap> icons[] = {{"OK", QStyle::SP_DialogOkButton},
                                                                        {"Cancel", QStyle::SP_DialogCancelButton}};
        for (const auto& [name, icon] : icons)
            if (auto* b = control(QString::fromUtf8(name)).as<QPushButton>())
                b->setIcon(b->style()->standardIcon(icon));
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("OK"))
            return openList();
        if (c == QLatin1String("Calculate"))
            return calculate();
        WindowController::accepted(c);
    }

private:
    void openList()
    {
        GCategory = category_ < kCategories ? category_ : 0;
        QPointer<ProjectSel> self(this);
        callProcedure(QStringLiteral("ProjectBr"), NoRequest, [self](uint8_t) {
            if (self && self->isOpen()) {
                self->window().display();
                self->close(RequestCompleted);
            }
        });
    }

    // The totals are recalculated only after a completed zeroing: a
    // cancelled zeroing leaves the old totals as they are.
    void calculate()
    {
        callProcedure(QStringLiteral("ProjZeroProc"), NoRequest, [](uint8_t response) {
            if (response == RequestCompleted)
                callProcedure(QStringLiteral("ProjCalcProc"), NoRequest);
        });
    }

    uint8_t category_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeProjectSel(const QString&)
{
    return std::make_unique<ProjectSel>();
}

} // namespace ven
