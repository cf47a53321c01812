// The sound-effects list: alphabetical, with a locator on the name.
#include "calendar/SoundsBrw.h"

#include "calendar/SoundsFrm.h"
#include "data/Dictionary.h"
#include "platform/BrowseList.h"

namespace ven {
namespace {

const WindowDef kSoundsBrwDef{
    .title = "Browse Sound Effects",
    .w = 244,
    .h = 188,
    .icon = "Vendrolix.ico",
    .controls = {
        {.name = "Sheet", .kind = Kind::Sheet, .x = 4, .y = 4, .w = 236, .h = 160},
        {.name = "Alphabetical", .kind = Kind::Tab, .text = "Alphabetical order", .parent = "Sheet"},
        {.name = "List", .kind = Kind::List, .x = 8, .y = 20, .w = 228, .h = 140},
        {.name = "Select", .kind = Kind::Button, .text = "&Select", .x = 4, .y = 170, .w = 36, .h = 14, .flags = Hidden},
        {.name = "Insert", .kind = Kind::Button, .text = "&Insert", .x = 4, .y = 170, .w = 36, .h = 14},
        {.name = "Change", .kind = Kind::Button, .text = "&Change", .x = 43, .y = 170, .w = 36, .h = 14, .flags = Default},
        {.name = "Delete", .kind = Kind::Button, .text = "&Delete", .x = 82, .y = 170, .w = 36, .h = 14},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 164, .y = 170, .w = 36, .h = 14, .closes = RequestCancelled},
        {.name = "Help", .kind = Kind::Button, .text = "Help", .x = 204, .y = 170, .w = 36, .h = 14, .flags = HelpButton},
    }};

class SoundsBrw : public WindowController {
public:
    SoundsBrw() : WindowController(QStringLiteral("SoundsBrw"), kSoundsBrwDef) {}

protected:
    bool setUp() override
    {
        auto list = std::make_unique<BrowseList>(
            *this, VenWav,
            std::vector<BrowseColumn>{BrowseColumn::ofField(WAV::FILENAME, "Name", 90, "s127"),
                                      BrowseColumn::ofField(WAV::FILEPATH, "Path", 130, "s127")});
        list->addOrder(WAV::NAME_KEY, WAV::FILENAME);
        list->setSheet(QStringLiteral("Sheet"));
        list->setForm([] { return makeSoundsFrm({}); });
        addPart(std::move(list));
        return true;
    }
};

} // namespace

std::unique_ptr<WindowController> makeSoundsBrw(const QString&)
{
    return std::make_unique<SoundsBrw>();
}

} // namespace ven
