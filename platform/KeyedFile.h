// The keyed-file engine: record files with keys and memos, one SQLCipher
// database per data file, per-context instances with their own record buffer
// and position.
//
// All calls are made from the GUI thread; per-context instances keep buffers
// and positions apart, and one connection per file per process is shared by
// the instances. Every write is one transaction, so a killed process never
// leaves a half-written record, and several processes may share the files.
#pragma once

#include <QString>
#include <QVariant>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace ven {

// ---------------------------------------------------------------- schema ---

enum class FieldType : uint8_t { Byte, Short, UShort, Long, ULong, Real, String, CString, Time, Memo };

struct FieldDef {
    const char* name;      // without prefix: "LEGEND"
    FieldType type;
    uint16_t size;         // bytes in the record (texts: characters); memos: their maximum
    const char* exprName;  // memos: the mixed-case name for expressions ("Dry:Memorandum")
};

struct KeyPart {
    uint16_t field;
    bool descending = false;
};

struct KeyDef {
    const char* name;  // "DRY:CHRONOKEY"
    std::vector<KeyPart> parts;
    bool unique = false;
    bool optional = false;
    bool primary = false;
    int autoPart = -1;  // index into parts of the auto-numbered component, -1 none
    const char* description = "";
};

using Value = std::variant<int64_t, double, QString>;

struct InitialValue {
    uint16_t field;
    Value value;
};

struct RangeCheck {
    uint16_t field;
    int64_t low, high;
    const char* fieldText;   // "%Field" of message 16
    const char* boundsText;  // "%Message" of message 16
};

struct FileDef {
    const char* label;     // "VenDry"
    const char* prefix;    // "DRY"
    bool encrypted = false;
    bool fixedPath = false;   // Ven_DLS: one machine-wide file, see Store::setFixedFolder
    bool reuseSpace = true;   // VenCalc keeps deleted record space unused
    std::vector<FieldDef> fields;
    std::vector<KeyDef> keys;
    std::vector<InitialValue> initial;
    std::vector<RangeCheck> ranges;

    // "PREFIX:NAME" of a field, e.g. "DRY:LEGEND".
    QString fieldName(uint16_t f) const;
    // The field with that name ("DRY:LEGEND" or "LEGEND", any case), -1 none.
    int findField(const QString& name) const;
    // The key with that name ("DRY:CHRONOKEY", any case), -1 none.
    int findKey(const QString& name) const;
    // The name on disk: the label cut to eight characters, ".tps" added.
    QString diskName() const;
};

// The most characters a text field stores (a zero-terminated text one less
// than its size, a memo's line ends counted as CR LF); 0 for numbers.
int fieldCapacity(const FieldDef& f);

enum class Rule : uint8_t { Cascade, Restrict };

struct RelationDef {
    const FileDef* parent;
    const FileDef* child;
    const char* childKey;
    std::vector<std::pair<uint16_t, uint16_t>> links;  // parent field = child field
    Rule update, remove;
};

struct Dictionary {
    std::vector<const FileDef*> files;
    std::vector<RelationDef> relations;
};

// ---------------------------------------------------------------- status ---

// Engine error codes (the numbers the framework's messages report).
enum class Err : int {
    Ok = 0,
    NotFound = 35,        // no record with that key value
    EndOfFile = 33,       // next/previous ran past the last/first record
    DuplicateKey = 40,    // a unique key would be duplicated
    RecordChanged = 89,   // changed by another station since it was read
    RecordDeleted = 91,   // deleted by another station since it was read
    Locked = 32,          // held by another station or process
    NoCurrent = 30,       // put/delete without a current record
    NotOpen = 37,         // file used before it was opened
    InvalidValue = 47,    // a range check failed
    Restricted = 48,      // a relation rule refused the change or delete
    CreateFailed = 10,
    OpenFailed = 23,
    Io = 90,              // any other engine failure
};

// The result of an engine call: an error code, the framework message that
// reports it (0 none) and that message's filled text.
struct Status {
    Err code = Err::Ok;
    int message = 0;
    QString text;       // the message text with its placeholders filled
    QString errorText;  // the engine's own error text ("%ErrorText")

    bool ok() const { return code == Err::Ok; }
    explicit operator bool() const { return ok(); }
    static Status fail(Err code, QString errorText = {});
};

// ---------------------------------------------------------------- record ---

// A record buffer: one value per field, normalised to the field's type on
// every store (numbers wrapped to their width, CSTRING cut to size - 1,
// STRING padded with blanks to its size, TIME rounded through its packed
// form, memos cut to their maximum).
class Record {
public:
    explicit Record(const FileDef* def = nullptr);

