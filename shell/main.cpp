// The reader's entry point: command line, book selection, then the window or --print.
#include <cstdio>
#include <string>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "lekta_version.h"
#include "platform/book.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/print_lesson.h"
#include "shell/startup.h"
#include "state/current_day.h"
#include "state/settings.h"

using namespace lekta;

namespace {

// The day --print shows: the given date, pinned, or today.
int print_start_day(const CommandLine& line) {
    if (line.date) {
        select_day(day_number_from_civil(line.date->month, line.date->day, line.date->year), true);
    } else {
        select_day(0, false);
    }
    return print_lesson(stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parse_command_line(argc, argv);
    for (const std::string& problem : line.problems) {
        std::fprintf(stderr, "lekta: %s\n", problem.c_str());
    }
    if (line.help) {
        std::fputs(USAGE_TEXT, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("lekta %s\n", LEKTA_VERSION_TEXT);
        return 0;
    }

    std::string error;
    const bool book_ok =
        line.book.empty() ? use_embedded_book(&error) : load_book_file(line.book, &error);
    if (!book_ok) {
        std::fprintf(stderr, "lekta: %s\n", error.c_str());
        return 2;
    }
    if (line.print) return print_start_day(line);

    if (!plat::init_gui(argc, argv)) {
        // A screenshot cannot fall back to text: whoever asked for it expects a picture.
        if (!line.screenshot.empty()) {
            std::fputs(
                "lekta: no display for the screenshot; set DISPLAY, run under xvfb-run, or set "
                "QT_QPA_PLATFORM=offscreen.\n",
                stderr);
            return 1;
        }
        std::fputs(
            "lekta: no display; set DISPLAY or run under xvfb-run. Printing the lesson "
            "instead.\n",
            stderr);
        return print_start_day(line);
    }
    return run_gui(line, executable_path(argv[0]).c_str());
}
