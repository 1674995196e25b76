// The reader's entry point: command line, book selection, then the window or --print.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "export/ics.h"
#include "export/print_lesson.h"
#include "lekta_version.h"
#include "platform/platform.h"
#include "shell/command_line.h"
#include "shell/startup.h"
#include "state/current_day.h"
#include "state/settings.h"
#include "state/utf8.h"
#include "store/book.h"

using namespace lekta;

namespace {

// --print shows the lesson the window would open on.
int print_start_day(const CommandLine& line) {
    choose_print_day(line);
    return print_lesson(stdout, stderr);
}

// The year's lessons as iCalendar text, stamped with the time of writing.
int write_year_calendar(const CommandLine& line) {
    choose_print_day(line);
    const int32_t year = line.ics_year ? *line.ics_year : hebrew_year_of(g_settings.current_day);
    const std::string text = year_calendar(year, ics_stamp_now());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int report_problem(const std::string& problem) {
    std::fprintf(stderr, "%s\n", problem_line(problem).c_str());
    return 2;
}

bool started_from_terminal() {
    return ::isatty(STDIN_FILENO) || ::isatty(STDOUT_FILENO) || ::isatty(STDERR_FILENO);
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parse_command_line(argc, argv);
    // As GNU programs do: the first problem in one line, and nothing started.
    if (!line.problems.empty()) return report_problem(line.problems.front());
    if (line.help) {
        std::fputs(USAGE_TEXT, stdout);
        return 0;
    }
    if (line.version) {
        std::printf("lekta %s\n", LEKTA_VERSION_TEXT);
        return 0;
    }

    if (!line.screenshot.empty()) {
        const std::string problem = screenshot_problem(line.screenshot);
        if (!problem.empty()) return report_problem(problem);
    }

    std::string error;
    const bool book_ok =
        line.book.empty() ? use_embedded_book(&error) : load_book_file(line.book, &error);
    if (!book_ok) {
        report_problem(error);
        // Started from a desktop menu, nobody reads standard error: the user is told in a box.
        if (!line.print && line.screenshot.empty() && !started_from_terminal() &&
            plat::init_gui(argc, argv)) {
            const std::u16string text = u"Could not open the book\r\n" + utf16_of(error);
            plat::message_box(nullptr, text.c_str(), u"Error", plat::MB_ICONEXCLAMATION);
        }
        return 2;
    }
    if (line.print) return print_start_day(line);
    if (line.ics) return write_year_calendar(line);

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
