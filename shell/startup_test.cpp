#include "shell/startup.h"
#include "state/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "shell/main_window.h"
#include "shell/reader_test_support.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/registry.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

using testing_support::dword;

class StartupTest : public testing_support::ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        g_shell_options = ShellOptions{};
    }
    static int32_t today() { return day_number_from_civil(12, 7, 2026); }
};

TEST_F(StartupTest, ShellOptionsFromTheVendorKey) {
    read_shell_options();
    EXPECT_EQ(0, g_shell_options.full_screen);
    EXPECT_EQ(0, g_reader.menu_bar_mode);
    EXPECT_EQ(0, g_reader.gutter);

    auto& vendor = testplat::registry()[VENDOR_KEY];
    vendor[u"IgnoreActivate"] = dword(1);
    vendor[u"FullScreen"] = dword(1);
    vendor[u"AllowSipInHebrewSearch"] = dword(0);
    vendor[u"MenuBarOnBottom"] = {plat::REG_SZ, {'1', 0, 0, 0}};
    vendor[u"SurroundingGutter"] = dword(6);
    // The settings key is no place for them.
    testplat::registry()[SETTINGS_KEY][u"FullScreen"] = dword(0);
    read_shell_options();
    EXPECT_EQ(1, g_shell_options.full_screen);
    EXPECT_EQ(1, g_reader.menu_bar_mode);
    EXPECT_EQ(6, g_reader.gutter);

    // A margin must lie inside the window and keep its double inside 32 bits.
    vendor[u"SurroundingGutter"] = dword(static_cast<uint32_t>(-8));
    read_shell_options();
    EXPECT_EQ(0, g_reader.gutter);
    vendor[u"SurroundingGutter"] = dword(0x7FFFFFFF);
    read_shell_options();
    EXPECT_EQ(0xFFFF, g_reader.gutter);
}

TEST_F(StartupTest, OutOfMemoryTellsTheUserSavesAndQuits) {
    plat::Dc* dc = testplat::create_dc();
    g_reader.view = create_view(dc, nullptr, g_settings.font_spec, 0);
    g_reader.view->top_row = 4;
    g_settings.current_day = 700000;
    out_of_memory_stop();
    ASSERT_EQ(1u, testplat::message_boxes().size());
    const testplat::RecordedMessageBox& box = testplat::message_boxes()[0];
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(u"There is not enough memory, aborting", box.text);
    EXPECT_EQ(u"Error", box.caption);
    EXPECT_EQ(plat::MB_ICONHAND, box.style);
    EXPECT_EQ(dword(700000).bytes, testplat::registry()[SETTINGS_KEY][u"Day"].bytes);
    EXPECT_EQ(dword(4).bytes, testplat::registry()[SETTINGS_KEY][u"LastPosition"].bytes);
    EXPECT_EQ(std::vector<int>{0}, testplat::posted_quits());
    // Whoever asked may still be using the view; the window's end frees it.
    EXPECT_NE(nullptr, g_reader.view);
    testplat::destroy_dc(dc);
}

std::vector<uintptr_t> g_commands;
intptr_t recording_proc(plat::Window*, uint32_t message, uintptr_t wparam, intptr_t) {
    if (message == plat::WM_COMMAND) g_commands.push_back(wparam);
    return 0;
}

TEST_F(StartupTest, SecondLaunchGoesToTodayOrComesForward) {
    g_commands.clear();
    handle_second_launch("");  // no window yet: nothing to do
    plat::WindowSpec params;
    params.proc = recording_proc;
    g_reader.main_window = plat::create_main_window(params);

    testplat::set_foreground(true);
    handle_second_launch("");
    EXPECT_EQ(std::vector<uintptr_t>{CMD_TODAY}, g_commands);
    EXPECT_TRUE(testplat::brought_to_front().empty());

    testplat::set_modal_dialog_open(true);  // a dialog in front: left as it is
    handle_second_launch("");
    EXPECT_EQ(1u, g_commands.size());
    EXPECT_TRUE(testplat::brought_to_front().empty());

    testplat::set_modal_dialog_open(false);
    testplat::set_foreground(false);
    handle_second_launch("");
    EXPECT_EQ(1u, g_commands.size());
    EXPECT_EQ(std::vector<plat::Window*>{g_reader.main_window}, testplat::brought_to_front());
}

