// The project list: its columns with the part tags, the two orders with
// their locator entries, the category filter and the form requests.
#include "calendar/ProjectBr.h"

#include "calendar/DiaryGlobals.h"
#include "calendar/ProjectFr.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace ven {
namespace {

const WindowDef kProjectBrDef{
    .title = "Projects Browse ",
    .w = 358,
    .h = 217,
    .icon = "Memo.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 350, .h = 188},
        {.name = "Alphabetically", .kind = Kind::Tab, .text = "Alphabetically", .parent = "Sheet"},
        {.name = "Notes", .kind = Kind::Tab, .text = "Notes", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 342, .h = 152},
        {.name = "ProNamePrompt", .kind = Kind::Prompt, .text = "Project Name", .x = 8, .y = 176, .w = 50, .h = 10,
         .parent = "Alphabetically"},
        {.name = "ProName", .kind = Kind::Entry, .x = 60, .y = 175, .w = 100, .h = 12, .parent = "Alphabetically",
         .picture = "s20", .tip = "Project Name"},
        {.name = "ProNotePrompt", .kind = Kind::Prompt, .text = "Project Note", .x = 8, .y = 176, .w = 50, .h = 10,
         .parent = "Notes"},
        {.name = "ProNote", .kind = Kind::Entry, .x = 60, .y = 175, .w = 100, .h = 12, .parent = "Notes",
         .picture = "s20", .tip = "Project Note"},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 198, .w = 44, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 54, .y = 198, .w = 44, .h = 14, .flags = Default},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 104, .y = 198, .w = 44, .h = 14},
        {.name = "Copy", .kind = Kind::Button, .text = "C&opy", .x = 154, .y = 198, .w = 44, .h = 14, .tip = "Copy Record"},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 204, .y = 198, .w = 44, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 260, .y = 198, .w = 44, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 310, .y = 198, .w = 44, .h = 14, .flags = HelpButton},
    }};

std::vector<BrowseColumn> projectColumns()
{
    using C = BrowseColumn;
    return {
        C::computed("Name", 120, "s255", [](const Record& r) { return QVariant(withPartTag(r.str(PRO::NAME), r)); }),
        C::computed("Note", 80, "s60", [](const Record& r) { return QVariant(withPartTag(r.str(PRO::TRANS), r)); }),
        C::ofField(PRO::BTIME, "Frm", 22, "T01.B"),
        C::ofField(PRO::ETIME, "To", 22, "T01.B"),
        C::ofField(PRO::TTIME, "Tot", 24, "n_6B"),
        C::ofField(PRO::YTIME, "Year", 24, "n_6B"),
        C::ofField(PRO::MTIME, "Mon", 24, "n_6B"),
        C::ofField(PRO::WTIME, "Wk", 24, "n_6B"),
        C::ofField(PRO::NUMBER, "Pro#", 26, "n06b"),
        C::ofField(PRO::CATEGORY, "Category", 30, "n1"),
        C::ofField(PRO::PART, "Part", 16, "n3B"),
        C::ofField(PRO::TOTAL, "Total", 16, "n3B"),
        C::computed("Memorandum", 200, "s255",
                    [](const Record& r) {
                        QString m = r.str(PRO::MEMO);
                        m.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace('\n', ' ').replace('\r', ' ');
                        return QVariant(m);
                    }),
    };
}

class ProjectBr : public WindowController {
public:
    ProjectBr() : WindowController(QStringLiteral("ProjectBr"), kProjectBrDef) {}

protected:
    bool setUp() override
    {
        auto list = std::make_unique<BrowseList>(*this, VenPro, projectColumns());
        list->addOrder(PRO::NAME_KEY, PRO::NAME);
        list->addOrder(PRO::TRANS_KEY, PRO::TRANS);
        list->setSheet(QStringLiteral("Sheet"));
        // The current category's projects only, in every order and request.
        list->setFilter([](const Record& r) { return r.num(PRO::CATEGORY) == GCategory; });
        list->setForm([] { return makeProjectFr({}); });
        list->addPopupItem(QStringLiteral("C&opy"), QStringLiteral("Copy"));
        list_ = list.get();
        addPart(std::move(list));
        window().bind(QStringLiteral("ProName"), bindTo(proName_));
        window().bind(QStringLiteral("ProNote"), bindTo(proNote_));
        // Enter in a locator entry positions the list and presses no button.
        for (const char* locator : {"ProName", "ProNote"})
            if (QWidget* w = control(QString::fromUtf8(locator)).widget())
                w->installEventFilter(&locatorEnter_);
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("ProName") || c == QLatin1String("ProNote")) {
            list_->locate((c == QLatin1String("ProName") ? proName_ : proNote_).trimmed());
            return;
        }
        WindowController::accepted(c);
    }

private:
    // Takes Enter after the entry has heard it (it is then accepted).
    class LocatorEnter : public QObject {
    protected:
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() != QEvent::KeyPress)
                return false;
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            if (auto* entry = qobject_cast<QLineEdit*>(o))
                emit entry->editingFinished();  // the entry is accepted, as Enter accepts it
            return true;
        }
    };

    BrowseList* list_ = nullptr;
    QString proName_, proNote_;
    LocatorEnter locatorEnter_;
};

} // namespace

QString projectPartTag(int64_t part, int64_t total)
{
    if (part > 0 && total > 0)
        return QStringLiteral("(%1/%2)").arg(part).arg(total);
    if (part > 0)
        return QStringLiteral("#%1").arg(part);
    if (total > 0)
        return QStringLiteral("(?/%1)").arg(total);
    return {};
}

QString withPartTag(const QString& text, const Record& project)
{
    const QString tag = projectPartTag(project.num(PRO::PART), project.num(PRO::TOTAL));
    return tag.isEmpty() ? text.trimmed() : text.trimmed() + ' ' + tag;
}

std::unique_ptr<WindowController> makeProjectBr(const QString&)
{
    return std::make_unique<ProjectBr>();
}

} // namespace ven
