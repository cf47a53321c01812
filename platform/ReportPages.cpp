// Report pages: band layout (wrapped text that grows its band, bands that
// break across pages, label grids, groups), drawing on paged devices, and
// the destinations a report goes to.
#include "platform/ReportPages.h"

#include "platform/ErrorReporter.h"
#include "platform/Picture.h"

#include <QAction>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextLayout>

#include <algorithm>

namespace ven {

namespace {

// Text is measured at the resolution reports are printed at, without
// hinting, so that its widths scale to any device.
constexpr double kMeasureDpi = 1200.0;

const QPaintDevice* measureDevice()
{
    static const QImage device = [] {
        QImage i(8, 8, QImage::Format_RGB32);
        const int dpm = int(kMeasureDpi / 0.0254 + 0.5);
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return &device;
}

QString withoutTrailingBlanks(QString s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    s.truncate(n);
    return s;
}

} // namespace

QSizeF fitPicture(QSizeF own, QSizeF box)
{
    if (own.isEmpty())
        return {};
    if (own.height() > box.height()) {
        own = QSizeF(own.width() / own.height() * box.height(), box.height());
    }
    if (own.width() > box.width()) {
        own = QSizeF(box.width(), own.height() / own.width() * box.width());
    }
    return own;
}

// ---------------------------------------------------------------- band --

// What a band holds before it is laid out: an item in band units, and for
// wrapped text its lines.
struct ReportPages::Band::Entry {
    Item item;
    bool wrap = false;
    QStringList lines;
    double lineHeight = 0;
};

ReportPages::Band::Band(ReportPages& pages) : pages_(pages) {}

ReportPages::Item ReportPages::Band::style(double points, bool bold) const
{
    Item it;
    it.family = pages_.family_;
    it.points = points > 0 ? points : pages_.points_;
    it.bold = bold;
    return it;
}

void ReportPages::Band::text(double x, double y, double w, double h, const QString& s, double points, bool bold,
                             Qt::Alignment align)
{
    Item it = style(points, bold);
    it.align = align;
    addText(QRectF(x, y, w, h), s, std::move(it));
}

void ReportPages::Band::wrapped(double x, double y, double w, double h, const QString& s, double points, bool bold)
{
    addWrapped(QRectF(x, y, w, h), s, style(points, bold));
}

void ReportPages::Band::addText(const QRectF& r, const QString& s, Item it)
{
    it.kind = ReportItem::Text;
    it.rect = r;
    it.text = withoutTrailingBlanks(s);
    // Measured in the font this system gives for the family: a stand-in
    // wider or taller than the report's own font would be cut at the box.
    if (!it.text.isEmpty() && r.width() > 0 && r.height() > 0) {
        const double toUnits = pages_.perInch_ / kMeasureDpi;
        const QFontMetricsF fm(pages_.font(it.family, it.points, it.bold, it.italic), measureDevice());
        const double w = std::max(fm.horizontalAdvance(it.text), fm.boundingRect(it.text).right()) * toUnits;
        const double h = fm.height() * toUnits;
        const double scale = std::min({1.0, r.width() / w, r.height() / h});
        if (scale < 1)
            it.points *= scale * 0.99;  // a little room for the device's rounding
    }
    auto e = std::make_shared<Entry>();
    e->item = std::move(it);
    entries_.push_back(std::move(e));
}

void ReportPages::Band::addWrapped(const QRectF& r, const QString& s, Item it)
{
    auto e = std::make_shared<Entry>();
    it.kind = ReportItem::Text;
    it.rect = r;
    e->item = std::move(it);
    e->wrap = true;
    const QFont f = pages_.font(e->item.family, e->item.points, e->item.bold, e->item.italic);
    const double toUnits = pages_.perInch_ / kMeasureDpi;
    const QFontMetricsF fm(f, measureDevice());
    e->lineHeight = fm.lineSpacing() * toUnits;
    const double width = r.width() / toUnits;
    QString t = s;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t = withoutTrailingBlanks(t);
    if (!t.isEmpty()) {
        for (const QString& para : t.split(QLatin1Char('\n'))) {
            if (para.trimmed().isEmpty()) {
                e->lines << QString();
                continue;
            }
            QTextLayout layout(para, f, measureDevice());
            QTextOption opt;
            opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(opt);
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(width);
                e->lines << withoutTrailingBlanks(para.mid(l.textStart(), l.textLength()));
            }
            layout.endLayout();
        }
    }
    entries_.push_back(std::move(e));
}

void ReportPages::Band::line(double x1, double y1, double x2, double y2, double thickness)
{
    auto e = std::make_shared<Entry>();
    e->item.kind = ReportItem::Line;
    e->item.rect = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    e->item.thickness = thickness;
    entries_.push_back(std::move(e));
}

void ReportPages::Band::box(double x, double y, double w, double h, double thickness)
{
    auto e = std::make_shared<Entry>();
    e->item.kind = ReportItem::Box;
    e->item.rect = QRectF(x, y, w, h);
    e->item.thickness = thickness;
    entries_.push_back(std::move(e));
}

void ReportPages::Band::image(double x, double y, double w, double h, const QString& file)
{
    if (file.trimmed().isEmpty())
        return;
    QImage img(findPictureFile(file.trimmed()));
    if (img.isNull())
        return;
    const auto dpi = [](int dpm) { return dpm > 0 ? dpm * 0.0254 : 96.0; };
    const QSizeF own(img.width() / dpi(img.dotsPerMeterX()) * pages_.perInch_,
                     img.height() / dpi(img.dotsPerMeterY()) * pages_.perInch_);
    auto e = std::make_shared<Entry>();
    e->item.kind = ReportItem::Image;
    e->item.rect = QRectF(QPointF(x, y), fitPicture(own, QSizeF(w, h)));
    e->item.image = std::move(img);
    entries_.push_back(std::move(e));
}

void ReportPages::Band::item(const ReportItem& it, const ReportValues& values, int page)
{
    const QVariant value = *it.use && values ? values(QString::fromUtf8(it.use)) : QVariant(QString::fromUtf8(it.text));
    const size_t before = entries_.size();
    switch (it.kind) {
    case ReportItem::Line:
        line(it.x, it.y, it.x + it.w, it.y + it.h, it.thickness);
        break;
    case ReportItem::Box:
        box(it.x, it.y, it.w, it.h, it.thickness);
        break;
    case ReportItem::Image:
        image(it.x, it.y, it.w, it.h, value.toString());
        break;
    case ReportItem::Text:
    case ReportItem::PageNumber: {
        QString s;
        if (it.kind == ReportItem::PageNumber)
            s = QString::fromUtf8(it.text) + (*it.picture ? formatNumber(page, QString::fromUtf8(it.picture))
                                                           : QString::number(page));
        else
            s = *it.picture ? format(Picture::parse(QString::fromUtf8(it.picture)), value) : value.toString();
        Item st = style(it.font.points, it.font.bold);
        if (it.font.family)
            st.family = QString::fromUtf8(it.font.family);
        st.italic = it.font.italic;
        st.align = it.align;
        if (it.wrap)
            addWrapped(QRectF(it.x, it.y, it.w, it.h), s, std::move(st));
        else
            addText(QRectF(it.x, it.y, it.w, it.h), s, std::move(st));
        break;
    }
    }
    if (entries_.size() > before)
        entries_.back()->item.color = it.color;
}

// --------------------------------------------------------------- pages --

ReportPages::ReportPages(double unitsPerInch, const QRectF& area, const QString& family, double points)
    : perInch_(unitsPerInch), area_(area), family_(family), points_(points)
{
}

QFont ReportPages::font(const QString& family, double points, bool bold, bool italic) const
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

std::vector<ReportPages::Item> ReportPages::layOut(Band& b, double& height) const
{
    // Wrapped text grows by its lines beyond its box. An item moves down by
    // the most that anything above it in its columns (overlapping it from
    // left to right) was pushed: moved plus grown. A box or a line spanning
    // such growth stretches with it (its lower edge is pushed on its own),
    // so that a frame stays around the wrapped text inside it.
    constexpr double eps = 1e-9;
    struct Place {
        QRectF r;  // normalized
        double grow = 0;
        bool stretches = false;
        double top = 0, bottom = 0;  // how far its upper and lower edges move
        double push() const { return bottom + grow; }
    };
    const size_t n = b.entries_.size();
    std::vector<Place> at(n);
    for (size_t i = 0; i < n; ++i) {
        const Band::Entry& e = *b.entries_[i];
        at[i].r = e.item.rect.normalized();
        if (e.wrap)
            at[i].grow = std::max(0.0, e.lines.size() * e.lineHeight - at[i].r.height());
        at[i].stretches = e.item.kind == ReportItem::Line || e.item.kind == ReportItem::Box;
    }
    auto columnsMeet = [](const QRectF& a, const QRectF& c) {
        auto span = [](const QRectF& r) {
            return r.width() > eps ? std::pair(r.left(), r.right()) : std::pair(r.left() - 0.5, r.right() + 0.5);
        };
        const auto [al, ar] = span(a);
        const auto [cl, cr] = span(c);
        return std::max(al, cl) < std::min(ar, cr);
    };
    // What lies above an edge at y in an item's columns pushes it; pushes
    // only come from growth, so this settles within n rounds.
    auto pushAbove = [&](size_t self, double y) {
        double s = 0;
        for (size_t k = 0; k < n; ++k)
            if (k != self && at[k].r.bottom() <= y + eps && columnsMeet(at[k].r, at[self].r))
                s = std::max(s, at[k].push());
        return s;
    };
    for (size_t round = 0; round <= n; ++round) {
        bool changed = false;
        for (size_t i = 0; i < n; ++i) {
            const double top = pushAbove(i, at[i].r.top());
            const double bottom = at[i].stretches ? std::max(top, pushAbove(i, at[i].r.bottom())) : top;
            changed = changed || top != at[i].top || bottom != at[i].bottom;
            at[i].top = top;
            at[i].bottom = bottom;
        }
        if (!changed)
            break;
    }
    std::vector<Item> out;
    for (size_t i = 0; i < n; ++i) {
        const Band::Entry& e = *b.entries_[i];
        Item it = e.item;
        if (!e.wrap) {
            if (at[i].stretches) {
                QPointF p1 = it.rect.topLeft(), p2 = it.rect.bottomRight();  // a line's two ends
                const bool firstHigher = p1.y() <= p2.y();
                (firstHigher ? p1 : p2).ry() += at[i].top;
                (firstHigher ? p2 : p1).ry() += at[i].bottom;
                it.rect = QRectF(p1, p2);
            } else {
                it.rect.translate(0, at[i].top);
            }
            out.push_back(std::move(it));
            continue;
        }
        const double top = at[i].r.top() + at[i].top;
        for (qsizetype l = 0; l < e.lines.size(); ++l) {
            Item line = it;
            line.text = e.lines[l];
            line.rect = QRectF(at[i].r.left(), top + l * e.lineHeight, at[i].r.width(), e.lineHeight);
            out.push_back(std::move(line));
        }
    }
    double below = 0;
    for (const Place& p : at)
        if (p.r.bottom() <= height + eps)
            below = std::max(below, p.push());
    height += below;
    // A band reaches at least as far as its lowest item, so that the next
    // band never prints over it.
    for (const Item& it : out) {
        const double pen = it.kind == ReportItem::Line || it.kind == ReportItem::Box ? it.thickness / 2 : 0;
        height = std::max(height, std::max(it.rect.top(), it.rect.bottom()) + pen);
    }
    return out;
}

void ReportPages::drawFixed(const Fixed& f, double top)
{
    Band b(*this);
    f.draw(b, page());
    double h = f.height;
    for (Item& it : layOut(b, h)) {
        it.rect.translate(area_.left(), top);
        pages_.back().push_back(std::move(it));
    }
}

double ReportPages::flowTop() const { return header_.draw && !header_.top ? header_.height : 0; }

double ReportPages::flowBottom() const
{
    return area_.height() - (footer_.draw && !footer_.top ? footer_.height : 0);
}

void ReportPages::setPageHeader(double height, std::function<void(Band&, int)> draw, std::optional<double> top)
{
    header_ = {height, top, std::move(draw)};
}

void ReportPages::setPageFooter(double height, std::function<void(Band&, int)> draw, std::optional<double> top)
{
    footer_ = {height, top, std::move(draw)};
}

void ReportPages::setPageHeader(const BandDef& band, std::optional<double> top)
{
    setPageHeader(band.height, [band](Band& b, int page) {
        for (const ReportItem& it : band.items)
            b.item(it, b.pages_.values_, page);
    }, top);
}

void ReportPages::setPageFooter(const BandDef& band, std::optional<double> top)
{
    setPageFooter(band.height, [band](Band& b, int page) {
        for (const ReportItem& it : band.items)
            b.item(it, b.pages_.values_, page);
    }, top);
}

void ReportPages::newPage()
{
    if (!pages_.empty())
        footer();
    pages_.emplace_back();
    y_ = flowTop();
    cell_ = 0;
    if (header_.draw)
        drawFixed(header_, header_.top ? *header_.top : area_.top());
}

void ReportPages::footer()
{
    if (footer_.draw)
        drawFixed(footer_, footer_.top ? *footer_.top : area_.top() + area_.height() - footer_.height);
}

void ReportPages::place(std::vector<Item> items, double height)
{
    if (pages_.empty())
        newPage();
    auto put = [this](Item it) {
        it.rect.translate(area_.left(), area_.top() + y_);
        pages_.back().push_back(std::move(it));
    };
    // A band that fits on a fresh page is kept whole.
    if (y_ + height > flowBottom() && y_ > flowTop() && height <= flowBottom() - flowTop())
        newPage();
    for (;;) {
        const double room = flowBottom() - y_;
        if (height <= room || room <= 0) {
            for (Item& it : items)
                put(std::move(it));
            y_ += height;
            return;
        }
        // The page ends above the first line of text that would cross its
        // bottom; lines and boxes stay on the page where they begin.
        double cut = room;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Item& it : items)
                if (it.kind == ReportItem::Text && it.rect.top() < cut && it.rect.bottom() > cut + 1e-9) {
                    cut = it.rect.top();
                    moved = true;
                }
        }
        if (cut <= 1e-9) {
            if (y_ > flowTop()) {
                newPage();
                continue;
            }
            cut = room;  // a line taller than a page: it is cut
        }
        std::vector<Item> rest;
        for (Item& it : items) {
            if (std::min(it.rect.top(), it.rect.bottom()) < cut - 1e-9) {
                if (it.kind == ReportItem::Box)
                    it.rect.setBottom(std::min(it.rect.bottom(), cut));
                put(std::move(it));
            } else {
                it.rect.translate(0, -cut);
                rest.push_back(std::move(it));
            }
        }
        items = std::move(rest);
        height -= cut;
        newPage();
    }
}

