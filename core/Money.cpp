#include "core/Money.h"

#include "platform/Picture.h"

#include <cmath>

namespace ven {

std::optional<Cents> parseCents(QStringView text)
{
    QString t = text.trimmed().toString();
    if (t.isEmpty())
        return Cents(0);
    bool negative = false;
    if (t.startsWith(u'-')) {
        negative = true;
        t = t.mid(1).trimmed();
    }
    Cents whole = 0;
    int digits = 0, decimals = 0;
    Cents fraction = 0;
    bool point = false;
    for (QChar c : t) {
        if (c == u'.') {
            if (point)
                return std::nullopt;
            point = true;
        } else if (c.isDigit() && c.unicode() < 128) {
            const int d = c.unicode() - '0';
            if (point) {
                if (++decimals > 2)
                    return std::nullopt;
                fraction = fraction * 10 + d;
            } else {
                if (++digits > 15)
                    return std::nullopt;
                whole = whole * 10 + d;
            }
        } else if ((c == u',' || c == u' ') && !point && digits > 0) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 && decimals == 0)
        return std::nullopt;
    if (decimals == 1)
        fraction *= 10;
    const Cents cents = whole * 100 + fraction;
    return negative ? -cents : cents;
}

QString formatCents(Cents cents, QStringView picture)
{
    // cents / 100 is the double nearest the decimal value; the picture's
    // two decimals round it back to the exact cents.
    return formatNumber(storedOf(cents), picture);
}

double storedOf(Cents cents) { return double(cents) / 100.0; }

Cents centsOf(double stored)
{
    if (!std::isfinite(stored))
        return 0;
    return Cents(std::llround(stored * 100.0));
}

Binding bindCents(Cents& cents)
{
    return Binding{[&cents] { return QVariant(storedOf(cents)); },
                   [&cents](const QVariant& v) {
                       // The picture has read the typed text to the double
                       // nearest it; two decimals round back to exact cents.
                       if (v.typeId() == QMetaType::QString) {
                           if (auto c = parseCents(v.toString()))
                               cents = *c;
                       } else {
                           cents = centsOf(v.toDouble());
                       }
                   }};
}

} // namespace ven