TEST_F(StartupTest, StartDay) {
    const int32_t stored = today() - 40;
    auto start_from_store = [&](uint32_t flags) {
        g_settings = Settings{};
        g_reader = Reader{};
        g_settings.flags = flags;
        select_day(stored, true);
        g_settings.flags = flags;
        g_settings.last_position = 12;
    };

    start_from_store(DEFAULT_FLAGS | FLAG_DAY_PINNED);
    const uint16_t stored_lesson = g_settings.current_lesson;
    choose_start_day(0, false);  // the pinned day stays, and where the reader was
    EXPECT_EQ(stored, g_settings.current_day);
    EXPECT_EQ(stored_lesson, g_settings.current_lesson);
    EXPECT_EQ(12, g_settings.last_position);
    EXPECT_NE(0u, g_settings.flags & FLAG_DAY_PINNED);

    start_from_store(DEFAULT_FLAGS);
    choose_start_day(0, false);  // unpinned: today, from its top
    EXPECT_EQ(today(), g_settings.current_day);
    EXPECT_EQ(0, g_settings.last_position);

    start_from_store(DEFAULT_FLAGS | FLAG_DAY_PINNED);
    choose_start_day(0, true);  // "/today": today over the pin, which goes
    EXPECT_EQ(today(), g_settings.current_day);
    EXPECT_EQ(0u, g_settings.flags & FLAG_DAY_PINNED);

    start_from_store(DEFAULT_FLAGS);
    choose_start_day(today() + 3, true);  // --date: that day, pinned, even with "/today"
    EXPECT_EQ(today() + 3, g_settings.current_day);
    EXPECT_NE(0u, g_settings.flags & FLAG_DAY_PINNED);
}

TEST_F(StartupTest, PrintShowsTheDayTheWindowWouldOpenOn) {
    auto& settings = testplat::registry()[SETTINGS_KEY];
    const int32_t pinned = today() - 40;
    settings[u"Day"] = dword(static_cast<uint32_t>(pinned));
    settings[u"Flags"] = dword(DEFAULT_FLAGS | FLAG_DAY_PINNED);
    settings[u"Lesson"] = dword(0x0101);  // not that day's: the day decides
    CommandLine line;
    choose_print_day(line);
    EXPECT_EQ(pinned, g_settings.current_day);
    EXPECT_EQ(lesson_key_of_date(hebrew_from_day_number(pinned)), g_settings.current_lesson);
    line.date = DateRecord{12, 10, 2026};
    choose_print_day(line);
    EXPECT_EQ(today() + 3, g_settings.current_day);
    line.date.reset();
    line.today = true;
    choose_print_day(line);
    EXPECT_EQ(today(), g_settings.current_day);
    // Printing writes nothing.
    EXPECT_EQ(1u, testplat::registry().size());
    EXPECT_EQ(3u, settings.size());
    EXPECT_EQ(dword(0x0101).bytes, settings[u"Lesson"].bytes);
}

TEST_F(StartupTest, ASecondCopyEndsAtOnceAndTouchesNothing) {
    testplat::set_single_instance_free(false);
    CommandLine line;
    EXPECT_EQ(0, run_gui(line, "/usr/bin/lekta"));
    EXPECT_TRUE(testplat::main_windows().empty());
    EXPECT_EQ(0, testplat::message_loop_runs());
    EXPECT_EQ(0u, testplat::registry().count(SETTINGS_KEY));

    // What it was asked to show goes to the running copy.
    line.today = true;
    EXPECT_EQ(0, run_gui(line, "/usr/bin/lekta"));
    line.date = DateRecord{3, 1, 2026};
    EXPECT_EQ(0, run_gui(line, "/usr/bin/lekta"));
    const std::string day = "day " + std::to_string(day_number_from_civil(3, 1, 2026));
    EXPECT_EQ((std::vector<std::string>{"", "today", day}), testplat::handed_over());
    EXPECT_TRUE(testplat::main_windows().empty());
}

TEST(HandOver, WordsAndTheDayTheyName) {
    EXPECT_EQ("", hand_over_words(0, false));
    EXPECT_EQ("today", hand_over_words(0, true));
    EXPECT_EQ("day 739600", hand_over_words(739600, true));  // a date beats "/today"
    EXPECT_EQ(std::optional<int32_t>(0), handed_over_day("today"));
    EXPECT_EQ(std::optional<int32_t>(739600), handed_over_day("day 739600"));
    EXPECT_EQ(std::optional<int32_t>(1), handed_over_day("day 1"));
    for (const char* words : {"", "Today", "day ", "day 0", "day -5", "day 12x", "day  5",
                              "day 99999999", "day 3652060", "today "})
        EXPECT_EQ(std::nullopt, handed_over_day(words)) << words;
    EXPECT_EQ(std::optional<int32_t>(3652059), handed_over_day("day 3652059"));  // 9999-12-31
}

