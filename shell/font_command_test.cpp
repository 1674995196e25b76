// The Font command and the font choice at a first start, with the chooser run headless.
#include "font_chooser/font_command.h"

#include <gtest/gtest.h>

#include <string>

#include "font_chooser/font_chooser.h"
#include "font_chooser/font_chooser_template.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_font_families.h"
#include "shell/reader_test_support.h"
#include "shell/startup.h"
#include "state/reader.h"
#include "state/registry.h"

namespace lekta {
namespace {

namespace tp = testplat;
using testing_support::make_test_book;

void pick(plat::Window* d, uint16_t list, const char16_t* text) {
    for (int32_t i = 0; i < plat::list_count(d, list); ++i) {
        if (plat::list_text(d, list, i) == text) {
            tp::choose_item(d, list, i);
            return;
        }
    }
    ADD_FAILURE() << "no such item";
}

class FontCommandTest : public testing_support::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        tp::reset_font_families();
        g_font_preview = FontPreview{};
        const std::u16string face = u"Arial";
        std::copy(face.begin(), face.end(), g_settings.font_spec.face_name);
        g_settings.font_spec.font_size = 16;
        g_settings.font_spec.font_ascii_base = 224;
        start(make_test_book(false), civil_day(2012, 11, 13));
    }

    std::u16string strip_face() const {
        return g_reader.strip_font ? g_reader.strip_font->desc.face : u"(none)";
    }
};

TEST_F(FontCommandTest, OkLaysTheLessonOutAgainAndRedrawsTheStrip) {
    EXPECT_EQ(16, view()->lines[1].height);
    EXPECT_EQ(u"Arial", strip_face());
    plat::Dc* dc = plat::get_dc(window);
    plat::release_dc(window, dc);
    dc->calls.clear();

    tp::push_dialog_script([this](plat::Window* d) {
        EXPECT_EQ(window, plat::dialog_owner(d));
        pick(d, IDC_FONT_FAMILIES, u"David");
        pick(d, IDC_FONT_SIZES, u"20");
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(0, command(CMD_FONT));
    ASSERT_EQ(1u, tp::dialog_runs().size());
    EXPECT_EQ(u"Choose Font", tp::dialog_runs()[0].caption);

    const FontSpec& font_spec = g_settings.font_spec;
    EXPECT_EQ(u"David", std::u16string(font_spec.face_name));
    EXPECT_EQ(20, font_spec.font_size);
    EXPECT_EQ(0x5D0, font_spec.font_ascii_base);  // David covers Hebrew
    EXPECT_EQ(u"David", std::u16string(view()->font_spec.face_name));
    EXPECT_EQ(0x5D0, view()->font_spec.font_ascii_base);
    EXPECT_EQ(20, view()->lines[1].height);
    EXPECT_EQ(u"David", strip_face());
    EXPECT_EQ(14, g_reader.strip_font->desc.height);  // the strip keeps its own size
    // The strip was drawn in the new face, and the lesson in the new letters.
    bool strip_drawn = false, hebrew_drawn = false;
    for (const plat::DrawCall& call : dc->calls) {
        if (call.kind != plat::DrawCall::TEXT) continue;
        if (call.font.face == std::u16string(u"David") && call.font.height == 14)
            strip_drawn = true;
        if (call.text.find(u'\u05D1') != std::u16string::npos) hebrew_drawn = true;
    }
    EXPECT_TRUE(strip_drawn);
    EXPECT_TRUE(hebrew_drawn);
}

TEST_F(FontCommandTest, CancelChangesNothing) {
    plat::Font* strip_font = g_reader.strip_font;
    plat::Dc* dc = plat::get_dc(window);
    plat::release_dc(window, dc);
    dc->calls.clear();
    tp::push_dialog_script([](plat::Window* d) {
        pick(d, IDC_FONT_FAMILIES, u"Frank Ruehl");
        pick(d, IDC_FONT_SIZES, u"72");
        tp::send_command(d, plat::IDCANCEL);
    });
    command(CMD_FONT);
    EXPECT_EQ(u"Arial", std::u16string(g_settings.font_spec.face_name));
    EXPECT_EQ(16, g_settings.font_spec.font_size);
    EXPECT_EQ(224, g_settings.font_spec.font_ascii_base);
    EXPECT_EQ(u"Arial", std::u16string(view()->font_spec.face_name));
    EXPECT_EQ(16, view()->lines[1].height);
    EXPECT_EQ(strip_font, g_reader.strip_font);
    EXPECT_TRUE(dc->calls.empty());
}

TEST_F(FontCommandTest, TheToolButtonAndCtrlFAskForTheChooser) {
    const plat::ToolButtonSpec* font_button = nullptr;
    for (const plat::ToolButtonSpec& b : tool_buttons())
        if (b.command == CMD_FONT) font_button = &b;
    ASSERT_NE(nullptr, font_button);
    EXPECT_EQ(u"Choose Font", std::u16string(font_button->tooltip));
    EXPECT_TRUE(font_button->enabled);
    bool ctrl_f = false;
    for (const plat::Accelerator& a : accelerators())
        ctrl_f = ctrl_f || (a.command == CMD_FONT && std::string(a.keys) == "Ctrl+F");
    EXPECT_TRUE(ctrl_f);
}

class StartFontTest : public testing_support::ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        g_shell_options = ShellOptions{};
        tp::reset_font_families();
        g_font_preview = FontPreview{};
        testing_support::use_test_book(make_test_book(false));
    }
};

