// The memorial days' import files: the records in day and level order
// give each level's lines, which are written when the last record is done,
// so that a cancelled run leaves the files of the last complete run.
#include "calendar/MindreelMemorials.h"

#include "calendar/FeastDays.h"
#include "calendar/FeastRun.h"
#include "calendar/MakeLitImportPr.h"
#include "core/Globals.h"
#include "data/Dictionary.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"

#include <map>

namespace ven {
namespace {

class MindreelMemorials : public FeastRun {
public:
    MindreelMemorials() : FeastRun(QStringLiteral("MindreelMemorials"), VenSaint, {}, false)
    {
        setKey(AST::SAINTS_KEY);
        year_ = int(calendarDateUnchecked(clock().today()).year());
    }

protected:
    bool takeRecord(Record& r) override
    {
        const int level = int(r.num(AST::LEVEL));
        auto& lines = lines_[level];
        // Day 366 of a common year has no date in this year's file.
        if (const auto date = memorialDate(year_, r.num(AST::DAYNO)))
            lines << importLine(*date, r.str(AST::NAMES));
        showProgress();
        return true;
    }

    void runEnded() override
    {
        QStringList failures, notices;
        for (int level = 0; level < kSets; ++level)
            lines_.try_emplace(level);  // a level without days keeps no file of an earlier run
        for (const auto& [level, lines] : lines_) {
            TextFileName = memorialImportFile(year_, level);
            failures << writeImportFile(TextFileName, lines, &notices);
            TextFileName.clear();
        }
        close(tellImportRun(failures, notices) ? RequestCompleted : RequestCancelled);
    }

private:
    int year_ = 0;
    std::map<int, QStringList> lines_;
};

} // namespace

std::unique_ptr<WindowController> makeMindreelMemorials(const QString&)
{
    return std::make_unique<MindreelMemorials>();
}

} // namespace ven
