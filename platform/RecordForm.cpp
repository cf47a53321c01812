// The record form's requests: preparing, completing, refusing and
// cancelling an insert, change or delete.
#include "platform/RecordForm.h"
#include "platform/Numbering.h"

#include "platform/BrowseList.h"
#include "platform/ErrorReporter.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <map>

namespace ven {
namespace {

// The last record each form saved, for its history key.
std::map<QString, Record>& histories()
{
    static std::map<QString, Record> h;
    return h;
}

// Messages of the engine that a form shows as they are and then stays
// open; other failures of a change or delete ask whether to try again.
bool shownAsIs(int message)
{
    static const int kShown[] = {6, 7, 13, 14, 15, 16, 17, 18, 30, 31};
    return std::find(std::begin(kShown), std::end(kShown), message) != std::end(kShown);
}

enum Retry { TryAgain = 1, CloseForm = 2, Stay = 3 };
const QString kRetryButtons = QStringLiteral("&Yes|&No|&Cancel");

// The words a message names a control by: the prompt declared just before
// it ("&Age:" gives "Age"), else `fallback`.
QString promptOf(const Window& w, const QString& control, const QString& fallback)
{
    const QStringList names = w.controlNames();
    const qsizetype at = names.indexOf(control);
    if (at > 0)
        if (const ControlDef* p = w.controlDef(names[at - 1]); p->kind == Kind::Prompt) {
            QString text = QString::fromUtf8(p->text).remove(u'&').trimmed();
            while (text.endsWith(u':'))
                text.chop(1);
            if (!text.isEmpty())
                return text;
        }
    return fallback;
}

} // namespace

RecordForm::RecordForm(const QString& procedure, const WindowDef& def, const FileDef& file)
    : RecordForm(procedure, def, file, traitsOf(procedure))
{
}

RecordForm::RecordForm(const QString& procedure, const WindowDef& def, const FileDef& file, const ProcedureTraits& traits)
    : WindowController(procedure, def, traits)
    , def_(file)
{
    // Every form of the system deletes from its window on OK and drops
    // changes silently when cancelled.
    DELETEACTION = 3;
    CANCELACTION = 0;
    OKCONTROL = QStringLiteral("OK");
}

void RecordForm::setServes(std::initializer_list<uint8_t> requests)
{
    serves_.assign(requests.begin(), requests.end());
}

const Record* RecordForm::history() const
{
    auto it = histories().find(procedure());
    return it == histories().end() ? nullptr : &it->second;
}

bool RecordForm::setUp()
{
    for (const auto& [request, title] : titles_)
        if (request == REQUEST)
            window().setTitle(QString::fromUtf8(title));
    if (!openFile(def_)) {
        RESPONSE = RequestCancelled;
        return false;
    }
    if (!serves_.empty() && std::find(serves_.begin(), serves_.end(), REQUEST) == serves_.end()) {
        static const std::map<uint8_t, int> kRefusal = {{InsertRecord, 20}, {ChangeRecord, 38}, {DeleteRecord, 12}};
        if (auto it = kRefusal.find(REQUEST); it != kRefusal.end())
            errors().show(it->second);
        RESPONSE = RequestCancelled;
        return false;
    }
    KeyedFile& f = primary();
    switch (REQUEST) {
    case InsertRecord: {
        bool copy = false;
        if (!takeInsertPrepared(f, &copy)) {
            if (!errors().retry([&f] { return f.primeRecord(); })) {
                RESPONSE = RequestCancelled;
                return false;
            }
        }
        primeFields(copy);
        break;
    }
    case DeleteRecord:
        if (DELETEACTION == 4) {
            // Deleted at once, with no question and no window.
            RESPONSE = deleteRecord(false) ? RequestCompleted : RequestCancelled;
            return false;
        }
        break;
    default:
        break;
    }
    // Controls that name a field of the file show and edit the buffer.
    Window& w = window();
    for (const QString& name : w.controlNames()) {
        const ControlDef* d = w.controlDef(name);
        const int field = *d->use ? def_.findField(QString::fromUtf8(d->use)) : -1;
        if (field < 0 || d->kind == Kind::Radio)
            continue;
        const uint16_t fi = uint16_t(field);
        const QString fieldText = promptOf(w, name, def_.fieldName(fi));
        w.bind(name, Binding{.get = [this, fi] { return primary().rec().get(fi); },
                             .set = [this, fi](const QVariant& v) { primary().rec().setVariant(fi, v); },
                             .maxChars = fieldCapacity(def_.fields[fi]),
                             .accepts = [this, fi, fieldText](const QVariant& v, bool tell) {
                                 const Status st = KeyedFile::checkValue(def_, fi, v, fieldText);
                                 if (!st && tell)
                                     errors().show(st);
                                 return st.ok();
                             }});
    }
    armAlertKey(HISTORYKEY);
    return true;
}

void RecordForm::tearDown()
{
    KeyedFile& f = primary();
    if (RESPONSE != RequestCompleted && f.isOpen() && f.autoIncPending())
        f.cancelAutoInc();
}

void RecordForm::accepted(const QString& control)
{
    if (!OKCONTROL.isEmpty() && control == OKCONTROL) {
        acceptControls([this] { complete(); });
        return;
    }
    WindowController::accepted(control);
}

void RecordForm::windowEvent(Event e)
{
    if (e == Event::AlertKey && alertKey() == HISTORYKEY) {
        recallHistory(window().focusedControl());
        return;
    }
    WindowController::windowEvent(e);
}

void RecordForm::recallHistory(const QString& control)
{
    const Record* h = history();
    const ControlDef* d = window().controlDef(control);
    if (!h || !d || !*d->use)
        return;
    const int field = def_.findField(QString::fromUtf8(d->use));
    if (field < 0)
        return;
    primary().rec().setValue(uint16_t(field), h->value(uint16_t(field)));
    window().display(control);
}

bool RecordForm::deleteRecord(bool inWindow)
{
    KeyedFile& f = primary();
    for (;;) {
        Status st = f.deleteWithChildren();
        if (st)
            return true;
        if (shownAsIs(st.message)) {
            errors().show(st);
            return false;
        }
        switch (errors().show(33, {}, kRetryButtons, Stay)) {
        case TryAgain: continue;
        case CloseForm:
            if (inWindow)
                close(RequestCancelled);
            return false;
        default:
            if (inWindow && !FIRSTFIELD.isEmpty())
                control(FIRSTFIELD).select();
            return false;
        }
    }
}

namespace {
bool takesInput(Kind k)
{
    switch (k) {
    case Kind::Entry: case Kind::Text: case Kind::Spin: case Kind::Check: case Kind::Option: case Kind::Combo: return true;
    default: return false;
    }
}
// A required control is blank when it shows no text or a number 0.
bool isBlank(const Control& c)
{
    const QVariant v = c.value();
    if (v.typeId() == QMetaType::QString || !v.isValid())
        return c.text().trimmed().isEmpty();
    return v.toDouble() == 0;
}

} // namespace

void RecordForm::acceptControls(std::function<void()> then)
{
    if (passing_)
        return;  // OK pressed again while a lookup of the pass is open
    if (REQUEST == DeleteRecord) {
        then();
        return;
    }
    passing_ = true;
    window().takeTextBoxes();
    acceptFrom(0, std::move(then));
}

void RecordForm::acceptFrom(int index, std::function<void()> then)
{
    Window& w = window();
    Window::AcceptPass pass(w);
    const QStringList names = w.controlNames();
    for (int i = index; i < names.size(); ++i) {
        const QString& name = names[i];
        const ControlDef* d = w.controlDef(name);
        Control c = control(name);
        if (!takesInput(d->kind) || (d->flags & ReadOnly) || !c.isShown() || !c.isEnabled())
            continue;
        if (w.isBound(name) && !w.update(name)) {
            passing_ = false;
            c.select();
            return;
        }
        fieldEvent(name, FieldEvent::Accepted);
        if (!isOpen()) {
            passing_ = false;
            return;
        }
        if (waiting()) {
            whenNotWaiting([this, i, then = std::move(then)]() mutable { acceptFrom(i + 1, std::move(then)); });
            return;
        }
    }
    passing_ = false;
    if (isOpen())
        then();
}

// The insert; a number of the form's own that another copy stored or
// reserved meanwhile gives way to the reserved one, else is raised to the
// next free one, and the insert is tried again.
Status RecordForm::insertOwnNumbered()
{
    KeyedFile& f = primary();
    Status st = f.insert();
    for (int tries = 0; ownNumber_ && st.code == Err::DuplicateKey && tries < 1000; ++tries) {
        const auto [field, key] = *ownNumber_;
        const int64_t before = f.rec().num(field);
        int64_t after = before;
        if (tries == 0 && reservedNumber_ > 0 && reservedNumber_ != before)
            f.rec().set(field, after = reservedNumber_);
        else
            after = raiseWhileTaken(f, field, key);
        if (after == before)
            break;  // the duplicate is in another key: the user is told
        st = f.insert();
        if (st && renumbered_ && !renumbered_(before, after))
            return Status::fail(Err::Io, QStringLiteral("the records filed under number %1 cannot follow").arg(before));
    }
    if (st && ownNumber_)
        window().display();
    return st;
}

namespace {

// What the person reads beside a control: the prompt named after it
// ("TelPrompt" for "Tel"), else the prompt declared just before it, without
// its "&" and colon; the control's own name where it has none.
QString promptOf(const Window& w, const QString& control)
{
    const QStringList names = w.controlNames();
    const ControlDef* prompt = w.controlDef(control + QStringLiteral("Prompt"));
    const qsizetype at = names.indexOf(control);
    if ((!prompt || prompt->kind != Kind::Prompt) && at > 0) {
        prompt = w.controlDef(names[at - 1]);
    }
    if (!prompt || prompt->kind != Kind::Prompt)
        return control;
    QString text = QString::fromUtf8(prompt->text).remove(u'&').trimmed();
    while (text.endsWith(u':'))
        text.chop(1);
    return text.isEmpty() ? control : text;
}

} // namespace

bool RecordForm::complete()
{
    Window& w = window();
    for (const QString& name : w.controlNames())
        if (w.isBound(name) && !w.update(name)) {
            control(name).select();
            return false;
        }
    // A required control left blank keeps the form open with the cursor in
    // it, and says which one it is.
    for (const QString& name : w.controlNames()) {
        const ControlDef* d = w.controlDef(name);
        Control c = control(name);
        if ((d->flags & Required) && c.isShown() && c.isEnabled() && REQUEST != DeleteRecord && isBlank(c)) {
            messageBox(QStringLiteral("\"%1\" may not be blank.|Fill it in, or press Cancel.").arg(promptOf(w, name)),
                       QStringLiteral("Required Field"), Icon::Exclamation);
            c.select();
            return false;
        }
    }
    KeyedFile& f = primary();
    switch (REQUEST) {
    case InsertRecord: {
        Status st = insertOwnNumbered();
        if (!st) {
            errors().show(st);
            if (!FIRSTFIELD.isEmpty())
                control(FIRSTFIELD).select();
            return false;
        }
        histories()[procedure()] = f.rec();
        close(RequestCompleted);  // INSERTACTION 2: the form closes after an insert
        return true;
    }
    case ChangeRecord:
        for (;;) {
            Status st = f.updateWithChildren();
            if (st) {
                histories()[procedure()] = f.rec();
                close(RequestCompleted);
                return true;
            }
            if (st.code == Err::RecordDeleted) {
                // Nothing is left to show: the typed values stay, for a new
                // record (Yes) or for Cancel.
                if (errors().show(st) != 1)
                    return false;
                if (Status added = f.insert(); !added) {
                    errors().show(added);
                    return false;
                }
                histories()[procedure()] = f.rec();
                close(RequestCompleted);
                return true;
            }
            if (st.code == Err::RecordChanged) {
                // The other station's record is shown; the history key
                // brings the user's values back.
                histories()[procedure()] = f.rec();
                errors().show(st);
                f.getById(f.currentId());
                w.display();
                return false;
            }
            if (shownAsIs(st.message)) {
                errors().show(st);
                w.display();
                return false;
            }
            switch (errors().show(34, {}, kRetryButtons, Stay)) {
            case TryAgain: continue;
            case CloseForm: close(RequestCancelled); return false;
            default:
                if (!FIRSTFIELD.isEmpty())
                    control(FIRSTFIELD).select();
                return false;
            }
        }
    case DeleteRecord:
        if (deleteRecord(true)) {
            close(RequestCompleted);
            return true;
        }
        return false;
    default:
        close(RequestCompleted);
        return true;
    }
}

} // namespace ven