void ReportPages::placeLabel(std::vector<Item> items)
{
    const int perPage = std::max(1, sheet_->across) * std::max(1, sheet_->down);
    if (pages_.empty() || cell_ >= perPage)
        newPage();
    const int across = std::max(1, sheet_->across);
    const double x = area_.left() + (cell_ % across) * sheet_->w;
    const double y = area_.top() + flowTop() + (cell_ / across) * sheet_->h;
    for (Item& it : items) {
        it.rect.translate(x, y);
        pages_.back().push_back(std::move(it));
    }
    ++cell_;
}

void ReportPages::skipLabels(int count)
{
    if (!sheet_ || count <= 0)
        return;
    const int perPage = std::max(1, sheet_->across) * std::max(1, sheet_->down);
    if (pages_.empty())
        newPage();
    int cell = cell_ + count;
    while (cell > perPage) {
        newPage();
        cell -= perPage;
    }
    cell_ = cell;
}

void ReportPages::print(double height, const std::function<void(Band&)>& draw)
{
    Band b(*this);
    draw(b);
    double h = height;
    std::vector<Item> items = layOut(b, h);
    if (sheet_)
        placeLabel(std::move(items));
    else
        place(std::move(items), h);
}

void ReportPages::print(const BandDef& band)
{
    print(band.height, [this, &band](Band& b) {
        for (const ReportItem& it : band.items)
            b.item(it, values_, std::max(1, page()));
    });
}

