// The end of a run: the settings written, the view and the bookmarks released, the loop told to
// end.
#pragma once

namespace lekta {

// Notes the view's top row as the stored position, then writes the settings (write_settings).
// false when they could not be saved.
bool save_settings();

// The end of a run: writes the settings, frees the view, frees the bookmarks and posts the quit
// message. Safe to run again. When the settings could not be saved, says so on standard error,
// once.
void save_settings_and_quit();

}  // namespace lekta
