#include "registers/AccountsFr.h"

#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/ErrorReporter.h"
#include "platform/RecordForm.h"
#include "registers/Accounts.h"

#include <QLineEdit>

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
         // Totals go below zero: the picture takes the minus, so that such
         // an account can be shown, changed and deleted.
         .picture = "n-10.2B", .use = "ACC:AMOUNT", .flags = AlignRight},
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

    // A new account moves to the next free number of its type; the name
    // and amount typed so far stay its own.
    bool numberNewAccount()
    {
        const QString type = rec().str(ACC::TYPE).trimmed();
        if (type.isEmpty() || rec().num(ACC::NUMBER) == 0)
            return true;
        const int n = freeAccountNumber(type, int(rec().num(ACC::NUMBER)));
        if (n == 0)
            return false;
        rec().set(ACC::NUMBER, int64_t(n));
        window().display(QStringLiteral("Number"));
        return true;
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
            if (!numberNewAccount()) {
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
};

} // namespace

std::unique_ptr<WindowController> makeAccountsFr(const QString&) { return std::make_unique<AccountsFr>(); }

} // namespace ven