void ReportPages::setGroup(BandDef header, BandDef footer)
{
    groupHeader_ = std::move(header);
    groupFooter_ = std::move(footer);
    grouped_ = true;
}

void ReportPages::group(const QVariant& key)
{
    if (!grouped_ || (groupOpen_ && key == groupKey_))
        return;
    endGroup();
    groupKey_ = key;
    groupOpen_ = true;
    if (!groupHeader_.items.empty() || groupHeader_.height > 0)
        print(groupHeader_);
}

void ReportPages::endGroup()
{
    if (!groupOpen_)
        return;
    groupOpen_ = false;
    if (!groupFooter_.items.empty() || groupFooter_.height > 0)
        print(groupFooter_);
}

void ReportPages::finish()
{
    if (finished_)
        return;
    endGroup();
    if (!pages_.empty()) {
        footer();
        finished_ = true;
    }
}

bool ReportPages::render(QPagedPaintDevice* device) const
{
    QPainter p;
    if (!p.begin(device))
        return false;
    const double sx = device->logicalDpiX() / perInch_, sy = device->logicalDpiY() / perInch_;
    auto toDevice = [&](const QRectF& r) { return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy); };
    auto colour = [](uint32_t c) { return c == kNoColor ? QColor(Qt::black) : QColor::fromRgb(QRgb(c)); };
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (i > 0 && !device->newPage()) {
            p.end();
            return false;
        }
        for (const Item& it : pages_[i]) {
            switch (it.kind) {
            case ReportItem::Text:
            case ReportItem::PageNumber:
                p.setFont(font(it.family, it.points, it.bold, it.italic));
                p.setPen(colour(it.color));
                p.drawText(toDevice(it.rect), int(it.align) | Qt::TextSingleLine | Qt::TextDontClip, it.text);
                break;
            case ReportItem::Line:
                p.setPen(QPen(colour(it.color), std::max(1.0, it.thickness * sy)));
                p.drawLine(toDevice(it.rect).topLeft(), toDevice(it.rect).bottomRight());
                break;
            case ReportItem::Box:
                p.setPen(QPen(colour(it.color), std::max(1.0, it.thickness * sy)));
                p.setBrush(Qt::NoBrush);
                p.drawRect(toDevice(it.rect));
                break;
            case ReportItem::Image:
                p.drawImage(toDevice(it.rect), it.image);
                break;
            }
        }
    }
    return p.end();
}

