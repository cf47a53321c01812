// The renumbering window and its two passes over the file in stored order.
#include "calendar/Renumbering.h"

#include "calendar/FeastRun.h"
#include "platform/ErrorReporter.h"

#include <map>

namespace ven {
namespace {

const char* const kPrompts[] = {"0 ->", "1 ->", "2 ->", "3 ->", "4 ->", "5 ->", "6 ->", "7 ->", "8 ->", "9 ->"};
const char* const kEntries[] = {"New0", "New1", "New2", "New3", "New4", "New5", "New6", "New7", "New8", "New9"};
const char* const kTips[] = {"Zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};

const WindowDef& renumberDef(const RenumberFamily& family)
{
    static std::map<QString, WindowDef> defs;
    auto [it, added] = defs.try_emplace(QString::fromUtf8(family.window));
    if (added) {
        WindowDef d{.title = family.title, .w = 117, .h = 142, .icon = "Calender.ico"};
        for (int k = 0; k < 10; ++k) {
            const int y = 6 + 13 * k;
            d.controls.push_back({.name = kPrompts[k], .kind = Kind::Prompt, .text = kPrompts[k], .x = 10, .y = y + 1,
                                  .w = 24, .h = 10, .font = {.bold = true}});
            d.controls.push_back({.name = kEntries[k], .kind = Kind::Entry, .x = 36, .y = y, .w = 16, .h = 11,
                                  .picture = "n1", .tip = kTips[k]});
        }
        d.controls.push_back({.name = "OK", .kind = Kind::Button, .text = "&OK", .x = 68, .y = 6, .w = 43, .h = 14,
                              .flags = Default});
        d.controls.push_back({.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 68, .y = 24, .w = 43,
                              .h = 14, .closes = RequestCancelled});
        d.controls.push_back({.name = "Help", .kind = Kind::Button, .text = "Help", .x = 68, .y = 42, .w = 43, .h = 14,
                              .flags = HelpButton});
        it->second = std::move(d);
    }
    return it->second;
}

// One pass over every record in stored order, so that a changed key can
// neither bring a record round again nor skip one; each record is written
// back. The writes join the window's transaction.
class RenumberPass : public FeastRun {
public:
    RenumberPass(const RenumberFamily& family, int pass, const NewNumbers& numbers)
        : FeastRun(QString::fromUtf8(pass == 1 ? family.firstPass : family.secondPass), family.file,
                   pass == 1 ? QStringLiteral("Sorting - First Pass") : QStringLiteral("Sorting - Second Pass"), true)
        , field_(family.field)
        , pass_(pass)
        , numbers_(numbers)
    {
        setKey(-1);
    }

protected:
    bool takeRecord(Record& r) override
    {
        const int64_t n = r.num(field_);
        if (pass_ == 1 && n < 10)
            r.set(field_, n + 10);
        else if (pass_ == 2 && n >= 10 && n < 20)
            r.set(field_, int64_t(numbers_[size_t(n - 10)]));
        if (Status st = primary().put(); !st) {
            errors().show(25, {.file = QStringLiteral("Process:View"), .errorText = st.errorText.isEmpty() ? st.text : st.errorText, .field = {}, .message = {}});
            failed_ = true;
            return false;
        }
        showProgress();
        return true;
    }

    void runEnded() override { close(failed_ ? RequestCancelled : RequestCompleted); }

private:
    uint16_t field_;
    int pass_;
    NewNumbers numbers_;
    bool failed_ = false;
};

class RenumberWnd : public WindowController {
public:
    explicit RenumberWnd(const RenumberFamily& family)
        : WindowController(QString::fromUtf8(family.window), renumberDef(family)), family_(family)
    {
        for (uint8_t k = 0; k < 10; ++k)
            numbers_[k] = k;
    }

protected:
    bool setUp() override
    {
        if (Status st = openFile(family_.file); !st) {
            errors().show(st);
            return false;
        }
        for (int k = 0; k < 10; ++k)
            window().bind(QString::fromUtf8(kEntries[k]), bindTo(numbers_[size_t(k)]));
        return true;
    }

    void accepted(const QString& c) override
    {
        if (c == QLatin1String("OK"))
            return renumber();
        WindowController::accepted(c);
    }

    void tearDown() override
    {
        // Closed however the run went, the flag does not outlive it.
        if (batch_) {
            batch_.reset();
            Busy["Renumbering"] = 0;
        }
    }

private:
    void renumber()
    {
        for (int k = 0; k < 10; ++k)
            window().update(QString::fromUtf8(kEntries[k]));
        for (int k = 0; k < 10; ++k)
            for (int j = 0; j < 10; ++j)
                if (j != k && numbers_[size_t(j)] == numbers_[size_t(k)]) {
                    messageBox(QStringLiteral("Number Already in Use!"), QStringLiteral("Error"), Icon::Stop);
                    control(QString::fromUtf8(kEntries[k])).select();
                    return;
                }
        batch_ = std::make_unique<WriteBatch>(file(family_.file));
        if (!batch_->isOpen()) {
            errors().show(batch_->status());
            batch_.reset();
            return;
        }
        Busy["Renumbering"] = 1;
        QPointer<RenumberWnd> self(this);
        // The second pass follows only a completed first pass; only a
        // completed second pass is committed.
        run(makeRenumberPass(family_, 1), [self](uint8_t first) {
            if (!self)
                return;
            if (first != RequestCompleted)
                return self->finishRun(false);
            run(makeRenumberPass(self->family_, 2, self->numbers_), [self](uint8_t second) {
                if (self)
                    self->finishRun(second == RequestCompleted);
            });
        });
    }

    void finishRun(bool completed)
    {
        if (completed) {
            if (Status st = batch_->commit(); !st)
                errors().show(25, {.file = QString::fromUtf8(family_.file.label), .errorText = st.errorText, .field = {}, .message = {}});
        }
        batch_.reset();  // rolls back what was not committed
        Busy["Renumbering"] = 0;
        close(completed ? RequestCompleted : RequestCancelled);
    }

    const RenumberFamily& family_;
    NewNumbers numbers_{};
    std::unique_ptr<WriteBatch> batch_;
};

} // namespace

std::unique_ptr<WindowController> makeRenumberWnd(const RenumberFamily& family)
{
    return std::make_unique<RenumberWnd>(family);
}

std::unique_ptr<WindowController> makeRenumberPass(const RenumberFamily& family, int pass, const NewNumbers& numbers)
{
    return std::make_unique<RenumberPass>(family, pass, numbers);
}

} // namespace ven
