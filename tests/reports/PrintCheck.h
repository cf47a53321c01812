// Looks at a printed report as a reader would: the words of its PDF
// (pdftotext -bbox, where each glyph really lies) against the rules, boxes
// and text boxes its pages hold. A word may not overlap another, cross a
// rule or the paper's edge, stick out of the box it was drawn in (where the
// printer cuts it off), show a "#" fill or shrink past reading; and every
// value a test seeded must be found, whole, on one page.
#pragma once

#include "WindowKit.h"

#include "platform/ReportPages.h"

#include <QFile>
#include <QPageSize>

namespace ven::test {

struct PrintedReport {
    std::vector<WindowKit::PdfWord> words;
    std::vector<QString> pageTexts;  // each page's words in reading order, one blank apart
    std::shared_ptr<const ReportPages> pages;
};

// Keeps the pages each report prints (the destination's hook).
class PrintedPages {
public:
    PrintedPages()
    {
        ReportDestination d = reportDestination();
        d.printed = [this](std::shared_ptr<const ReportPages> p) { last_ = std::move(p); };
        setReportDestination(d);
    }
    ~PrintedPages()
    {
        ReportDestination d = reportDestination();
        d.printed = {};
        setReportDestination(d);
    }
    PrintedPages(const PrintedPages&) = delete;
    PrintedPages& operator=(const PrintedPages&) = delete;

    void forget() { last_.reset(); }
    std::shared_ptr<const ReportPages> last() const { return last_; }

    // The PDF just written, read back with the pages that made it.
    PrintedReport read(const QString& pdf) const
    {
        PrintedReport r;
        r.pages = last_;
        r.words = WindowKit::pdfWords(pdf);
        for (WindowKit::PdfWord& w : r.words) {
            w.text.replace(QChar(0xFB01), QLatin1String("fi")).replace(QChar(0xFB02), QLatin1String("fl"));
            w.text.replace(QChar(0xFB00), QLatin1String("ff"));
            if (w.page > int(r.pageTexts.size()))
                r.pageTexts.resize(size_t(w.page));
            QString& t = r.pageTexts[size_t(w.page - 1)];
            t += (t.isEmpty() ? QString() : QStringLiteral(" ")) + w.text;
        }
        return r;
    }

private:
    std::shared_ptr<const ReportPages> last_;
};

// What is wrong with the printed pages, one line per fault (page, word, why).
inline QStringList printFaults(const PrintedReport& r)
{
    QStringList faults;
    if (!r.pages) {
        faults << QStringLiteral("nothing was printed");
        return faults;
    }
    const ReportPages& pages = *r.pages;
    const double mm = 25.4 / pages.unitsPerInch();
    const QSizeF paper = QPageSize(pages.pageSize()).size(QPageSize::Millimeter);
    constexpr double kSlack = 0.1;       // mm: rounding of the PDF's numbers
    constexpr double kSmallest = 2.0;    // mm: a word's height at about 5 points
    auto where = [](const WindowKit::PdfWord& w) {
        return QStringLiteral("page %1 \"%2\" (%3, %4 - %5, %6)")
            .arg(w.page).arg(w.text).arg(w.x, 0, 'f', 1).arg(w.y, 0, 'f', 1).arg(w.right, 0, 'f', 1).arg(w.bottom, 0, 'f', 1);
    };
    if (r.pageTexts.size() > size_t(pages.pageCount()))
        faults << QStringLiteral("%1 pages in the PDF, %2 laid out").arg(r.pageTexts.size()).arg(pages.pageCount());

    // Rules in mm: horizontal and vertical strokes, a box's four edges.
    struct Stroke {
        QRectF r;  // the stroke's ink
    };
    std::vector<std::vector<Stroke>> strokes(size_t(pages.pageCount()));
    std::vector<std::vector<QRectF>> boxes(size_t(pages.pageCount()));
    for (int p = 1; p <= pages.pageCount(); ++p) {
        for (const ReportPages::Item& it : pages.items(p)) {
            const QRectF u(it.rect.x() * mm, it.rect.y() * mm, it.rect.width() * mm, it.rect.height() * mm);
            const double pen = std::max(it.thickness * mm, 0.05) / 2;
            auto stroke = [&](QPointF a, QPointF b) {
                strokes[size_t(p - 1)].push_back({QRectF(a, b).normalized().adjusted(-pen, -pen, pen, pen)});
            };
            if (it.kind == ReportItem::Line)
                stroke(u.topLeft(), u.bottomRight());
            else if (it.kind == ReportItem::Box) {
                stroke(u.topLeft(), u.topRight());
                stroke(u.bottomLeft(), u.bottomRight());
                stroke(u.topLeft(), u.bottomLeft());
                stroke(u.topRight(), u.bottomRight());
            } else if (it.kind == ReportItem::Text && !it.text.isEmpty())
                boxes[size_t(p - 1)].push_back(u);
        }
    }
    auto overlap = [](const QRectF& a, const QRectF& b, double slack) {
        const QRectF i = a.intersected(b);
        return i.width() > slack && i.height() > slack;
    };
    for (size_t i = 0; i < r.words.size(); ++i) {
        const WindowKit::PdfWord& w = r.words[i];
        const QRectF box(QPointF(w.x, w.y), QPointF(w.right, w.bottom));
        if (w.page < 1 || w.page > pages.pageCount())
            continue;
        if (w.text.contains(QLatin1String("##")))
            faults << where(w) + QStringLiteral(": a number that does not fit its picture");
        if (box.left() < -kSlack || box.top() < -kSlack || box.right() > paper.width() + kSlack
            || box.bottom() > paper.height() + kSlack)
            faults << where(w) + QStringLiteral(": off the paper");
        if (box.height() < kSmallest)
            faults << where(w) + QStringLiteral(": too small to read");
        bool inside = false;
        for (const QRectF& b : boxes[size_t(w.page - 1)])
            inside = inside || b.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(box);
        if (!inside)
            faults << where(w) + QStringLiteral(": sticks out of its box (cut off)");
        for (const Stroke& s : strokes[size_t(w.page - 1)])
            if (overlap(box, s.r, kSlack))
                faults << where(w) + QStringLiteral(": crossed by a rule");
        for (size_t j = i + 1; j < r.words.size() && r.words[j].page == w.page; ++j) {  // the words come page by page
            const WindowKit::PdfWord& v = r.words[j];
            if (overlap(box, QRectF(QPointF(v.x, v.y), QPointF(v.right, v.bottom)), kSlack))
                faults << where(w) + QStringLiteral(" overlaps ") + where(v);
        }
    }
    return faults;
}

// The values that are not found whole on one page of the report.
inline QStringList missingValues(const PrintedReport& r, const QStringList& values)
{
    // Blanks are left out on both sides: a line may wrap at a hyphen, and
    // the PDF's text shows a run of blanks as one.
    auto solid = [](QString s) { return s.remove(QLatin1Char(' ')).remove(QLatin1Char('\n')).remove(QLatin1Char('\r')); };
    std::vector<QString> pages;
    for (const QString& page : r.pageTexts)
        pages.push_back(solid(page));
    QStringList missing;
    for (const QString& v : values) {
        const QString want = solid(v);
        if (want.isEmpty())
            continue;
        bool found = false;
        for (const QString& page : pages)
            found = found || page.contains(want);
        if (!found)
            missing << v.simplified();
    }
    return missing;
}

} // namespace ven::test