// --------------------------------------------------------- destination --

namespace {
ReportDestination& destination()
{
    static ReportDestination d;
    return d;
}
} // namespace

void setReportDestination(const ReportDestination& d) { destination() = d; }
const ReportDestination& reportDestination() { return destination(); }

bool printerInstalled(const QString& name)
{
    const QString n = name.trimmed();
    if (n.isEmpty())
        return false;
    if (destination().printers.contains(n, Qt::CaseInsensitive))
        return true;
    return !QPrinterInfo::printerInfo(n).isNull();
}

namespace {

// The message that a report's own printer is not there; nothing is printed.
void printerMissing(const RequiredPrinter& p)
{
    const QString name = p.name.trimmed();
    QString text;
    if (!name.isEmpty())
        text = QStringLiteral("The printer \"%1\" is not installed, so nothing was printed.").arg(name);
    else if (!p.role.isEmpty())
        text = QStringLiteral("No %1 is set, so nothing was printed.").arg(p.role);
    else
        text = QStringLiteral("No printer is set up for this report, so nothing was printed.");
    messageBox(text, QStringLiteral("Printer Not Found"), Icon::Exclamation);
}

// The preview's own print action (its tool bar button).
QAction* printAction(QPrintPreviewDialog* preview)
{
    for (QAction* a : preview->findChildren<QAction*>())
        if (QString(a->text()).remove(QLatin1Char('&')) == QLatin1String("Print"))
            return a;
    return nullptr;
}

} // namespace