class HandOverTest : public testing_support::ReaderTest {};

TEST_F(HandOverTest, ALaunchWithADayMovesTheRunningCopyThereAndForward) {
    const testing_support::TestBook book = testing_support::make_test_book(true);
    start(book, civil_day(2026, 12, 7));
    const int32_t target = civil_day(2026, 3, 1);

    testplat::set_foreground(false);
    handle_second_launch(("day " + std::to_string(target)).c_str());
    EXPECT_EQ(target, g_settings.current_day);
    EXPECT_EQ(current_lesson_key(), shown_key());
    EXPECT_EQ(std::vector<plat::Window*>{window}, testplat::brought_to_front());

    // In front already: the day alone.
    testplat::set_foreground(true);
    handle_second_launch(("day " + std::to_string(target + 1)).c_str());
    EXPECT_EQ(target + 1, g_settings.current_day);
    EXPECT_EQ(1u, testplat::brought_to_front().size());

    // A dialog keeps the day it works on; the reader still comes forward.
    testplat::set_foreground(false);
    testplat::set_modal_dialog_open(true);
    handle_second_launch("today");
    EXPECT_EQ(target + 1, g_settings.current_day);
    EXPECT_EQ(2u, testplat::brought_to_front().size());

    testplat::set_modal_dialog_open(false);
    handle_second_launch("today");
    EXPECT_EQ(civil_day(2026, 12, 7), g_settings.current_day);
    EXPECT_EQ(0u, g_settings.flags & FLAG_DAY_PINNED);
    EXPECT_EQ(3u, testplat::brought_to_front().size());

    // Words that name no day: as a plain launch, which goes to today only when in front.
    select_day(target, true);
    handle_second_launch("day 0");
    EXPECT_EQ(target, g_settings.current_day);
    EXPECT_EQ(4u, testplat::brought_to_front().size());
}

TEST_F(StartupTest, TheMainWindow) {
    auto& settings = testplat::registry()[SETTINGS_KEY];
    settings[u"Flags"] = dword(DEFAULT_FLAGS & ~FLAG_SCROLLBAR);
    settings[u"FontName"] = {plat::REG_SZ, {'A', 0, 0, 0}};
    testplat::registry()[VENDOR_KEY][u"FullScreen"] = dword(1);
    read_shell_options();
    plat::Window* window = init_instance(0, "/opt/lekta/lekta");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(window, g_reader.main_window);
    EXPECT_EQ(u"Lekta-Hebrew", window->class_name);
    // The day shown, then the program's name.
    EXPECT_TRUE(window->title.ends_with(u" \u2014 Lekta"));
    EXPECT_FALSE(window->vscroll);
    EXPECT_TRUE(window->full_screen);
    EXPECT_TRUE(window->shown);
    EXPECT_EQ(&handle_second_launch, testplat::second_launch_handler());
    EXPECT_EQ(plat::REG_SZ, settings.at(u"Program Path").type);
    EXPECT_EQ(today(), g_settings.current_day);
    plat::destroy_window(window);

    // Either scroll-bar bit gives the window its scroll bar.
    testplat::reset_windows();
    g_shell_options = ShellOptions{};
    settings[u"Flags"] = dword(0x80);
    window = init_instance(0, "");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(window->vscroll);
    EXPECT_FALSE(window->full_screen);
    plat::destroy_window(window);
}

TEST_F(StartupTest, AScreenshotRunEndsAfterTheFirstPaintAndSaves) {
    testplat::set_single_instance_free(false);  // a running reader is no reason to stop
    testplat::set_message_loop_body(
        [] { plat::send_message(g_reader.main_window, plat::WM_PAINT, 0, 0); });
    CommandLine line;
    line.screenshot = "/nonexistent/x.png";
    line.date = DateRecord{12, 10, 2026};
    // This backend makes no images: the run says so.
    EXPECT_EQ(1, run_gui(line, ""));
    ASSERT_EQ(1u, testplat::main_windows().size());
    EXPECT_FALSE(testplat::main_windows()[0]->alive);
    EXPECT_EQ(dword(static_cast<uint32_t>(today() + 3)).bytes,
              testplat::registry()[SETTINGS_KEY][u"Day"].bytes);
}

// The stored program path must name the program from anywhere, however it was started.
TEST(ExecutablePath, IsAbsoluteAndNamesThisProgram) {
    const std::string path = executable_path("relative/name");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ('/', path.front());
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
    EXPECT_EQ(std::string::npos, path.find("relative/name"));
}

}  // namespace
}  // namespace lekta
