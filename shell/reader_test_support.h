// The reader's main window over the test backend, on a test book, for the tests of day
// navigation, commands and keys.
#pragma once

#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "shell/main_window.h"
#include "state/current_day.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/test_book_support.h"
#include "view/text_view.h"

namespace lekta::testing_support {

// The process-wide records and the test backend, fresh for every test and cleared after it.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();
        testplat::reset_windows();
        testplat::reset_text();
        g_settings = Settings{};
        g_reader = Reader{};
    }

    void TearDown() override {
        if (g_reader.view) destroy_view(g_reader.view, true);
        plat::delete_font(g_reader.strip_font);
        g_settings = Settings{};
        g_reader = Reader{};
        testplat::reset_windows();
        testplat::reset_text();
        testplat::reset_system();
    }
};

inline plat::RegValue dword(uint32_t n) {
    return {plat::REG_DWORD, {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}};
}

class ReaderTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        g_settings.flags = DEFAULT_FLAGS;
    }

    void TearDown() override {
        if (window && window->alive) plat::destroy_window(window);
        ShellTest::TearDown();
    }

    static int32_t civil_day(int32_t year, int32_t month, int32_t day) {
        return day_number_from_civil(month, day, year);
    }

    // Makes the day current as start-up does, then creates the main window (0: today).
    void start(const TestBook& book, int32_t day) {
        use_test_book(book);
        select_day(day, day != 0);
        plat::WindowSpec params;
        params.class_name = MAIN_CLASS_NAME;
        params.title = MAIN_TITLE;
        params.proc = main_window_proc;
        params.vscroll = true;
        window = plat::create_main_window(params);
        ASSERT_NE(window, nullptr);
    }

    TextView* view() const { return g_reader.view; }

    // The key that the shown lesson's title spells, or 0 when the view shows nothing.
    static uint16_t shown_key() { return g_reader.view ? key_spelled_by(g_reader.view->text) : 0; }

    std::vector<testplat::RecordedMessageBox>& boxes() { return testplat::message_boxes(); }

    intptr_t send(uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0) {
        return plat::send_message(window, message, wparam, lparam);
    }
    intptr_t command(uint16_t id) { return send(plat::WM_COMMAND, id); }
    intptr_t key(uint32_t vk) { return send(plat::WM_KEYDOWN, vk); }

    plat::Window* window = nullptr;
};

}  // namespace lekta::testing_support
