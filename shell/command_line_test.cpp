#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lekta {
namespace {

CommandLine parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"lekta"};
    argv.insert(argv.end(), args);
    return parse_command_line(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, TodayInAnyCaseButNothingMore) {
    EXPECT_TRUE(is_today_option("/today"));
    EXPECT_TRUE(is_today_option("/ToDaY"));
    EXPECT_FALSE(is_today_option("today"));
    EXPECT_FALSE(is_today_option("/today "));
    EXPECT_FALSE(is_today_option("/todays"));
    EXPECT_FALSE(is_today_option(""));
}

TEST(CommandLine, OptionsAndValues) {
    CommandLine line = parse({"--print", "--date", "2006-09-23", "--book=x.res", "/TODAY"});
    EXPECT_TRUE(line.print);
    EXPECT_TRUE(line.today);
    ASSERT_TRUE(line.date.has_value());
    EXPECT_EQ((DateRecord{9, 23, 2006}), *line.date);
    EXPECT_EQ("x.res", line.book);
    EXPECT_TRUE(line.problems.empty());
}

TEST(CommandLine, ProblemsAreReportedAndTheRestStillParses) {
    CommandLine line = parse({"--frobnicate", "--date", "2007-02-29", "--print", "--book"});
    EXPECT_TRUE(line.print);
    EXPECT_FALSE(line.date.has_value());
    ASSERT_EQ(3u, line.problems.size());
    EXPECT_EQ("unknown option '--frobnicate'", line.problems[0]);
    EXPECT_EQ("bad date '2007-02-29' (expected YYYY-MM-DD)", line.problems[1]);
    EXPECT_EQ("option '--book' needs a value", line.problems[2]);
}

TEST(CommandLine, EmptyAndMissingValuesAreProblems) {
    EXPECT_EQ(std::vector<std::string>{"option '--date' needs a value"},
              parse({"--date", ""}).problems);
    EXPECT_EQ(std::vector<std::string>{"option '--date' needs a value"},
              parse({"--date="}).problems);
    EXPECT_EQ(std::vector<std::string>{"option '--screenshot' needs a value"},
              parse({"--screenshot"}).problems);
    EXPECT_EQ(std::vector<std::string>{"option '--book' needs a value"},
              parse({"--book="}).problems);
    CommandLine line = parse({"--screenshot", "--print"});
    EXPECT_EQ(std::vector<std::string>{"option '--screenshot' needs a value"}, line.problems);
    EXPECT_TRUE(line.print);
    EXPECT_EQ(std::vector<std::string>{"bad date '2026-02-30' (expected YYYY-MM-DD)"},
              parse({"--date=2026-02-30"}).problems);
    EXPECT_EQ(std::vector<std::string>{"unknown option '-x'"}, parse({"-x"}).problems);
    EXPECT_EQ("lekta: unknown option '-x'; try 'lekta --help' for more information",
              problem_line("unknown option '-x'"));
}

TEST(CommandLine, WordsThatAreNotOptionsAreIgnored) {
    CommandLine line = parse({"today", "-", "/todays", "file.txt", "--", "--print", "/today"});
    EXPECT_TRUE(line.problems.empty());
    EXPECT_FALSE(line.print);  // after "--" nothing is an option
    EXPECT_FALSE(line.today);
}

TEST(CommandLine, ScreenshotPathMustBeWritable) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lekta-shot-test";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    EXPECT_EQ("", screenshot_problem((dir / "x.png").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));  // the test leaves nothing behind
    {
        std::ofstream picture(dir / "old.png");
        picture << "picture";
    }
    EXPECT_EQ("", screenshot_problem((dir / "old.png").string()));
    EXPECT_EQ(7u, std::filesystem::file_size(dir / "old.png"));
    EXPECT_NE("", screenshot_problem((dir / "no" / "x.png").string()));
    EXPECT_EQ("cannot write the screenshot '" + dir.string() + "': a directory",
              screenshot_problem(dir.string()));
    std::filesystem::remove_all(dir);
}

TEST(CommandLine, CivilDatesMustExist) {
    EXPECT_TRUE(parse_civil_date("2008-02-29"));
    EXPECT_TRUE(parse_civil_date("2000-02-29"));
    EXPECT_FALSE(parse_civil_date("1900-02-29"));
    EXPECT_FALSE(parse_civil_date("2026-13-01"));
    EXPECT_FALSE(parse_civil_date("2026-04-31"));
    EXPECT_FALSE(parse_civil_date("0000-01-01"));
    EXPECT_FALSE(parse_civil_date("2026-1-01"));
    EXPECT_FALSE(parse_civil_date("2026-01-0x"));
}

}  // namespace
}  // namespace lekta

namespace lekta {
namespace {

// --ics takes an optional Hebrew year, as the next word or after '='.
TEST(CommandLine, IcsTakesAnOptionalHebrewYear) {
    struct Case {
        std::initializer_list<const char*> args;
        std::optional<int32_t> year;
        bool problem;
    };
    const Case cases[] = {{{"--ics"}, std::nullopt, false},
                          {{"--ics", "5787"}, 5787, false},
                          {{"--ics=5786", "--date", "2026-12-08"}, 5786, false},
                          {{"--ics", "--print"}, std::nullopt, false},
                          {{"--ics=57x7"}, std::nullopt, true},
                          {{"--ics", "99"}, std::nullopt, true}};
    for (const Case& c : cases) {
        const CommandLine line = parse(c.args);
        EXPECT_TRUE(line.ics);
        EXPECT_EQ(line.ics_year, c.year);
        EXPECT_EQ(!line.problems.empty(), c.problem);
    }
}

}  // namespace
}  // namespace lekta
