// Fills the settings record from the registry at start and writes it back at the end.
#pragma once

#include <string_view>

namespace lekta {

// Writes "Program Path" (UTF-8 program_path; skipped when empty), then reads every setting into
// g_settings, then the bookmarks.
void load_settings(std::string_view program_path);

// Whether load_settings is under way (the record is then only partly filled).
bool settings_loading();

// Writes the settings and the bookmarks and makes them durable, freeing nothing. false when a
// write or making them durable failed.
bool write_settings();

// The end of a run: writes the settings, frees the view, writes and frees the bookmarks, makes
// the writes durable and posts the quit message. Safe to run again.
// When the settings could not be saved, says so on standard error, once.
void save_settings_and_quit();

}  // namespace lekta
