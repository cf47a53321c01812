// The timer-driven record run with its progress window, and report pages
// with their preview, printing and PDF output.
#include "platform/BatchProcess.h"

#include "platform/ErrorReporter.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace ven {

namespace {

// A tick's work stays within this many milliseconds.
constexpr qint64 kTimeSlice = 100;
constexpr int kMostPerTick = 10000;

ProcedureTraits progressTraits(const QString& procedure)
{
    ProcedureTraits t = traitsOf(procedure);
    t.wallpaper = WallpaperKind::FixedTiled;
    return t;
}

} // namespace

const WindowDef& progressWindowDef()
{
    static const WindowDef def{
        .title = "Progress...",
        .w = 142,
        .h = 59,
        .controls = {
            {.name = "Progress", .kind = Kind::Progress, .x = 15, .y = 15, .w = 111, .h = 12, .low = 0, .high = 100},
            {.name = "Line1", .kind = Kind::String, .x = 0, .y = 3, .w = 141, .h = 10},
            {.name = "Line2", .kind = Kind::String, .x = 0, .y = 30, .w = 141, .h = 10},
            {.name = "Cancel", .kind = Kind::Button, .text = "Cancel", .x = 45, .y = 42, .w = 50, .h = 15},
        }};
    return def;
}

// --------------------------------------------------------------- batch --

BatchProcess::BatchProcess(const QString& procedure, const FileDef& file, const WindowDef& def)
    : WindowController(procedure, def, progressTraits(procedure))
    , def_(file)
{
}

void BatchProcess::setRange(uint16_t field, const Value& low, const Value& high)
{
    std::erase_if(ranges_, [field](const RangeLimit& r) { return r.field == field; });
    ranges_.push_back({field, low, high});
}

void BatchProcess::setProgressText(const QString& line1, const QString& line2)
{
    control("Line1").setText(line1);
    control("Line2").setText(line2);
}

bool BatchProcess::setUp()
{
    if (!openFile(def_)) {
        RESPONSE = RequestCancelled;
        return false;
    }
    KeyedFile& f = primary();
    total_ = f.records();
    Status st;
    if (ranges_.empty()) {
        st = f.set(key_);
    } else {
        fillKeyBounds(def_, key_, ranges_, f.rec(), false);
        st = f.setFromBuffer(key_);
    }
    if (!st) {
        errors().show(st);
        RESPONSE = RequestCancelled;
        return false;
    }
    running_ = true;
    setTimer(1);
    return true;
}

void BatchProcess::windowEvent(Event e)
{
    if (e == Event::Timer && running_)
        tick();
    WindowController::windowEvent(e);
}

void BatchProcess::accepted(const QString& control)
{
    if (control == QLatin1String("Cancel")) {
        running_ = false;
        setTimer(0);
        close(RequestCancelled);
        return;
    }
    WindowController::accepted(control);
}

void BatchProcess::tick()
{
    QElapsedTimer clock;
    clock.start();
    KeyedFile& f = primary();
    for (int n = 0; n < perTick_ && running_; ++n) {
        if (!f.next() || !withinRanges(def_, ranges_, f.rec()))
            return endRun();
        if (filter_ && !filter_(f.rec())) {
            --n;  // records the filter leaves out do not count
            continue;
        }
        ++done_;
        if (!takeRecord(f.rec()))
            return endRun();
    }
    // The count per tick doubles while a tick takes under half its slice
    // and halves when it overruns.
    const qint64 ms = clock.elapsed();
    if (ms < kTimeSlice / 2)
        perTick_ = std::min(perTick_ * 2, kMostPerTick);
    else if (ms > kTimeSlice)
        perTick_ = std::max(1, perTick_ / 2);
    const int pct = total_ > 0 ? int(std::min<int64_t>(100, done_ * 100 / total_)) : 0;
    control("Progress").setValue(pct);
}

void BatchProcess::endRun()
{
    running_ = false;
    setTimer(0);
    control("Progress").setValue(100);
    if (done_ == 0) {
        errors().show(22);
        close(RequestCancelled);
        return;
    }
    runEnded();
}

// --------------------------------------------------------------- pages --

ReportPages::ReportPages(int unitsPerInch, const QRectF& area, const QString& family, int points)
    : perInch_(unitsPerInch), area_(area), family_(family), points_(points)
{
}

