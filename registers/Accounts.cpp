#include "registers/Accounts.h"

#include "core/Money.h"
#include "data/Dictionary.h"
#include "platform/Numbering.h"
#include "platform/RecordFilter.h"

namespace ven {

std::vector<BrowseColumn> accountColumns()
{
    // The stored totals are written from whole cents; the picture's two
    // decimals show them exactly. A total sums many entries and goes below
    // zero: its picture holds a sign and up to -99,999,999.99.
    auto amount = BrowseColumn::ofField(ACC::AMOUNT, QStringLiteral("Amount"), 56, QStringLiteral("n-14.2"));
    return {BrowseColumn::ofField(ACC::TYPE, QStringLiteral("A"), 10, QStringLiteral("s1")),
            BrowseColumn::ofField(ACC::NUMBER, QStringLiteral("cc"), 14, QStringLiteral("n02")),
            BrowseColumn::ofField(ACC::NAME, QStringLiteral("Name"), 124, QStringLiteral("s30")), amount};
}

std::unique_ptr<BrowseList> accountList(WindowController& window)
{
    auto list = std::make_unique<BrowseList>(window, VenAcc, accountColumns());
    list->setSheet(QStringLiteral("Sheet"));
    list->setRowColours(accountColours);
    list->setSelectionColours(QColor(255, 255, 128), QColor());
    return list;
}

CellColours accountColours(const Record& account)
{
    const QColor text = centsField(account, ACC::AMOUNT) < 0 ? QColor(Qt::red) : QColor(Qt::blue);
    return CellColours{text, QColor(Qt::white), text, QColor(255, 255, 128)};
}

int freeAccountNumber(const QString& type, int from)
{
    Record others(&VenAcc);
    others.clear();
    others.set(ACC::TYPE, type);
    from = std::clamp(from, 1, 99);
    const int64_t n = freeNumber(VenAcc, ACC::NUMBER, ACC::ACCOUNT_KEY, from, &others);
    if ((n >= 1 && n <= 98) || (from == 99 && n == 99))
        return int(n);
    if (n == 0)
        return 0;
    const int64_t low = freeNumber(VenAcc, ACC::NUMBER, ACC::ACCOUNT_KEY, 1, &others);
    return low >= 1 && low <= 98 ? int(low) : 0;
}

bool setListFilter(BrowseList& list, const FileDef& def, const QString& text, const std::map<QString, Value>& names)
{
    std::optional<RecordFilter> f = RecordFilter::parse(def, text, names);
    if (!f) {
        list.setFilter([](const Record&) { return false; });
        return false;
    }
    list.setFilter([f = *f](const Record& r) { return f.matches(r); });
    return true;
}

} // namespace ven
