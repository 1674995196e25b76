// Start-up and the outermost control flow: the start-up options, one running copy, the main
// window, the message loop, and the program-wide out-of-memory stop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "shell/command_line.h"

namespace lekta {

// Tells the user that memory ran out, writes the settings and asks the loop to end. Nothing is
// freed here: callers up the stack may still hold the view; the window's end frees it.
void out_of_memory_stop();

// Makes the main window: one running copy, settings loaded, start day chosen (start_day is a
// day number to pin, 0 for the usual choice with the today flag), window created and shown.
// Null when another copy runs (it has been told) or the window could not be made.
plat::Window* init_instance(int32_t start_day, const char* program_path);

// The start day: start_day pinned when nonzero, else today or the pinned stored day. The
// lesson is always the start day's, whatever the settings held.
void choose_start_day(int32_t start_day, bool today_flag);

// The day --date names, or 0.
int32_t start_day_of(const CommandLine& line);
// For --print: the settings read (nothing written) and the day the window would open on made
// current, the pinned day included.
void choose_print_day(const CommandLine& line);

// What a launch hands over to a copy already running: "day N" for --date, "today" for
// "/today", nothing otherwise.
std::string hand_over_words(int32_t start_day, bool today_flag);
// The day the words ask for (0: today); none for a plain launch or words that are not ours.
std::optional<int32_t> handed_over_day(const std::string& words);

// Runs in the first copy when a later launch hands over. A plain launch: the window in front
// with no dialog goes to today; a window behind others comes to the front; an open dialog
// keeps it as it is. A launch with a day: the window goes to that day (unless a dialog is
// open) and comes to the front.
void handle_second_launch(const char* words);

// The whole GUI run; returns the exit code. With --screenshot: the window is saved as a picture
// once it has painted, and the program ends as after Exit (0, or 1 when the image failed).
int run_gui(const CommandLine& line, const char* program_path);

// The running program file's absolute path (argv0 made absolute when the system won't say).
std::string executable_path(const char* argv0);

}  // namespace lekta
