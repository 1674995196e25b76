// Drawing the calendar through the dialog's kept dc: the month buttons, the day grid, the
// highlighted month and marked day, and the year line with its arrows.
#pragma once

#include "calendar_dialog/calendar_state.h"

namespace lekta {

void paint_calendar(CalendarState& s);
// One day's cell, plain (black on white) or highlighted (white on black).
void draw_day_cell(CalendarState& s, int32_t day, bool highlighted);

}  // namespace lekta
