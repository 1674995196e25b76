#include "shell/startup.h"
#include "shell/zoom.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "font_chooser/font_command.h"
#include "shell/main_window.h"
#include "shell/navigation.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "state/settings_store.h"

namespace lekta {
namespace {

bool g_screenshot_painted = false;

// The main window's procedure for a screenshot run: ends the loop once the window has painted.
intptr_t screenshot_window_proc(plat::Window* window, uint32_t message, uintptr_t wparam,
                                intptr_t lparam) {
    const intptr_t result = main_window_proc(window, message, wparam, lparam);
    if (message == plat::WM_PAINT && !g_screenshot_painted) {
        g_screenshot_painted = true;
        plat::post_quit_message(0);
    }
    return result;
}

// A user's run (interactive) is the one copy and asks for a font when none was ever chosen; a
// screenshot run does neither.
plat::Window* start_window(int32_t start_day, const char* program_path, plat::WindowProc proc,
                           bool interactive) {
    if (interactive) {
        // Another copy has been told of this launch and takes it from here.
        const std::string words = hand_over_words(start_day, g_reader.today_flag);
        if (!plat::claim_single_instance(MAIN_CLASS_NAME, words.c_str())) return nullptr;
        plat::set_second_launch_handler(handle_second_launch);
    }
    load_settings(program_path ? program_path : "");
    choose_start_day(start_day, g_reader.today_flag);

    plat::WindowSpec params;
    params.class_name = MAIN_CLASS_NAME;
    params.title = MAIN_TITLE;
    params.proc = proc;
    params.vscroll = (g_settings.flags & FLAG_SCROLLBAR) != 0;
    // A desktop has no task bar of its own to hide: full screen is the window's state alone.
    params.full_screen = g_shell_options.full_screen != 0;
    const Settings& s = g_settings;
    if (s.window_width > 0 && s.window_height > 0)
        params.placement = {s.window_left, s.window_top, s.window_left + s.window_width,
                            s.window_top + s.window_height};
    plat::Window* window = plat::create_main_window(params);
    if (!window) return nullptr;
    g_reader.main_window = window;
    plat::show_window(window);
    if (interactive && g_settings.font_spec.face_name[0] == 0) choose_start_font(window);
    note_start_font_size(g_settings.font_spec.font_size);
    return window;
}

}  // namespace

void choose_start_day(int32_t start_day, bool today_flag) {
    Settings& s = g_settings;
    // A pin without a day would keep no day at all: start as without the pin, on today.
    if (s.current_day == 0) s.flags &= ~FLAG_DAY_PINNED;
    if (start_day != 0)
        select_day(start_day, true);
    else
        select_day(0, today_flag);
    if (start_day == 0 && (s.flags & FLAG_DAY_PINNED) && !lesson_reachable()) {
        // A leap-cycle day pinned with a book that has those lessons, started with one that has
        // not: it could never be shown, so today is.
        s.flags &= ~FLAG_DAY_PINNED;
        select_day(0, false);
    }
    // A kept day keeps the stored lesson, which may be another day's or none: the day decides.
    s.current_lesson = current_lesson_key();
}

plat::Window* init_instance(int32_t start_day, const char* program_path) {
    return start_window(start_day, program_path, main_window_proc, true);
}

std::string hand_over_words(int32_t start_day, bool today_flag) {
    if (start_day != 0) return "day " + std::to_string(start_day);
    return today_flag ? "today" : "";
}

void handle_second_launch(const char* words) {
    plat::Window* window = g_reader.main_window;
    if (!window) return;
    const std::optional<int32_t> day = handed_over_day(words ? words : "");
    if (!day) {
        // A plain launch: the copy in front goes to today, one behind comes forward.
        if (plat::modal_dialog_open()) return;
        if (plat::is_foreground(window))
            plat::send_message(window, plat::WM_COMMAND, CMD_TODAY, 0);
        else
            plat::bring_to_front(window);
        return;
    }
    // A launch that names its day: that day, and the reader in front. An open dialog is
    // working on the day shown, so it keeps it; the user finds the dialog in front.
    if (!plat::modal_dialog_open()) go_to_day(window, *day);
    if (!plat::is_foreground(window)) plat::bring_to_front(window);
}

std::optional<int32_t> handed_over_day(const std::string& words) {
    if (words == "today") return 0;
    if (words.rfind("day ", 0) != 0 || words.size() > 4 + 9) return std::nullopt;
    int32_t day = 0;
    for (size_t i = 4; i < words.size(); ++i) {
        if (words[i] < '0' || words[i] > '9') return std::nullopt;
        day = day * 10 + (words[i] - '0');
    }
    // Only the days a launch can name: civil years 1 to 9999.
    if (words.size() == 4 || day < 1 || day > day_number_from_civil(12, 31, 9999))
        return std::nullopt;
    return day;
}

int32_t start_day_of(const CommandLine& line) {
    if (!line.date) return 0;
    return day_number_from_civil(line.date->month, line.date->day, line.date->year);
}

void choose_print_day(const CommandLine& line) {
    g_registry_out_of_memory = out_of_memory_stop;
    g_settings = Settings{};
    g_reader = Reader{};
    g_reader.today_flag = line.today;
    // Read only: printing leaves no trace in the settings.
    load_settings("");
    choose_start_day(start_day_of(line), line.today);
}

int run_gui(const CommandLine& line, const char* program_path) {
    g_registry_out_of_memory = out_of_memory_stop;
    g_settings = Settings{};
    g_reader = Reader{};
    read_shell_options();
    g_reader.today_flag = line.today;
    const int32_t start_day = start_day_of(line);

    if (line.screenshot.empty()) {
        if (!init_instance(start_day, program_path)) return 0;
        return plat::run_message_loop();
    }

    // A screenshot run is a render of its own, not the user's reader: it neither hands over to nor
    // waits for a copy that is running.
    g_screenshot_painted = false;
    plat::Window* window = start_window(start_day, program_path, screenshot_window_proc, false);
    if (!window) return 1;
    plat::run_message_loop();
    const bool saved =
        g_screenshot_painted && plat::save_window_image(window, line.screenshot.c_str());
    // Ends as Exit does: the window's end writes the settings.
    plat::destroy_window(window);
    return saved ? 0 : 1;
}

std::string executable_path(const char* argv0) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && !path.empty()) return path.string();
    if (!argv0 || !*argv0) return {};
    path = std::filesystem::absolute(argv0, error);
    return error ? std::string(argv0) : path.lexically_normal().string();
}

}  // namespace lekta