    const FileDef* def() const { return def_; }
    int64_t num(uint16_t f) const;
    double real(uint16_t f) const;
    QString str(uint16_t f) const;  // STRING fields keep their trailing blanks
    QVariant get(uint16_t f) const;

    void set(uint16_t f, int64_t v);
    void set(uint16_t f, int v) { set(f, int64_t(v)); }
    void set(uint16_t f, double v);
    void set(uint16_t f, const QString& v);
    void set(uint16_t f, const char* v) { set(f, QString::fromUtf8(v)); }
    void setVariant(uint16_t f, const QVariant& v);
    void setValue(uint16_t f, const Value& v);
    const Value& value(uint16_t f) const { return values_[f]; }

    // Blank texts and zero numbers everywhere.
    void clear();
    // Equal field by field (texts as stored).
    bool operator==(const Record& o) const { return values_ == o.values_; }

private:
    const FileDef* def_;
    std::vector<Value> values_;
};

class Context;
class Store;
struct Connection;

// ---------------------------------------------------------------- file -----

// One context's instance of a data file: its open state, record buffer,
// current record and position in a key order. Positioning follows the
// engine's verbs: set() before the first record of a key order or before a
// key value, next()/previous() to read on, get() to fetch by key.
class KeyedFile {
public:
    KeyedFile(Context* ctx, const FileDef* def);
    ~KeyedFile();
    KeyedFile(const KeyedFile&) = delete;
    KeyedFile& operator=(const KeyedFile&) = delete;

    enum class Mode { Shared, Exclusive };

    const FileDef& def() const { return *def_; }
    Context* context() const { return ctx_; }
    Record& rec() { return rec_; }
    const Record& rec() const { return rec_; }

    // Opens the file, creating it empty when it does not exist. Opening an
    // open instance only counts the nesting. Failures carry message 10
    // (cannot be created) or 23 (cannot be opened). An exclusive open has a
    // connection of its own and keeps every other one out, this process's
    // included; it is refused while another instance has the file open, and
    // a shared open is refused while an exclusive one lives (Err::Locked,
    // message 1).
    Status open(Mode mode = Mode::Shared);
    // Closes after as many closes as opens; the buffer stays as it is.
    void close();
    bool isOpen() const { return openCount_ > 0; }

    // --- plain engine operations (no range checks, auto-numbers or relation
    // rules; unique keys still refuse duplicates) ---

    // Positions before the first record in key order (key -1: record order).
    Status set(int key = -1);
    // Positions at the buffer's values of that key's components: next()
    // reads on from the first record whose key is >= them, previous() back
    // from the last record whose key is <= them.
    Status setFromBuffer(int key);
    // Positions after the last record, so that previous() reads backwards.
    Status setToEnd(int key = -1);
    // Reads the next / previous record in the current order into the buffer.
    // Err::EndOfFile past the end.
    Status next();
    Status previous();
    // Reads the record whose key components equal the buffer's (the first in
    // key order when several match); Err::NotFound when none. The record
    // becomes current and the position follows it.
    Status get(int key);
    // The same, also finding a record that an optional key leaves out
    // because all its key components are blank or zero (get() never finds
    // such a record, as the key does not hold it).
    Status getIncludingBlank(int key);
    // Adds the buffer as a new record; it becomes current.
    Status add();
    // Rewrites the current record with the buffer. requires: a current record.
    Status put();
    // Deletes the current record. requires: a current record.
    Status remove();
    int64_t records();
    // Rebuilds every key of the file.
    Status rebuildKeys();
    // The engine's own check of the file's structure; ok when it is sound.
    Status checkIntegrity();
    // Copies the file as it stands (a consistent snapshot, while others go
    // on using it) to `path`: written under a temporary name beside it,
    // enciphered under the file's own key, checked, and then renamed into
    // place, so that `path` is either the old copy or the whole new one.
    // requires: open, and no WriteBatch of this file open.
    Status backupTo(const QString& path);
    // True when a record is current (read, added or rewritten last).
    bool hasCurrent() const { return current_ != 0; }
    int64_t currentId() const { return current_; }
    // True when the current record is an auto-number placeholder that a
    // form (of this copy or another) holds for a record it has not stored
    // yet: readers that act on records (scans, renumbering) leave it alone.
    bool currentIsPlaceholder();
    // Reads the record with the engine's record identity (see currentId).
    Status getById(int64_t id);

