// Go ▸ Export Year to Calendar…: the current Hebrew year's lessons saved as an iCalendar file.
#pragma once

#include "platform/platform.h"

namespace lekta {

// Asks where to save and writes the file there; a failure to write is told in a message box.
void export_year(plat::Window* window);

}  // namespace lekta
