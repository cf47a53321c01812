// The project and meeting reports' detail band.
#include "calendar/EventBand.h"

namespace ven {

const BandDef& eventBand()
{
    static const BandDef band{.height = 820, .items = {
        {.x = 0, .y = 0, .w = 500, .h = 200, .text = "From:"},
        {.x = 500, .y = 0, .w = 1100, .h = 200, .use = "DRY:BDATE", .picture = "D010-B", .font = {.bold = true}},
        {.x = 1650, .y = 0, .w = 600, .h = 200, .use = "DRY:BTIME", .picture = "T01.B", .font = {.bold = true}},
        {.x = 2350, .y = 0, .w = 350, .h = 200, .text = "to:"},
        {.x = 2700, .y = 0, .w = 1100, .h = 200, .use = "DRY:EDATE", .picture = "D010-B", .font = {.bold = true}},
        {.x = 3850, .y = 0, .w = 600, .h = 200, .use = "DRY:ETIME", .picture = "T01.B", .font = {.bold = true}},
        {.x = 6000, .y = 0, .w = 1104, .h = 200, .use = "Duration", .align = Qt::AlignRight | Qt::AlignTop},
        {.x = 0, .y = 230, .w = 7104, .h = 200, .use = "DRY:LEGEND", .font = {.bold = true}, .wrap = true},
        {.x = 0, .y = 440, .w = 7104, .h = 150, .use = "DRY:DOCUMENT", .font = {.points = 8}, .wrap = true},
        {.x = 0, .y = 610, .w = 7104, .h = 170, .use = "DRY:MEMORANDUM", .wrap = true},
    }};
    return band;
}

} // namespace ven
