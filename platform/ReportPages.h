// Report pages: bands laid out on pages in a report's own units, declared
// as data (items at places in a band) or drawn by a function, and sent to
// the print preview, a printer or a PDF file.
//
// Geometry is kept in the report's units (any number per inch, so
// millimetres are exact) and turned into device points only when a page is
// drawn, so nothing accumulates rounding. GUI thread only.
#pragma once

#include "platform/WindowDef.h"

#include <QImage>
#include <QPageSize>
#include <QRectF>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QPagedPaintDevice;
class QWidget;

namespace ven {

// Units per inch of the two scales reports use.
inline constexpr double kThousandthsOfAnInch = 1000.0;
inline constexpr double kMillimetres = 25.4;

// The value a band item shows, by the name in its `use` ("STI:ORG", "DayLine").
using ReportValues = std::function<QVariant(const QString& name)>;

// One thing a band prints, at a place in report units from the band's top
// left corner.
struct ReportItem {
    enum Kind : uint8_t {
        Text,        // one line cut to its box; `wrap` makes it as many lines as it needs
        Line,        // from (x, y) to (x + w, y + h)
        Box,         // a frame around the rectangle
        Image,       // a picture file, at its own size, shrunk to fit the box keeping its shape
        PageNumber,  // `text` followed by the page number
    };
    Kind kind = Text;
    double x = 0, y = 0, w = 0, h = 0;  // a one-line text larger than its box prints smaller, to fit it
    const char* use = "";      // Text, Image: the value shown (a text, number or picture file name)
    const char* text = "";     // Text: the constant shown when there is no `use`; Image: a file name
    const char* picture = "";  // Text: how the value shows ("s40" cuts it to 40 characters, "D06-B")
    FontDef font{};            // nullptr family, 0 points: the report's
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
    bool wrap = false;         // Text: wraps at the box's width; the band grows by the extra lines
    double thickness = 10;     // Line, Box: pen width in units
    uint32_t color = kNoColor; // text or pen colour 0xRRGGBB, black when none
};

// A band: its height (it grows with wrapped text, and reaches at least as
// far as its lowest item), its width (labels; 0 the report area's), and its
// items.
struct BandDef {
    double height = 0;
    double width = 0;
    std::vector<ReportItem> items;
};

// A grid of labels on a sheet: detail bands of w x h fill `across` columns
// left to right, then row under row; a page holds `down` rows.
struct LabelSheet {
    double w = 0, h = 0;
    int across = 1, down = 1;
};

// A picture of `own` size shrunk to fit in `box` keeping its shape: a
// height above the box's becomes the box's, then a width above the box's
// becomes the box's. Smaller pictures keep their size.
QSizeF fitPicture(QSizeF own, QSizeF box);

class ReportPages {
public:
    ReportPages(double unitsPerInch, const QRectF& area, const QString& family = QStringLiteral("Tahoma"),
                double points = 10);

    // An item as it is placed on a page: units from the paper's top left
    // corner; a text's size is the one it prints in (fitted to its box).
    struct Item {
        ReportItem::Kind kind = ReportItem::Text;
        QRectF rect;
        QString text;
        QString family;
        double points = 0;
        bool bold = false, italic = false;
        Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
        double thickness = 0;
        uint32_t color = kNoColor;
        QImage image;
    };

    // What a band draws, in units from its own top left corner.
    class Band {
    public:
        // One line in its box; a text wider or taller than the box (in the
        // font found on this system) prints in the smaller size that fits.
        void text(double x, double y, double w, double h, const QString& s, double points = 0, bool bold = false,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
        // Text wrapped at the width: the band grows by the lines beyond `h`,
        // what lies below the text in its columns moves down with it, and a
        // box or line around it stretches.
        void wrapped(double x, double y, double w, double h, const QString& s, double points = 0, bool bold = false);
        void line(double x1, double y1, double x2, double y2, double thickness = 10);
        void box(double x, double y, double w, double h, double thickness = 10);
        void image(double x, double y, double w, double h, const QString& file);
        // A declared item, its value taken from `values`.
        void item(const ReportItem& item, const ReportValues& values, int page = 0);

    private:
        friend class ReportPages;
        struct Entry;
        explicit Band(ReportPages& pages);
        // `style` gives the font, alignment and colour; its rect and text are set here.
        void addText(const QRectF& r, const QString& s, Item style);
        void addWrapped(const QRectF& r, const QString& s, Item style);
        Item style(double points, bool bold) const;
        ReportPages& pages_;
        std::vector<std::shared_ptr<Entry>> entries_;
    };

    // The paper (A4 unless the report sets another), always portrait.
    void setPageSize(QPageSize::PageSizeId id) { pageSize_ = id; }
    QPageSize::PageSizeId pageSize() const { return pageSize_; }
    double unitsPerInch() const { return perInch_; }
    const QRectF& area() const { return area_; }

