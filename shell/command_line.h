// The reader's command line: "/today" and the GNU-style options.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calendar/hebrew_calendar.h"

namespace lekta {

struct CommandLine {
    bool today = false;  // "/today", in any case
    bool print = false;
    bool ics = false;                 // --ics [HEBREW-YEAR]
    std::optional<int32_t> ics_year;  // the year given; none: the start day's
    bool help = false;
    bool version = false;
    std::optional<DateRecord> date;     // civil date of --date
    std::string book;                   // --book FILE; empty: the built-in book
    std::string screenshot;             // --screenshot FILE
    std::vector<std::string> problems;  // unknown options and bad values, one line each
};

// Words starting with '-' are options; any other word is ignored, as "/today" aside the command
// line always was. "--" ends the options.

CommandLine parse_command_line(int argc, const char* const* argv);

bool is_option(const std::string& arg);

// "/today" in any mix of case, and nothing more.
bool is_today_option(const std::string& arg);

// A civil date written YYYY-MM-DD that exists in the calendar (years 1..9999).
std::optional<DateRecord> parse_civil_date(const std::string& text);

// The line for standard error: the problem and where to find help.
std::string problem_line(const std::string& problem);

// Why a screenshot cannot be written to path (no folder, no permission, a folder of that
// name); empty when it can. Leaves no file behind.
std::string screenshot_problem(const std::string& path);

extern const char* const USAGE_TEXT;

}  // namespace lekta
