// The --print mode: the current day's date and lesson as UTF-8 text in reading order.
#pragma once

#include <cstdio>

namespace lekta {

// Writes the date text of the current day and then its lesson, a line per paragraph, to out.
// When the lesson cannot be reached, writes the reader's message to err and returns 1; else 0.
int print_lesson(std::FILE* out, std::FILE* err);

}  // namespace lekta