    // --- the file object of the dictionary ---

    // Clears the buffer, gives the initial values and, for a file with an
    // auto-numbered key, reserves the number by adding a placeholder record
    // at once (three tries, then message 32).
    Status primeRecord();
    // Reserves the buffer's key values for a record a form is adding under
    // a number it chose itself: the placeholder of primeRecord is rewritten
    // with the buffer, or, when none is reserved, the buffer is added as a
    // placeholder this process holds. No other copy can then store or
    // reserve those values; insert() writes the record over it and
    // cancelAutoInc() deletes it. Failures carry message 32; the code is
    // Err::DuplicateKey when a unique key's values are held by another
    // record or placeholder.
    Status reserve();
    // Deletes the placeholder of a reserved auto-number again.
    Status cancelAutoInc();
    bool autoIncPending() const { return pendingAuto_ != 0; }
    // The engine identity of the reserved placeholder, 0 when none.
    int64_t pendingAutoId() const { return pendingAuto_; }
    // The caller gives the auto-numbered component its own value (a form
    // that files a record under a part it chooses): the next insert keeps
    // it instead of numbering it. primeRecord() and a stored insert end it.
    void keepOwnNumber(bool on = true) { keepOwnNumber_ = on; }
    bool keepsOwnNumber() const { return keepOwnNumber_; }
    // The auto-number rule applied to `key`'s component `part` (default:
    // the auto-numbered one): the highest value among the records whose
    // components before it equal the buffer's, plus one (1 when none).
    Status nextNumber(int key, int64_t& out, int part = -1);
    // Adds the buffer with the range checks and the duplicate test
    // (messages 16 and 13); an auto-number reserved by primeRecord is
    // written by rewriting its placeholder.
    Status insert();
    // Rewrites the current record with the range checks, the duplicate test
    // and the "changed by another station" test (message 7).
    Status update();
    // The range check of one field (message 16).
    Status validateField(uint16_t f) const;
    Status validateRecord() const;
    // The check of a value about to be given to number field `f`: one beyond
    // what the field's type holds (it would be stored wrapped) fails with
    // message 16, in the words of the field's declared range check when it
    // has one, else `fieldText` and the type's bounds.
    static Status checkValue(const FileDef& def, uint16_t f, const QVariant& v, const QString& fieldText);

    // --- the relation object ---

    // Deletes the current record and, by the delete rules, its children
    // (cascade) or refuses while children exist (restrict, message 30).
    Status deleteWithChildren();
    // Rewrites the current record (as update()) and carries changed linking
    // fields to the children (cascade) or refuses and resets them (restrict,
    // message 31).
    Status updateWithChildren();

    // --- buffer and position ---
    struct Saved;
    std::unique_ptr<Saved> save() const;
    void restore(const Saved& s);

private:
    friend class Store;
    friend class WriteBatch;
    friend class BackupCopy;
    friend class KeyRebuild;
    struct Cursor;
    Status ensureOpen() const;
    // Fails with `message` when no record is current.
    Status requireCurrent(int message) const;
    // The buffer, as stored under `id`, is the current record and the position.
    void becomeCurrent(int64_t id);
    Status reportDuplicate(int64_t selfId);
    Status getByKey(int key, bool includingBlank);
    Status readRow(void* stmt, Record& into, int64_t& id);
    Status fetchBatch(bool forward);
    Status step(bool forward);
    void positionAt(int key, int64_t id);
    // Refuses a change of linking fields that a restrict rule forbids (message 31).
    Status checkUpdateRestrict(const Record& oldRec);
    Status cascadeUpdate(const Record& oldRec);

    Context* ctx_;
    const FileDef* def_;
    std::shared_ptr<Connection> conn_;
    int openCount_ = 0;
    Record rec_;
    Record original_;       // the current record as last read or written
    int64_t current_ = 0;   // engine id of the current record, 0 none
    int64_t pendingAuto_ = 0;  // id of an auto-number placeholder
    bool keepOwnNumber_ = false;
    std::unique_ptr<Cursor> cursor_;
};

struct KeyedFile::Saved {
    Record rec, original;
    int64_t current = 0;
    std::shared_ptr<void> cursor;
};

