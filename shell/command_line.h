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
    bool help = false;
    bool version = false;
    std::optional<DateRecord> date;     // civil date of --date
    std::string book;                   // --book FILE; empty: the built-in book
    std::string screenshot;             // --screenshot FILE
    std::vector<std::string> problems;  // unknown options and bad values, one line each
};

CommandLine parse_command_line(int argc, const char* const* argv);

// "/today" in any mix of case, and nothing more.
bool is_today_option(const std::string& arg);

// A civil date written YYYY-MM-DD that exists in the calendar (years 1..9999).
std::optional<DateRecord> parse_civil_date(const std::string& text);

extern const char* const USAGE_TEXT;

}  // namespace lekta