    // Where declared bands take their values (a report's record and its own values).
    void setValues(ReportValues values) { values_ = std::move(values); }

    // The page header and footer. A height alone puts the band inside the
    // report area (the header at its top, the footer at its bottom); a
    // `top` (units from the paper's top edge) puts it there, outside the
    // area's flow.
    void setPageHeader(double height, std::function<void(Band&, int page)> draw, std::optional<double> top = {});
    void setPageFooter(double height, std::function<void(Band&, int page)> draw, std::optional<double> top = {});
    void setPageHeader(const BandDef& band, std::optional<double> top = {});
    void setPageFooter(const BandDef& band, std::optional<double> top = {});

    // Detail bands become labels on sheets.
    void setLabelSheet(const LabelSheet& sheet) { sheet_ = sheet; }
    // Leaves the next `count` labels empty (the used ones of a sheet).
    void skipLabels(int count);

    // A group: `group(key)` before each detail band; a key other than the
    // last one prints the footer of the group that ends and the header of
    // the one that begins. Both take the values as they are at that call.
    void setGroup(BandDef header, BandDef footer);
    void group(const QVariant& key);
    // Prints the open group's footer now (a report whose footer must show
    // the ending group's values calls it before changing them).
    void endGroup();

    // Prints a band of `height` units (it grows with wrapped text). A band
    // that does not fit on the page starts a new one; a band taller than a
    // page fills the page and goes on at the top of the next.
    void print(double height, const std::function<void(Band&)>& draw);
    void print(const BandDef& band);
    // Ends the last group and page; the report does it after its last record.
    void finish();
    int pageCount() const { return int(pages_.size()); }
    int page() const { return int(pages_.size()); }
    // What page `page` (from 1) holds, in the order it is drawn.
    const std::vector<Item>& items(int page) const { return pages_.at(size_t(page - 1)); }
    // Draws every page on a paged device (printer, PDF writer, preview);
    // false when the painter could not begin on it.
    bool render(QPagedPaintDevice* device) const;

private:
    struct Fixed {  // a page header or footer
        double height = 0;
        std::optional<double> top;
        std::function<void(Band&, int)> draw;
    };
    std::vector<Item> layOut(Band& b, double& height) const;
    void place(std::vector<Item> items, double height);
    void placeLabel(std::vector<Item> items);
    void drawFixed(const Fixed& f, double top);
    void newPage();
    void footer();
    double flowTop() const;     // where bands begin on a page, from the area's top
    double flowBottom() const;  // where they must end
    QFont font(const QString& family, double points, bool bold, bool italic) const;

    double perInch_;
    QRectF area_;
    QString family_;
    double points_;
    QPageSize::PageSizeId pageSize_ = QPageSize::A4;
    ReportValues values_;
    std::vector<std::vector<Item>> pages_;
    double y_ = 0;  // next free line of the current page, from the area's top
    Fixed header_, footer_;
    bool finished_ = false;
    std::optional<LabelSheet> sheet_;
    int cell_ = 0;  // the next label of the current page
    BandDef groupHeader_, groupFooter_;
    bool grouped_ = false, groupOpen_ = false;
    QVariant groupKey_;
};

// Where reports go at their end.
enum class ReportOutput : uint8_t { Preview, Printer, Pdf };
struct ReportDestination {
    ReportOutput output = ReportOutput::Preview;
    QString printer;       // Printer: the printer used when the report names none, "" the default
    QString pdfFile;       // Pdf: the file written
    QStringList printers;  // names taken as installed besides the system's (tests)
    // Told of the pages each time they went to the printer or the PDF file
    // (tests read what each page holds).
    std::function<void(std::shared_ptr<const ReportPages>)> printed;
};
// The process-wide destination of reports (tests write PDF files).
void setReportDestination(const ReportDestination& d);
const ReportDestination& reportDestination();

// True when a printer of that name is installed (or listed in the destination).
bool printerInstalled(const QString& name);

enum class PrintOutcome : uint8_t { Printed, Cancelled, Failed };

// The printer a report must print on, and what it is to the user ("fax
// printer"; blank: a printer for this report).
struct RequiredPrinter {
    QString name;
    QString role;
};

// Sends finished pages to the report destination: the preview (window-
// modal on `parent`, printing what the user confirms), the printer or the
// PDF file. `printer` names the printer the report must print on: an
// unknown or blank name prints nothing and says so, in the preview when
// the user asks it to print; no name prints on the default printer. A
// painter that cannot begin shows a message and the outcome is Failed.
// `done` runs once at the end (maybe at once).
void printPages(std::shared_ptr<const ReportPages> pages, QWidget* parent, const QString& docName,
                const std::optional<RequiredPrinter>& printer, std::function<void(PrintOutcome)> done);

} // namespace ven