void ReportPages::Band::text(double x, double y, double w, double h, const QString& s, int points, bool bold,
                             Qt::Alignment align)
{
    pages_->pages_.back().push_back({Item::Text, QRectF(pages_->area_.left() + x, top_ + y, w, h), s,
                                     points > 0 ? points : pages_->points_, bold, align, 0});
}

void ReportPages::Band::line(double x1, double y1, double x2, double y2, double thickness)
{
    const double l = pages_->area_.left();
    pages_->pages_.back().push_back(
        {Item::Line, QRectF(QPointF(l + x1, top_ + y1), QPointF(l + x2, top_ + y2)), {}, 0, false, {}, thickness});
}

void ReportPages::setPageHeader(double height, std::function<void(Band&, int)> draw)
{
    headerHeight_ = height;
    header_ = std::move(draw);
}

void ReportPages::setPageFooter(double height, std::function<void(Band&, int)> draw)
{
    footerHeight_ = height;
    footerDraw_ = std::move(draw);
}

void ReportPages::newPage()
{
    if (!pages_.empty())
        footer();
    pages_.emplace_back();
    y_ = 0;
    if (header_) {
        Band b;
        b.pages_ = this;
        b.top_ = area_.top();
        header_(b, page());
        y_ = headerHeight_;
    }
}

void ReportPages::footer()
{
    if (!footerDraw_)
        return;
    Band b;
    b.pages_ = this;
    b.top_ = area_.bottom() - footerHeight_;
    footerDraw_(b, page());
}

void ReportPages::print(double height, const std::function<void(Band&)>& draw)
{
    if (pages_.empty() || (y_ + height > area_.height() - footerHeight_ && y_ > headerHeight_))
        newPage();
    Band b;
    b.pages_ = this;
    b.top_ = area_.top() + y_;
    draw(b);
    y_ += height;
}

void ReportPages::finish()
{
    if (!pages_.empty() && !finished_) {
        footer();
        finished_ = true;
    }
}

void ReportPages::render(QPagedPaintDevice* device) const
{
    QPainter p(device);
    const double sx = device->logicalDpiX() / double(perInch_), sy = device->logicalDpiY() / double(perInch_);
    auto toDevice = [&](const QRectF& r) { return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy); };
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (i > 0)
            device->newPage();
        for (const Item& it : pages_[i]) {
            if (it.kind == Item::Text) {
                QFont f(family_);
                f.setPointSize(it.points);
                f.setBold(it.bold);
                p.setFont(f);
                p.drawText(toDevice(it.rect), int(it.align) | Qt::TextSingleLine, it.text);
            } else {
                p.setPen(QPen(Qt::black, std::max(1.0, it.thickness * sy)));
                const QRectF r = toDevice(it.rect);
                p.drawLine(r.topLeft(), r.bottomRight());
            }
        }
    }
}

// -------------------------------------------------------------- report --

namespace {
ReportDestination& destination()
{
    static ReportDestination d;
    return d;
}
} // namespace

void setReportDestination(const ReportDestination& d) { destination() = d; }
const ReportDestination& reportDestination() { return destination(); }

Report::Report(const QString& procedure, const FileDef& file, int unitsPerInch, const QRectF& area,
               const QString& family, int points)
    : BatchProcess(procedure, file)
    , pages_(unitsPerInch, area, family, points)
{
}

void Report::runEnded()
{
    pages_.finish();
    const ReportDestination& d = reportDestination();
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setDocName(procedure());
    const QString name = d.output == ReportOutput::Printer && !d.printer.isEmpty() ? d.printer : printer_;
    if (!name.isEmpty())
        printer->setPrinterName(name);
    switch (d.output) {
    case ReportOutput::Pdf:
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(d.pdfFile);
        [[fallthrough]];
    case ReportOutput::Printer:
        pages_.render(printer.get());
        close(RequestCompleted);
        return;
    case ReportOutput::Preview: {
        // The preview is window-modal; printing is what the user confirms in it.
        auto* preview = new QPrintPreviewDialog(printer.get(), &window());
        preview->setAttribute(Qt::WA_DeleteOnClose);
        connect(preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { pages_.render(p); });
        connect(preview, &QDialog::finished, this, [this, printer, preview](int result) {
            (void)preview;
            close(result == QDialog::Accepted ? RequestCompleted : RequestCancelled);
        });
        preview->open();
        return;
    }
    }
}

} // namespace ven
