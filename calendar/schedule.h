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

// Days that read a given lesson (0: none within a century either way). A key recurs only in
// schedule years of its kind, and slots 29 to 31 of Heshvan and Kislev only in years whose
// month has the length that reads them.
int32_t first_day_reading(uint16_t key, int32_t from_day);
int32_t nearest_day_reading(uint16_t key, int32_t around_day);
// The day of the schedule year holding `day` that falls on the key's month and slot; where
// that year's month is too short for the slot, its last day, which reads the slot-31 lesson.
// 0 when the year has no such month.
int32_t day_in_cycle(uint16_t key, int32_t day);

}  // namespace lekta
