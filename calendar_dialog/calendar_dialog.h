// The Hebrew month calendar: a modal dialog that returns the day the user taps.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "state/settings.h"

namespace lekta {

// Opens the calendar on current_day (a day number; 0: today) over owner, in the face of
// font_spec (the calendar's own face when that is empty). Returns the day number of the day
// tapped, or 0 when the dialog was closed without choosing one.
int32_t choose_date(plat::Window* owner, int32_t current_day, const FontSpec& font_spec);

// The dialog procedure.
intptr_t calendar_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                              intptr_t lparam);

}  // namespace lekta