// Groups the writes made while it lives into one transaction: a run of many
// adds pays for one commit, and a run that fails or is abandoned stores
// none of them. Over several files (a posting and its account), the first
// file's connection attaches the others, so that the one commit stores the
// changes of every file or of none, even when the process is killed.
//
// The writes of the batch go through the instances named in it, the other
// instances of the first file and instances opened while it lives (the
// relation rules' among them). requires: every file is open.
class WriteBatch {
public:
    explicit WriteBatch(KeyedFile& file);
    explicit WriteBatch(std::initializer_list<KeyedFile*> files);
    ~WriteBatch();  // rolls back unless committed
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    // False when the transaction could not begin (see status()).
    bool isOpen() const { return open_; }
    // Why it could not begin: message 21 with the engine's error text.
    const Status& status() const { return begun_; }
    Status commit();

private:
    struct Joined;
    void end(bool commit, Status* result);
    std::shared_ptr<Connection> conn_;
    std::vector<Joined> joined_;
    Status begun_;
    bool open_ = false;
};

// A backup copy of a file (as KeyedFile::backupTo makes it) made in steps, so
// that a window makes it over its timer ticks while the program goes on:
// each step() copies pages for a few milliseconds through one backup object
// kept between the steps (a writer elsewhere makes it start again; one that
// holds the file longer than the engine's lock wait fails it), and the
// finished copy is checked on a worker thread with a connection of its own.
// Abandoned unfinished, it removes its partial copy and leaves `path` alone.
// requires: `file` open while the copy lives.
class BackupCopy {
public:
    BackupCopy(KeyedFile& file, const QString& path);
    ~BackupCopy();
    BackupCopy(const BackupCopy&) = delete;
    BackupCopy& operator=(const BackupCopy&) = delete;

    // Does the next piece of work for about `budgetMs`; false once the copy
    // has ended, well or not (see status()).
    bool step(int budgetMs = 20);
    // Runs every step to the end and returns status().
    Status run();
    const Status& status() const;

private:
    struct Work;
    std::unique_ptr<Work> w_;
};

// The key rebuild of a file (KeyedFile::rebuildKeys) on a worker thread, so
// that the caller's event loop goes on meanwhile; the instance's connection
// is the worker's until it has ended. requires: `file` opened exclusively,
// and neither used nor closed before done() is true.
class KeyRebuild {
public:
    explicit KeyRebuild(KeyedFile& file);
    ~KeyRebuild();  // waits for the worker
    KeyRebuild(const KeyRebuild&) = delete;
    KeyRebuild& operator=(const KeyRebuild&) = delete;

    bool done();
    // The rebuild's result. requires: done().
    const Status& status() const { return result_; }

private:
    struct Work;
    std::unique_ptr<Work> w_;
    Status result_;
};

// Sets up the cipher library for the whole process, once: called at the
// start of main() and before any file's first open. Its tables then last
// until the process has ended, so a worker thread still inside the library
// (a backup's check, a key rebuild) never meets them torn down by exit.
void initCipherLibrary();

// A set of file instances: the files of one procedure context (the frame's,
// or a procedure started on a new thread). Instances are made on first use.
class Context {
public:
    Context() = default;
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;
    KeyedFile& file(const FileDef& def);
    // Closes every instance that is still open.
    void closeAll();

private:
    std::map<const FileDef*, std::unique_ptr<KeyedFile>> files_;
};

// The process-wide side of the engine: where the files lie, the dictionary's
// relations, and the one connection per file that the instances share.
class Store {
public:
    static Store& instance();

    void setDictionary(const Dictionary* d) { dict_ = d; }
    const Dictionary* dictionary() const { return dict_; }
    // The folder of the data files; empty means the current folder.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // The machine-wide folder of the fixed-path files (Ven_DLS).
    void setFixedFolder(const QString& folder);
    QString fixedFolder() const;
    // The full path of a file's database.
    QString pathOf(const FileDef& def) const;
    // Drops the shared connections (instances reconnect on their next open).
    void closeIdle();
    // Deletes, in every data file that exists, the placeholders (auto-numbers
    // and numbers reserved by forms) that no running copy of the program on
    // this machine holds any more (left by a copy that ended while a form
    // was adding). Placeholders of copies on other machines stay. A file
    // that cannot be read is passed over and its failure returned after
    // the others are swept. `removed` counts what was deleted.
    Status removeStalePlaceholders(int* removed = nullptr);

private:
    friend class KeyedFile;
    friend class WriteBatch;
    std::shared_ptr<Connection> connect(const FileDef& def, bool exclusive, Status& st);
    const Dictionary* dict_ = nullptr;
    QString folder_, fixedFolder_;
    std::map<QString, std::weak_ptr<Connection>> conns_, exclusive_;
};

}  // namespace ven
