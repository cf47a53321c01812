// The text collation: one ICU collator at secondary strength (accents count,
// case does not), chosen from the settings or the environment.
#include "platform/Collation.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <QByteArray>
#include <QRegularExpression>

#include <algorithm>
#include <cstring>

#include <atomic>
#include <cstdlib>

namespace ven {
namespace {

struct Collation {
    UCollator* coll = nullptr;
    QString name;
};

// The collation in force. A replaced one is kept, never freed, because a
// connection opened before may still be comparing with it.
std::atomic<const Collation*> gCollation{nullptr};

// The locale's ICU name: the encoding and modifier dropped; C and POSIX as
// the root order (ICU would take them as a code point order).
QByteArray icuLocale(QString locale)
{
    locale = locale.trimmed();
    if (locale.isEmpty()) {
        for (const char* var : {"LC_ALL", "LC_COLLATE", "LANG"}) {
            const char* v = std::getenv(var);
            if (v && *v) {
                locale = QString::fromLocal8Bit(v);
                break;
            }
        }
    }
    const qsizetype cut = locale.indexOf(QRegularExpression("[.@]"));
    if (cut >= 0)
        locale.truncate(cut);
    if (locale.isEmpty() || locale == "C" || locale == "POSIX")
        return QByteArray();
    return locale.toLatin1();
}

const Collation* make(const QString& locale)
{
    auto* c = new Collation;
    UErrorCode err = U_ZERO_ERROR;
    c->coll = ucol_open(icuLocale(locale).constData(), &err);
    if (U_FAILURE(err)) {
        err = U_ZERO_ERROR;
        c->coll = ucol_open("", &err);
    }
    ucol_setStrength(c->coll, UCOL_SECONDARY);
    err = U_ZERO_ERROR;
    const char* actual = ucol_getLocaleByType(c->coll, ULOC_ACTUAL_LOCALE, &err);
    UVersionInfo v;
    ucol_getVersion(c->coll, v);
    char version[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(v, version);
    c->name = QString::fromLatin1(U_SUCCESS(err) && actual && *actual ? actual : "root") + ' '
              + QString::fromLatin1(version);
    return c;
}

const Collation& current()
{
    const Collation* c = gCollation.load(std::memory_order_acquire);
    if (!c) {
        const Collation* made = make(QString());
        if (gCollation.compare_exchange_strong(c, made, std::memory_order_acq_rel))
            c = made;
    }
    return *c;
}

} // namespace

void setCollation(const QString& locale)
{
    gCollation.store(make(locale), std::memory_order_release);
}

QString collationName()
{
    return current().name;
}

int collateUtf8(const char* a, int na, const char* b, int nb)
{
    while (na > 0 && a[na - 1] == ' ')
        --na;
    while (nb > 0 && b[nb - 1] == ' ')
        --nb;
    UErrorCode err = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(current().coll, a, na, b, nb, &err);
    if (U_FAILURE(err)) {  // ICU could not compare: by bytes, so the order stays whole
        const int r2 = std::memcmp(a, b, size_t(std::min(na, nb)));
        return r2 ? r2 : na - nb;
    }
    return int(r);
}

}  // namespace ven
