// Batch processes and reports: a record-by-record run over a view of a
// file in the "Progress..." window, driven by the window's timer, and the
// report that lays its bands out on pages in its own units and then
// previews, prints or writes them to PDF.
//
// GUI thread only.
#pragma once

#include "platform/BrowseList.h"
#include "platform/ReportPages.h"

#include <QElapsedTimer>

namespace ven {

// The progress window: title "Progress...", a bar 0..100 ("Progress"), two
// text lines ("Line1", "Line2") and a "Cancel" button.
const WindowDef& progressWindowDef();

class BatchProcess : public WindowController {
    Q_OBJECT
public:
    BatchProcess(const QString& procedure, const FileDef& file, const WindowDef& def = progressWindowDef());

    // The view: key order (-1 stored order), range limits, filter.
    void setKey(int key) { key_ = key; }
    void setRange(uint16_t field, const Value& low, const Value& high);
    void setFilter(std::function<bool(const Record&)> filter) { filter_ = std::move(filter); }

    KeyedFile& primary() { return file(def_); }
    int recordsPerTick() const { return perTick_; }
    int64_t recordsDone() const { return done_; }
    void setProgressText(const QString& line1, const QString& line2 = {});

protected:
    // One record of the view, accepted by the filter; false ends the run
    // as if the view had ended.
    virtual bool takeRecord(Record& rec) = 0;
    // After the last record (not after Cancel, nor when there was none, nor
    // when a read failed: the file is then named in a message and the run
    // ends with response 2).
    virtual void runEnded() { close(RequestCompleted); }

    // Opens the file, positions at the view's start and starts the timer.
    bool setUp() override;
    void windowEvent(Event e) override;
    void accepted(const QString& control) override;

private:
    void tick();
    void endRun();
    void readFailed(const Status& st);
    const FileDef& def_;
    int key_ = -1;
    std::vector<RangeLimit> ranges_;
    std::function<bool(const Record&)> filter_;
    int perTick_ = 1;
    int64_t done_ = 0, total_ = 0;
    bool running_ = false;
};

// A report: a batch process whose records print bands on pages. After the
// last record the pages go to the report destination (printPages): the
// preview (printed from there), the printer or a PDF file. Declared bands
// take their values from the report's own values (setValue) and then from
// the fields of its file's record ("DRY:LEGEND").
class Report : public BatchProcess {
    Q_OBJECT
public:
    Report(const QString& procedure, const FileDef& file, double unitsPerInch, const QRectF& area,
           const QString& family = QStringLiteral("Tahoma"), double points = 10);
    ReportPages& pages() { return *pages_; }
    // The printer the report must print on and what it is to the user
    // ("fax printer"); an unknown or blank name prints nothing (the preview
    // still shows). Without one: the default printer.
    void setPrinter(const QString& name, const QString& role = {}) { printer_ = RequiredPrinter{name, role}; }
    // A value that declared bands show by name ("DayLine").
    void setValue(const QString& name, const QVariant& value);
    QVariant value(const QString& name);
    // How the run ended: printed, cancelled in the preview, or failed.
    std::optional<PrintOutcome> outcome() const { return outcome_; }

protected:
    void runEnded() override;

private:
    std::shared_ptr<ReportPages> pages_;
    std::optional<RequiredPrinter> printer_;
    QHash<QString, QVariant> values_;
    std::optional<PrintOutcome> outcome_;
};

} // namespace ven
