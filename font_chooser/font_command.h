// The Font command and the font choice at a first start: the chooser over the main window, then
// the new font applied to the date strip and the lesson.
#pragma once

#include "platform/platform.h"

namespace lekta {

// The Font command (menu, tool button, Ctrl+F). Only after OK: the date strip gets the new face
// and is redrawn, and the lesson is laid out again in the new font.
void choose_font_command(plat::Window* window);

// Runs the font chooser over the main window when no font was ever chosen, then applies the
// FontSpec to the view whatever button closed the dialog.
void choose_start_font(plat::Window* main_window);

}  // namespace lekta
