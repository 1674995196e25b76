// The main window's title: the shown day at a glance in the window's frame, the task bar and
// the window switcher.
#pragma once

#include <string>

#include "calendar/hebrew_calendar.h"
#include "export/flat_text.h"

namespace lekta {

// Between the title's parts: a left-to-right mark, then a dash between spaces.
constexpr const char16_t* TITLE_SEPARATOR = u"\u200E \u2014 ";

// "lesson title — Hebrew date — 8 December 2026 — Lekta", leaving out what is empty.
std::u16string window_title(const LessonHeading& heading, const std::u16string& hebrew_date,
                            const DateRecord& civil);
// Sets the main window's title from the current day and the lesson shown.
void update_window_title();

}  // namespace lekta
