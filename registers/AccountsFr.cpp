#include "registers/AccountsFr.h"

#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"
#include "registers/Accounts.h"

#include <QLineEdit>

#include <optional>

namespace ven {
namespace {

const WindowDef kAccountsFrDef{
    .title = "Update an Account",
    .w = 193,
    .h = 91,
    .icon = "Money.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 185, .h = 66},
        {.name = "General", .kind = Kind::Tab, .text = "General", .parent = "Sheet"},
        {.name = "Type", .kind = Kind::Option, .text = "Account", .x = 8, .y = 17, .w = 177, .h = 22, .parent = "General",
         .use = "ACC:TYPE"},
        {.name = "Bank", .kind = Kind::Radio, .text = "Bank", .x = 16, .y = 26, .w = 44, .h = 10, .parent = "Type", .use = "B"},
        {.name = "Income", .kind = Kind::Radio, .text = "Income", .x = 68, .y = 26, .w = 48, .h = 10, .parent = "Type",
         .use = "I"},
        {.name = "Expense", .kind = Kind::Radio, .text = "Expense", .x = 124, .y = 26, .w = 52, .h = 10, .parent = "Type",
         .use = "E"},
        {.name = "NumberPrompt", .kind = Kind::Prompt, .text = "Nr:", .x = 8, .y = 42, .w = 14, .h = 10, .parent = "General"},
        {.name = "Number", .kind = Kind::Spin, .x = 24, .y = 41, .w = 30, .h = 12, .parent = "General", .picture = "n02B",
         .use = "ACC:NUMBER", .low = 1, .high = 99},
        {.name = "AmountPrompt", .kind = Kind::Prompt, .text = "Current Amount:", .x = 74, .y = 42, .w = 60, .h = 10,
         .parent = "General"},
        {.name = "Amount", .kind = Kind::Entry, .x = 136, .y = 41, .w = 49, .h = 12, .parent = "General",
         // Totals go below zero and past one entry's range: the picture takes
         // the minus and the list's -99,999,999.99, so that such an account
         // can be shown, changed and deleted.
         .picture = "n-14.2B", .use = "ACC:AMOUNT", .flags = AlignRight},
        {.name = "NamePrompt", .kind = Kind::Prompt, .text = "Name:", .x = 8, .y = 56, .w = 22, .h = 10, .parent = "General"},
        {.name = "Name", .kind = Kind::Entry, .x = 32, .y = 55, .w = 153, .h = 12, .parent = "General", .picture = "s30",
         .use = "ACC:NAME", .flags = Capitalize},
        {.name = "OK", .kind = Kind::Button, .text = "OK", .x = 71, .y = 74, .w = 38, .h = 14, .flags = Default},
        {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 111, .y = 74, .w = 38, .h = 14,
         .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 151, .y = 74, .w = 38, .h = 14, .flags = HelpButton},
    }};

const std::pair<uint8_t, const char*> kTitles[] = {
    {InsertRecord, "Adding an Account"}, {ChangeRecord, "Changing an Account"}, {DeleteRecord, "Deleting an Account"}};

class AccountsFr : public RecordForm {
public:
    AccountsFr() : RecordForm(QStringLiteral("AccountsFr"), kAccountsFrDef, VenAcc)
    {
        helpTopic = QStringLiteral("SetUpAccFr");
        OKCONTROL = QStringLiteral("OK");
        FIRSTFIELD = QStringLiteral("Number");
        setTitles(kTitles);
    }

protected:
    bool setUp() override
    {
        if (!RecordForm::setUp())
            return false;
        // The total as whole cents.
        window().bind(QStringLiteral("Amount"),
                      Binding{[this] { return QVariant(storedOf(centsField(primary().rec(), ACC::AMOUNT))); },
                              [this](const QVariant& v) { setCents(primary().rec(), ACC::AMOUNT, centsOf(v.toDouble())); }});
        if (REQUEST != InsertRecord) {
            // An account keeps its type and number for life; its total is
            // changed by transactions only.
            for (const char* c : {"Type", "Bank", "Income", "Expense", "Number"})
                control(QString::fromUtf8(c)).disable();
            if (auto* e = control(QStringLiteral("Amount")).as<QLineEdit>()) {
                e->setReadOnly(true);
                e->setFocusPolicy(Qt::NoFocus);
            }
        }
        return true;
    }

