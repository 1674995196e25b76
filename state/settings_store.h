// Fills the settings record from the registry at start and writes it back, walking the table of
// stored values (state/settings_table.h).
#pragma once

#include <string_view>

namespace lekta {

// Reads the start options from the vendor key into g_shell_options, and the bar mode and the
// gutter into the running reader's record.
void read_shell_options();

// Stores the program's path (UTF-8 program_path; skipped when empty), then reads every setting
// into g_settings (the bookmarks included) and derives the current day's date from them.
void load_settings(std::string_view program_path);

// Whether load_settings is under way (the record is then only partly filled).
bool settings_loading();

// Writes every stored value the record holds and makes the writes durable, freeing nothing.
// false when a write or making them durable failed.
bool write_settings();

}  // namespace lekta
