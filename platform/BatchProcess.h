// Batch processes and reports: a record-by-record run over a view of a
// file in the "Progress..." window, driven by the window's timer, and the
// report that lays its bands out on pages in its own units and then
// previews, prints or writes them to PDF.
//
// GUI thread only.
#pragma once

#include "platform/BrowseList.h"

#include <QFont>
#include <QRectF>

#include <QElapsedTimer>

class QPagedPaintDevice;

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
    // After the last record (not after Cancel, nor when there was none).
    virtual void runEnded() { close(RequestCompleted); }

    // Opens the file, positions at the view's start and starts the timer.
    bool setUp() override;
    void windowEvent(Event e) override;
    void accepted(const QString& control) override;

private:
    void tick();
    void endRun();
    const FileDef& def_;
    int key_ = -1;
    std::vector<RangeLimit> ranges_;
    std::function<bool(const Record&)> filter_;
    int perTick_ = 1;
    int64_t done_ = 0, total_ = 0;
    bool running_ = false;
};

// Pages of a report in its own units (a number of units per inch), with
// its page header and footer; bands that do not fit start a new page.
class ReportPages {
public:
    ReportPages(int unitsPerInch, const QRectF& area, const QString& family = QStringLiteral("Tahoma"), int points = 10);

    // What a band draws, in units from its own top left corner.
    class Band {
    public:
        void text(double x, double y, double w, double h, const QString& s, int points = 0, bool bold = false,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
        void line(double x1, double y1, double x2, double y2, double thickness = 10);

    private:
        friend class ReportPages;
        ReportPages* pages_ = nullptr;
        double top_ = 0;
    };
    void setPageHeader(double height, std::function<void(Band&, int page)> draw);
    void setPageFooter(double height, std::function<void(Band&, int page)> draw);
    // Prints a band of `height` units, on a new page when it does not fit.
    void print(double height, const std::function<void(Band&)>& draw);
    // Ends the last page (its footer); the report does it after its last record.
    void finish();
    int pageCount() const { return int(pages_.size()); }
    int page() const { return int(pages_.size()); }
    // Draws every page on a paged device (printer, PDF writer, preview).
    void render(QPagedPaintDevice* device) const;

private:
    struct Item {
        enum Kind { Text, Line } kind;
        QRectF rect;  // units from the page's top left corner
        QString text;
        int points;
        bool bold;
        Qt::Alignment align;
        double thickness;
    };
    void newPage();
    void footer();
    int perInch_;
    QRectF area_;
    QString family_;
    int points_;
    std::vector<std::vector<Item>> pages_;
    double y_ = 0;  // next free line of the current page, from the area's top
    double headerHeight_ = 0, footerHeight_ = 0;
    bool finished_ = false;
    std::function<void(Band&, int)> header_, footerDraw_;
};

// Where reports go at their end.
enum class ReportOutput : uint8_t { Preview, Printer, Pdf };
struct ReportDestination {
    ReportOutput output = ReportOutput::Preview;
    QString printer;  // Printer: the named printer, "" the default
    QString pdfFile;  // Pdf: the file written
};
// The process-wide destination of reports (tests write PDF files).
void setReportDestination(const ReportDestination& d);
const ReportDestination& reportDestination();

// A report: a batch process whose records print bands on pages. After the
// last record the pages are previewed (and printed from the preview),
// printed or written to PDF by the report destination.
class Report : public BatchProcess {
    Q_OBJECT
public:
    Report(const QString& procedure, const FileDef& file, int unitsPerInch, const QRectF& area,
           const QString& family = QStringLiteral("Tahoma"), int points = 10);
    ReportPages& pages() { return pages_; }
    // The printer to print on; "" the default printer.
    void setPrinterName(const QString& name) { printer_ = name; }

protected:
    void runEnded() override;

private:
    ReportPages pages_;
    QString printer_;
};

} // namespace ven