TEST_F(StartFontTest, NoStoredFaceOpensTheChooserBeforeTheLoop) {
    int loops_at_open = -1;
    tp::push_dialog_script([&](plat::Window* d) {
        loops_at_open = tp::message_loop_runs();
        EXPECT_EQ(g_reader.main_window, plat::dialog_owner(d));
        EXPECT_TRUE(g_reader.main_window->shown);
        ASSERT_NE(nullptr, g_reader.view);  // the lesson is already shown
        pick(d, IDC_FONT_FAMILIES, u"Frank Ruehl");
        tp::send_command(d, plat::IDOK);
    });
    plat::Window* window = init_instance(0, "");
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, loops_at_open);
    ASSERT_EQ(1u, tp::dialog_runs().size());
    EXPECT_EQ(u"Frank Ruehl", std::u16string(g_settings.font_spec.face_name));
    EXPECT_EQ(u"Frank Ruehl", std::u16string(g_reader.view->font_spec.face_name));
    plat::destroy_window(window);
    // Chosen once, stored, and not asked for again.
    EXPECT_EQ(u"Frank Ruehl", read_string_value(u"FontName"));
    tp::reset_windows();
    g_settings = Settings{};
    g_reader = Reader{};
    ASSERT_NE(nullptr, window = init_instance(0, ""));
    EXPECT_TRUE(tp::dialog_runs().empty());
    plat::destroy_window(window);
}

TEST_F(StartFontTest, CancelAtStartStillAppliesTheSpec) {
    testplat::registry()[SETTINGS_KEY][u"FontSize"] = testing_support::dword(18);
    tp::push_dialog_script([](plat::Window* d) { tp::send_command(d, plat::IDCANCEL); });
    plat::Window* window = init_instance(0, "");
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(1u, tp::dialog_runs().size());
    EXPECT_EQ(0, g_settings.font_spec.face_name[0]);
    EXPECT_EQ(18, g_reader.view->font_spec.font_size);
    EXPECT_EQ(0x5D0, g_reader.view->font_spec.font_ascii_base);
    plat::destroy_window(window);
}

TEST_F(StartFontTest, AScreenshotRunNeverAsks) {
    testplat::set_message_loop_body(
        [] { plat::send_message(g_reader.main_window, plat::WM_PAINT, 0, 0); });
    CommandLine line;
    line.screenshot = "/nonexistent/x.png";
    run_gui(line, "");
    ASSERT_EQ(1u, tp::main_windows().size());
    EXPECT_TRUE(tp::dialog_runs().empty());
}

}  // namespace
}  // namespace lekta