void printPages(std::shared_ptr<const ReportPages> pages, QWidget* parent, const QString& docName,
                const std::optional<RequiredPrinter>& printer, std::function<void(PrintOutcome)> done)
{
    const ReportDestination& d = reportDestination();
    std::optional<RequiredPrinter> named = printer;
    if (!named && d.output == ReportOutput::Printer && !d.printer.isEmpty())
        named = RequiredPrinter{d.printer, {}};
    // Qt would fall back to the default printer; a report meant for one
    // printer (the fax) must not come out on another.
    const bool missing = named && !printerInstalled(named->name);
    if (missing && d.output != ReportOutput::Preview) {
        printerMissing(*named);
        done(PrintOutcome::Failed);
        return;
    }
    auto device = std::make_shared<QPrinter>(QPrinter::HighResolution);
    device->setFullPage(true);
    device->setPageSize(QPageSize(pages->pageSize()));
    device->setPageOrientation(QPageLayout::Portrait);
    device->setPageMargins(QMarginsF(0, 0, 0, 0));
    device->setDocName(docName);
    if (named && !missing)
        device->setPrinterName(named->name.trimmed());
    auto failed = [docName] {
        messageBox(QStringLiteral("The report \"%1\" could not be printed.").arg(docName),
                   QStringLiteral("Print Failed"), Icon::Exclamation);
        return PrintOutcome::Failed;
    };
    auto printed = [pages, printed = d.printed] {
        if (printed)
            printed(pages);
    };
    if (d.output == ReportOutput::Pdf) {
        device->setOutputFormat(QPrinter::PdfFormat);
        device->setOutputFileName(d.pdfFile);
    }
    if (d.output != ReportOutput::Preview) {
        if (!pages->render(device.get()))
            return done(failed());
        printed();
        done(PrintOutcome::Printed);
        return;
    }
    // The preview is window-modal; printing is what the user confirms in
    // it, and the outcome is that of the last drawing (the print). Without
    // the report's printer the pages still show, and printing says why it
    // prints nothing.
    auto* preview = new QPrintPreviewDialog(device.get(), parent);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    auto lastOk = std::make_shared<bool>(true);
    auto refused = std::make_shared<bool>(false);
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, preview,
                     [pages, lastOk](QPrinter* p) { *lastOk = pages->render(p); });
    if (missing) {
        QAction* print = printAction(preview);
        if (!print) {  // no way to keep the preview from printing
            delete preview;
            printerMissing(*named);
            done(PrintOutcome::Failed);
            return;
        }
        QObject::disconnect(print, &QAction::triggered, nullptr, nullptr);
        QObject::connect(print, &QAction::triggered, preview, [preview, refused, required = *named] {
            *refused = true;
            printerMissing(required);
            preview->reject();
        });
    }
    QObject::connect(preview, &QDialog::finished, preview, [device, lastOk, refused, done, failed, printed](int result) {
        if (*refused)
            done(PrintOutcome::Failed);
        else if (result != QDialog::Accepted)
            done(PrintOutcome::Cancelled);
        else if (*lastOk) {
            printed();
            done(PrintOutcome::Printed);
        } else
            done(failed());
    });
    preview->open();
}

} // namespace ven
