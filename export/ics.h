// A Hebrew year's lessons as an iCalendar file (RFC 5545), for any calendar program: one
// all-day event per day, the lesson's title and subtitle as its summary, the Hebrew date as
// its description. Each event's UID names its Hebrew date, so importing the year again
// updates the events rather than adding them twice.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lekta {

// The Hebrew year a day number falls in.
int32_t hebrew_year_of(int32_t day_number);
// The calendar of every day of hebrew_year (1 Tishri to the last of Elul) whose lesson the
// current book holds; stamp is the creation time as YYYYMMDDTHHMMSSZ.
std::string year_calendar(int32_t hebrew_year, std::string_view stamp);
// The time now in UTC as iCalendar writes it: 20261208T193000Z.
std::string ics_stamp_now();
// Escapes a TEXT value: backslash, semicolon, comma and line ends.
std::string ics_text(std::string_view text);
// Folds a content line to lines of at most 75 octets, never inside a UTF-8 sequence; each
// line ends with CR LF.
std::string ics_line(std::string_view line);

}  // namespace lekta