    void fieldEvent(const QString& c, FieldEvent e) override
    {
        if (REQUEST == InsertRecord && c == u"Number" && e == FieldEvent::NewSelection)
            numberNewAccount();
        RecordForm::fieldEvent(c, e);
    }

    void accepted(const QString& c) override
    {
        if (c == OKCONTROL) {
            acceptControls([this] { ok(); });
            return;
        }
        if (REQUEST == InsertRecord && (c == u"Number" || c == u"Type"))
            numberNewAccount();
        RecordForm::accepted(c);
    }

private:
    Record& rec() { return primary().rec(); }

    // A new account moves to the next free number of its type. When the
    // user puts it on a taken number it shows that account's name and
    // amount (to start from); on a free one it keeps what was typed, or
    // blanks what it showed of another account. `spun`: the user set the
    // type or number (OK's last check only raises a number taken meanwhile).
    bool numberNewAccount(bool spun = true)
    {
        const QString type = rec().str(ACC::TYPE).trimmed();
        const int number = int(rec().num(ACC::NUMBER));
        if (type.isEmpty() || number == 0)
            return true;
        // Only what this changes is shown again: the other controls may hold
        // typed text not yet taken into the buffer (OK accepts them in turn).
        bool borrowedChanged = false;
        if (spun && (number != shownNumber_ || type != shownType_)) {
            if (const std::optional<Record> taken = accountOf(type, number)) {
                rec().set(ACC::NAME, taken->str(ACC::NAME));
                rec().set(ACC::AMOUNT, taken->real(ACC::AMOUNT));
                borrowed_ = {rec().str(ACC::NAME), rec().real(ACC::AMOUNT)};
                borrowedChanged = true;
            } else if (borrowed_ && rec().str(ACC::NAME) == borrowed_->first && rec().real(ACC::AMOUNT) == borrowed_->second) {
                rec().set(ACC::NAME, QString());
                rec().set(ACC::AMOUNT, 0.0);
                borrowed_.reset();
                borrowedChanged = true;
            }
        }
        const int n = freeAccountNumber(type, number);
        if (n != 0)
            rec().set(ACC::NUMBER, int64_t(n));
        window().display(QStringLiteral("Number"));
        if (borrowedChanged) {
            window().display(QStringLiteral("Name"));
            window().display(QStringLiteral("Amount"));
        }
        shownType_ = type;
        shownNumber_ = n;
        return n != 0;
    }

    // The stored account of a type and number, read aside from the form's buffer.
    static std::optional<Record> accountOf(const QString& type, int number)
    {
        Context ctx;
        KeyedFile& f = ctx.file(VenAcc);
        if (!f.open())
            return std::nullopt;
        f.rec().clear();
        f.rec().set(ACC::TYPE, type);
        f.rec().set(ACC::NUMBER, int64_t(number));
        if (!f.get(ACC::ACCOUNT_KEY))
            return std::nullopt;
        return f.rec();
    }

    void ok()
    {
        if (REQUEST == DeleteRecord) {
            complete();
            return;
        }
        Window& w = window();
        for (const QString& name : w.controlNames())
            if (w.isBound(name) && !w.update(name)) {
                control(name).select();
                return;
            }
        if (rec().str(ACC::TYPE).trimmed().isEmpty())
            return control(QStringLiteral("Bank")).select();
        if (rec().num(ACC::NUMBER) == 0)
            return control(QStringLiteral("Number")).select();
        if (rec().str(ACC::NAME).trimmed().isEmpty())
            return control(QStringLiteral("Name")).select();
        if (REQUEST == InsertRecord) {
            if (!numberNewAccount(false)) {
                messageBox(QStringLiteral("Every account number of this type is taken."), QStringLiteral("Adding an Account"));
                return control(QStringLiteral("Number")).select();
            }
        } else if (primary().hasCurrent()) {
            // Postings made while the form was open changed the stored
            // total: the name is the form's, the total the stored one.
            const QString name = rec().str(ACC::NAME);
            if (primary().getById(primary().currentId()))
                rec().set(ACC::NAME, name);
            w.display(QStringLiteral("Amount"));
        }
        complete();
    }

    // The name and amount last shown of a taken account (while the user has not changed them).
    std::optional<std::pair<QString, double>> borrowed_;
    QString shownType_;      // the type and number the form shows for a new account
    int shownNumber_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeAccountsFr(const QString&) { return std::make_unique<AccountsFr>(); }

} // namespace ven
