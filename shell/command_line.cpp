#include "shell/command_line.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace lekta {

const char* const USAGE_TEXT =
    "Usage: lekta [/today] [--book FILE] [--date YYYY-MM-DD] [--print] [--ics [YEAR]]\n"
    "             [--screenshot FILE]\n"
    "\n"
    "  /today             start on today's lesson even when another day was pinned\n"
    "  --book FILE        read the lessons from FILE instead of the built-in book\n"
    "  --date YYYY-MM-DD  start on the lesson of that civil date\n"
    "  --print            write the date and the lesson to standard output and exit\n"
    "  --ics [YEAR]       write the lessons of the Hebrew year (the start day's by default)\n"
    "                     as an iCalendar file to standard output and exit\n"
    "  --screenshot FILE  save the window as a PNG (BMP for .bmp) once drawn, then exit\n"
    "  --help             show this help\n"
    "  --version          show the version\n"
    "\n"
    "When the reader is already running, a new launch brings it to the front; with /today or\n"
    "--date it also goes to that day.\n"
    "\n"
    "Exit status: 0 when all went well, 1 when the lesson or the screenshot could not be made,\n"
    "2 for a bad option or an unreadable book.\n";

bool is_option(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool is_today_option(const std::string& arg) {
    static constexpr char kToday[] = "/today";
    if (arg.size() != sizeof kToday - 1) return false;
    for (size_t i = 0; i < arg.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(arg[i])) != kToday[i]) return false;
    }
    return true;
}

std::optional<DateRecord> parse_civil_date(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    int32_t parts[3] = {0, 0, 0};
    const size_t starts[3] = {0, 5, 8};
    const size_t lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (size_t i = starts[p]; i < starts[p] + lengths[p]; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
            parts[p] = parts[p] * 10 + (text[i] - '0');
        }
    }
    const DateRecord date{parts[1], parts[2], parts[0]};
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1) return std::nullopt;
    // The date exists when it survives the trip through a day number unchanged.
    if (civil_from_day_number(day_number_from_civil(date.month, date.day, date.year)) != date) {
        return std::nullopt;
    }
    return date;
}

CommandLine parse_command_line(int argc, const char* const* argv) {
    CommandLine line;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        // Options that take a value accept both "--opt value" and "--opt=value". An empty value
        // is no value, and neither is a next word that is a long option: "--date --print" is a
        // date left out, not a date called "--print" ("--date=--print" would be).
        auto value_of = [&](const std::string& name, std::string* out) {
            if (arg == name) {
                if (i + 1 < argc && argv[i + 1] && std::string(argv[i + 1]).rfind("--", 0) != 0)
                    *out = argv[++i];
            } else if (arg.rfind(name + "=", 0) == 0) {
                *out = arg.substr(name.size() + 1);
            } else {
                return false;
            }
            if (out->empty()) line.problems.push_back("option '" + name + "' needs a value");
            return true;
        };
        std::string date;
        if (options_end || !is_option(arg)) {
            // Words that are not options are ignored, as any command line but "/today" is.
            if (!options_end && is_today_option(arg)) line.today = true;
        } else if (arg == "--") {
            options_end = true;
        } else if (arg == "--print") {
            line.print = true;
        } else if (arg == "--ics" || arg.rfind("--ics=", 0) == 0) {
            // The year is optional: a next word that is a number is taken as it.
            line.ics = true;
            std::string year = arg.size() > 6 ? arg.substr(6) : "";
            if (arg == "--ics" && i + 1 < argc && argv[i + 1] && *argv[i + 1] >= '0' &&
                *argv[i + 1] <= '9')
                year = argv[++i];
            if (!year.empty()) {
                const bool digits =
                    year.size() <= 5 && year.find_first_not_of("0123456789") == std::string::npos;
                const int32_t value = digits ? std::stoi(year) : 0;
                if (value >= 3762 && value <= 13760)
                    line.ics_year = value;
                else
                    line.problems.push_back("bad Hebrew year '" + year + "'");
            }
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (value_of("--book", &line.book) || value_of("--screenshot", &line.screenshot)) {
        } else if (value_of("--date", &date)) {
            line.date = parse_civil_date(date);
            if (!line.date && !date.empty())
                line.problems.push_back("bad date '" + date + "' (expected YYYY-MM-DD)");
        } else {
            line.problems.push_back("unknown option '" + arg + "'");
        }
    }
    return line;
}

std::string problem_line(const std::string& problem) {
    return "lekta: " + problem + "; try 'lekta --help' for more information";
}

std::string screenshot_problem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(path, error))
        return "cannot write the screenshot '" + path + "': a directory";
    const bool existed = fs::exists(path, error);
    // Opened for appending, so that a picture already there is not cut short by the test.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
        return "cannot write the screenshot '" + path + "': " + std::strerror(errno);
    }
    std::fclose(file);
    if (!existed) fs::remove(path, error);
    return {};
}

}  // namespace lekta
