// The record form: a window that inserts, changes or deletes one record of
// its file by the request it was called with, its controls bound to the
// record buffer through their pictures.
//
// GUI thread only. Refinements that override setUp() or tearDown() call
// RecordForm's at the end of theirs.
#pragma once

#include "platform/WindowController.h"

#include <initializer_list>
#include <optional>
#include <span>
#include <utility>

namespace ven {

class RecordForm : public WindowController {
    Q_OBJECT
public:
    RecordForm(const QString& procedure, const WindowDef& def, const FileDef& file);
    RecordForm(const QString& procedure, const WindowDef& def, const FileDef& file, const ProcedureTraits& traits);

    // The procedure's instance of the form's file.
    KeyedFile& primary() { return file(def_); }
    const FileDef& fileDef() const { return def_; }
    // The requests the form serves; the others are refused before the
    // window opens (messages 20, 38, 12) with response 2. All by default.
    void setServes(std::initializer_list<uint8_t> requests);
    // The window's title for each request, set as the form starts; a
    // request not listed keeps the window's own title. The table outlives
    // the form (a constant of the form's file).
    void setTitles(std::span<const std::pair<uint8_t, const char*>> titles) { titles_ = titles; }
    // The record the form saved last, for the history key; nullptr when
    // none was saved since the program started.
    const Record* history() const;
    // Puts the history record's value of a bound control back into it.
    void recallHistory(const QString& control);
    // The form numbers `field` of `key` itself (the count plus one): when
    // another copy of the program stored that number while this form was
    // open, the insert takes the next free one instead of failing.
    // `renumbered(from, to)` then moves what the form filed under the old
    // number (documents) and says false when it cannot. A `reserved`
    // number (not 0) that no other copy can take, as the form's reserved
    // record holds it, is the one taken then.
    void setOwnNumber(uint16_t field, int key, std::function<bool(int64_t, int64_t)> renumbered = {},
                      int64_t reserved = 0)
    {
        ownNumber_ = {field, key};
        renumbered_ = std::move(renumbered);
        reservedNumber_ = reserved;
    }

protected:
    // The form's own values for a new record, after the file's initial
    // values; `copy` when the buffer holds a copy of a listed record.
    virtual void primeFields(bool /*copy*/) {}

    // Titles the window by the request, opens the file, refuses unserved requests, prepares the request
    // (DELETEACTION 4 deletes at once and opens no window) and binds every
    // control whose `use` names a field of the file.
    bool setUp() override;
    // Releases an auto-number reserved for an insert that was not completed.
    void tearDown() override;
    void accepted(const QString& control) override;
    void windowEvent(Event e) override;

    // Completes the request as OK does; false when the form stays open
    // (a bound control whose text does not fit its picture, a required
    // control left blank, a refused store).
    bool complete();
    // OK's pass: every shown, enabled control that takes input is read back
    // and heard as accepted, in the window's order, so that its rule runs
    // as if the user had left it; a rule that opens a lookup holds the
    // pass until the lookup has ended. `then` runs when the pass has gone
    // through with the form still open. Rules are written to be idempotent.
    void acceptControls(std::function<void()> then);
    // True while acceptControls() is going through the controls.
    bool acceptingControls() const { return passing_; }

private:
    bool deleteRecord(bool inWindow);
    void acceptFrom(int index, std::function<void()> then);
    Status insertOwnNumbered();
    bool passing_ = false;
    std::optional<std::pair<uint16_t, int>> ownNumber_;
    std::function<bool(int64_t, int64_t)> renumbered_;
    int64_t reservedNumber_ = 0;
    const FileDef& def_;
    std::vector<uint8_t> serves_;
    std::span<const std::pair<uint8_t, const char*>> titles_;
};

} // namespace ven
