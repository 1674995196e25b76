// The daily schedule: which lesson belongs to a Hebrew date, and making a day current.
#pragma once

#include <cstdint>

#include "calendar/hebrew_calendar.h"

namespace lekta {

// Lesson key bits: day slot in bits 0..7, Hebrew month in bits 8..11, leap cycle in bit 12.
constexpr uint16_t LESSON_KEY_LEAP_CYCLE = 0x1000;
// Day slot of the lesson read on day 29 of a 29-day Heshvan or Kislev.
constexpr int32_t SHORT_MONTH_SLOT = 31;

// Whether the schedule year holding `date` (it starts on 19 Kislev) has two Adars.
bool is_leap_cycle_date(const DateRecord& date);
// The lesson key of a Hebrew date, leap-cycle bit included.
uint16_t lesson_key_of_date(const DateRecord& date);

}  // namespace lekta
