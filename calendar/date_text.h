// A Hebrew date written as letter-code text in visual order: year, month name, day.
#pragma once

#include <cstdint>

#include "calendar/hebrew_calendar.h"

namespace lekta {

// The longest text, terminator included; the buffer must hold this many bytes.
constexpr int DATE_TEXT_MAX = 18;

// Writes the text of a Hebrew date and its terminator to `out`; returns its length without the
// terminator. Returns 0 and writes nothing when `date` or `out` is null or the date cannot be
// written: a month outside 1..12 (1..13 in a leap year), a day outside 1..30 or a year below 1.
int hebrew_date_text(const DateRecord* date, uint8_t* out);

}  // namespace lekta
