// The calendar as a screen reader finds it: the year, the month buttons and the days.
#pragma once

#include <vector>

#include "calendar_dialog/calendar_state.h"
#include "platform/accessible.h"

namespace lekta {

// The nodes of the open calendar (g_calendar): the year line, the months in order, the days.
void calendar_accessible_nodes(plat::Window* dialog, std::vector<plat::AccessibleNode>& nodes);
// The node of a day of the displayed month.
int32_t calendar_day_node(const CalendarState& s, int32_t day);

}  // namespace lekta
