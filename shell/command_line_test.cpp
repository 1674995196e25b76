#include "shell/command_line.h"

#include <gtest/gtest.h>

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
