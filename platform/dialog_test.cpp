// The test backend's dialogs as a dialog procedure sees them: the order of messages, scripted
// user actions, the controls' state and how a run ends.
#include <gtest/gtest.h>

#include <array>

#include "platform/dialog.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_text.h"

using namespace lekta;

namespace {

std::vector<uint32_t> g_seen;
intptr_t g_init_param = 0;

intptr_t recording_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    g_seen.push_back(message);
    if (message == plat::WM_INITDIALOG) g_init_param = lparam;
    if (message == plat::WM_COMMAND && (wparam & 0xFFFF) <= 2)
        plat::end_dialog(dialog, static_cast<intptr_t>(wparam & 0xFFFF));
    if (message == plat::WM_LBUTTONDOWN) plat::end_dialog(dialog, lparam);
    return 0;
}

// Ignores even Cancel.
intptr_t stubborn_proc(plat::Window*, uint32_t, uintptr_t, intptr_t) {
    return 0;
}

constexpr std::array<plat::ControlTemplate, 4> CONTROLS = {{
    {1001, plat::ControlKind::list_box, nullptr, 7, 7, 100, 90, plat::CS_SORT},
    {1002, plat::ControlKind::edit, u"abc", 7, 100, 100, 12, 0},
    {1004, plat::ControlKind::auto_radio, u"224", 110, 20, 30, 10, 0},
    {1005, plat::ControlKind::auto_radio, u"5D0", 110, 32, 30, 10, 0},
}};

const plat::DialogTemplate TEMPLATE{u"Test", 150, 160, CONTROLS};

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_windows();
        testplat::reset_text();
        g_seen.clear();
    }
    void TearDown() override { testplat::reset_windows(); }
};

TEST_F(DialogTest, MessagesArriveInOrderAndTheResultComesBack) {
    testplat::push_dialog_script([](plat::Window* d) {
        EXPECT_EQ(plat::Rect({0, 0, 300, 320}), plat::client_rect(d));
        testplat::tap(d, 10, 20);
        testplat::tap(d, 30, 40);  // ended: ignored
    });
    EXPECT_EQ(10 | 20 << 16, plat::run_dialog(nullptr, TEMPLATE, recording_proc, 77));
    EXPECT_EQ(77, g_init_param);
    const std::vector<uint32_t> expected = {
        plat::WM_INITDIALOG, plat::WM_SIZE,        plat::WM_ACTIVATE, plat::WM_ERASEBKGND,
        plat::WM_PAINT,      plat::WM_LBUTTONDOWN, plat::WM_DESTROY};
    EXPECT_EQ(expected, g_seen);
    ASSERT_EQ(1u, testplat::dialog_runs().size());
    EXPECT_EQ(u"Test", testplat::dialog_runs()[0].caption);
    // Unhandled erasing fills with the face colour.
    const plat::Dc* dc = testplat::dialog_runs()[0].dialog->dc;
    ASSERT_FALSE(dc->calls.empty());
    EXPECT_EQ(plat::DrawCall::FILL, dc->calls[0].kind);
}

TEST_F(DialogTest, AnUnfinishedScriptCancelsAndAStubbornDialogEndsWithMinusOne) {
    EXPECT_EQ(plat::IDCANCEL, plat::run_dialog(nullptr, TEMPLATE, recording_proc, 0));
    EXPECT_EQ(-1, plat::run_dialog(nullptr, TEMPLATE, stubborn_proc, 0));
    EXPECT_EQ(-1, plat::run_dialog(nullptr, TEMPLATE, nullptr, 0));
}

TEST_F(DialogTest, ControlsKeepWhatTheProgramAndTheUserSet) {
    testplat::push_dialog_script([](plat::Window* d) {
        // The list's and the radios' program-set values are in the contract both backends
        // share (dialog_contract_test.cpp).
        EXPECT_EQ(plat::Rect({14, 14, 214, 194}), plat::control_rect(d, 1001));

        // The edit box's limit holds for typing, not for the program's own text.
        plat::limit_text(d, 1002, 5);
        plat::select_text(d, 1002, 1, 1);
        testplat::type_text(d, 1002, u"XYZ");
        EXPECT_EQ(u"aXYbc", plat::control_text(d, 1002));
        EXPECT_EQ(plat::TextSelection({3, 3}), plat::text_selection(d, 1002));
        plat::select_text(d, 1002, 0, -1);
        EXPECT_EQ(plat::TextSelection({0, 5}), plat::text_selection(d, 1002));

        // Auto radios exclude each other when the user clicks them.
        testplat::click(d, 1004);
        testplat::click(d, 1005);
        EXPECT_FALSE(plat::control_checked(d, 1004));
        EXPECT_TRUE(plat::control_checked(d, 1005));
        plat::end_dialog(d, 1);
    });
    EXPECT_EQ(1, plat::run_dialog(nullptr, TEMPLATE, stubborn_proc, 0));
}

TEST_F(DialogTest, FullScreenOwnerOrDoneButton) {
    plat::WindowSpec window_spec;
    window_spec.proc = stubborn_proc;
    window_spec.full_screen = true;
    plat::Window* main = plat::create_main_window(window_spec);
    testplat::push_dialog_script([](plat::Window* d) {
        plat::init_full_screen_dialog(d, plat::DIALOG_FULL_SCREEN);
        EXPECT_TRUE(d->dialog_full_screen);
        EXPECT_FALSE(d->done_button);
        EXPECT_EQ(plat::Rect({0, 0, 240, 320}), plat::client_rect(d));
    });
    plat::run_dialog(main, TEMPLATE, stubborn_proc, 0);
    main->full_screen = false;
    testplat::push_dialog_script([](plat::Window* d) {
        plat::init_full_screen_dialog(d, plat::DIALOG_FULL_SCREEN);
        EXPECT_TRUE(d->done_button);
        EXPECT_EQ(plat::Rect({0, 0, 300, 320}), plat::client_rect(d));
    });
    plat::run_dialog(main, TEMPLATE, stubborn_proc, 0);
}

}  // namespace
