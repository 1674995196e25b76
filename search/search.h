// The search over the year's lessons: from just after the last hit (or the top of the page on
// screen) through the following lessons, wrapping round to the current one. A hit in another
// lesson makes that lesson's day current; every hit is shown at the top of the view,
// highlighted, with the lesson's caption box.
#pragma once

#include <cstdint>
#include <span>

#include "platform/platform.h"
#include "search/match.h"
#include "view/text_view.h"

namespace lekta {

// Runs after a hit has been shown: the Bookmark menu check follows the lesson. Filled in by
// the shell.
extern void (*g_search_shown_hook)();

// The search string of g_settings without its terminator (at most 33 bytes).
std::span<const uint8_t> search_string();

// Where the search in the view's lesson starts: past the highlighted hit in reading order, or
// at the line on top of the page when nothing on that page is highlighted.
uint32_t resume_position(const TextView& view);

// The next hit of the search string; owner owns the "Not Found!" box. 1 when a hit is shown,
// 0 otherwise (an empty search string: nothing at all).
int search_next(plat::Window* owner);

// The first day from the current one on that reads the lesson of key; for a key no day reads,
// the date of its month and slot this year when it comes later in the cycle, else in the first
// year ahead whose kind of cycle is the key's.
int32_t day_of_lesson_ahead(uint16_t key);

// Shows a hit of the view's text: top line, highlight, caption box. 1 when shown.
int show_hit(TextView* view, Hit hit);

}  // namespace lekta
