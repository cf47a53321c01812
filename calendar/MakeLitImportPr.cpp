// The feasts' import files: every feast read once, then for each language
// the dates of the year whose church-year day code it names.
#include "calendar/MakeLitImportPr.h"

#include "calendar/FeastDays.h"
#include "core/DateHelpers.h"
#include "core/FreshTextFile.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"

#include <QFile>

#include <array>
#include <map>

namespace ven {
namespace {

const WindowDef kNoWindow{.title = "", .w = 0, .h = 0};

class MakeLitImportPr : public WindowController {
public:
    MakeLitImportPr() : WindowController(QStringLiteral("MakeLitImportPr"), kNoWindow) {}

protected:
    // The whole run happens here; no window opens.
    bool setUp() override
    {
        RESPONSE = RequestCancelled;
        if (Status st = openFile(VenLit); !st) {
            messageBox(st.errorText.isEmpty() ? st.text : st.errorText);
            return false;
        }
        Status st;
        QStringList notices;
        const QStringList failures =
            writeFeastImportFiles(file(VenLit), int(calendarDateUnchecked(clock().today()).year()), st, &notices);
        if (!st) {
            messageBox(st.errorText.isEmpty() ? st.text : st.errorText);
            return false;
        }
        TextFileName.clear();
        if (tellImportRun(failures, notices)) {
            messageBox(QStringLiteral("Done!"));
            RESPONSE = RequestCompleted;
        }
        return false;
    }
};

} // namespace

QString importFilePath(const QString& name)
{
    return Program_Path.isEmpty() ? name : joinPath(Program_Path, name);
}

QStringList writeImportFile(const QString& name, const QStringList& lines, QStringList* notices)
{
    const QString path = importFilePath(name);
    QStringList out;
    if (notices)
        for (const QString& l : lines)
            if (const QString lacks = westernLacks(l); !lacks.isEmpty()) {
                const QString text = l.section(QChar(0xFE), 6).trimmed();
                const QString n = name + QStringLiteral(": \"") + text + QStringLiteral("\" (") + lacks + u')';
                if (!notices->contains(n))  // a feast of many days is named once
                    *notices << n;
            }
    if (lines.isEmpty()) {
        if (QFile::exists(path) && !QFile::remove(path))
            out << name + QStringLiteral("|The file of an earlier run could NOT be removed");
        return out;
    }
    for (const QString& m : WriteTextLinesAfresh(path, lines, LineCoding::Western).messages)
        out << name + QLatin1Char('|') + m;
    return out;
}

bool tellImportRun(const QStringList& failures, const QStringList& notices)
{
    if (!failures.isEmpty()) {
        messageBox(failures.join(QLatin1Char('|')) + QStringLiteral("||Not all import files could be written."),
                   QStringLiteral("Error!"), Icon::Stop);
        return false;
    }
    if (!notices.isEmpty()) {
        // At most a screenful of lines; the count says how many there are.
        constexpr int kShown = 12;
        QStringList shown = notices.mid(0, kShown);
        if (notices.size() > kShown)
            shown << QStringLiteral("... and %1 more").arg(notices.size() - kShown);
        messageBox(QStringLiteral("The import files' code page (Windows-1252) lacks some characters of these names;|"
                                  "they are written as \"?\":||")
                       + shown.join(QLatin1Char('|')),
                   QStringLiteral("Characters Not Written"), Icon::Exclamation);
    }
    return true;
}

QStringList writeFeastImportFiles(KeyedFile& lit, int year, Status& read, QStringList* notices)
{
    std::array<std::map<uint8_t, QString>, kSets> names;
    Status st = lit.set();
    while (st && (st = lit.next()))
        if (const int64_t language = lit.rec().num(LIT::LANGUAGE); language < kSets)
            names[size_t(language)][uint8_t(lit.rec().num(LIT::FEAST))] = lit.rec().str(LIT::NAME);
    read = st.code == Err::EndOfFile ? Status{} : st;
    QStringList failures;
    if (!read)
        return failures;
    for (int language = 0; language < kSets; ++language) {
        TextFileName = feastImportFile(year, language);
        failures << writeImportFile(TextFileName, feastImportLines(year, names[size_t(language)]), notices);
    }
    return failures;
}

std::unique_ptr<WindowController> makeMakeLitImportPr(const QString&)
{
    return std::make_unique<MakeLitImportPr>();
}

} // namespace ven
