// The current day held in g_settings: making a day current and what the schedule says of it.
#pragma once

#include <cstdint>

namespace lekta {

// The same two questions for the current day's Hebrew date in g_settings.
bool is_leap_cycle();
uint16_t current_lesson_key();

// Makes `day` (a day number; 0: today) current in g_settings: its Hebrew date, date text and
// lesson key. `force` lets day 0 override a pinned day and keeps the last position.
void select_day(int32_t day, bool force);

}  // namespace lekta
