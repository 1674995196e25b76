// Every change of the lesson shown: the first lesson when the main window opens, a move to any
// day, and a move to the date on which a section of the index is studied.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lekta {

// Whether the current day's lesson can be shown: a leap-cycle day needs a book that carries
// the leap-cycle arrangement.
bool lesson_reachable();

// Creates the text view over the main window's frame and shows the current day's lesson: at
// the stored position when that position was saved on this lesson, else at its top. 0 when it
// shows a lesson, 1 when the view could not be made, otherwise the result of the error message
// box (the view then stays empty).
int open_lesson_view(plat::Window* main_window);

// Makes the day current (0: today) and shows its lesson from the top. 0 on success; otherwise
// the previous day is current again, the view keeps its lesson, and the result of the error
// message box is returned.
int go_to_day(plat::Window* owner, int32_t day);

// Goes to the day on which the section's lesson is read. With a book of both arrangements:
// the day of the schedule year being read; otherwise the date in the current Hebrew year (or
// the next one in which the key's kind of cycle holds that date). A slot the month lacks that
// year leads to the lesson read in its place, on the month's last day. As go_to_day.
int go_to_section(plat::Window* owner, uint16_t key);
// Goes to the day nearest the current one that reads exactly the bookmarked lesson.
int go_to_bookmark(plat::Window* owner, uint16_t key);

}  // namespace lekta
