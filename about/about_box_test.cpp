// The About box run headless: its texts and picture, the link's font and fitted size, how the
// link is drawn, and what its buttons do.
#include <gtest/gtest.h>

#include "about/about_box.h"
#include "about/about_template.h"
#include "lekta_version.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_open_url.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "store/book.h"
#include "store/test_book_writer.h"

namespace lekta {
namespace {

class AboutBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_windows();
        testplat::reset_text();
        testplat::reset_system();
        fonts_before = testplat::live_fonts();
    }
    void TearDown() override {
        EXPECT_EQ(testplat::live_fonts(), fonts_before);  // the link font went with the box
        testplat::reset_windows();
        testplat::reset_system();
    }
    int fonts_before = 0;
};

TEST_F(AboutBoxTest, TemplateTextsAndPicture) {
    // One version everywhere: the build's version text is the one the box shows.
    EXPECT_EQ(std::u16string(ABOUT_VERSION_TEXT), u"Version 1.84a");
    // The link reads as the home page's address without its scheme.
    const std::u16string caption = ABOUT_CONTROLS[4].text;
    EXPECT_FALSE(caption.empty());
    EXPECT_NE(std::u16string(HOME_PAGE_URL).find(caption), std::u16string::npos);
    EXPECT_EQ(caption.find(u"://"), std::u16string::npos);
    EXPECT_NE(caption.back(), u'/');

    const plat::MonoImage& image = *ABOUT_CONTROLS[1].image;
    EXPECT_EQ(image.width, 59);
    EXPECT_EQ(image.height, 74);
    EXPECT_EQ(image.bits.size(), 74u * 8);
    // A frame round the picture: full top row, the bits past column 59 clear.
    EXPECT_EQ(image.bits[0], 0xFF);
    EXPECT_EQ(image.bits[7], 0xE0);
    EXPECT_EQ(image.bits[8], 0x80);
    EXPECT_EQ(image.bits[15], 0x20);
}

TEST_F(AboutBoxTest, LinkFontFitsTheButton) {
    const auto length = static_cast<int32_t>(std::u16string(ABOUT_CONTROLS[4].text).size());
    testplat::push_dialog_script([&](plat::Window* d) {
        const plat::DialogControl* link = testplat::find_control(d, ID_ABOUT_LINK);
        ASSERT_NE(link, nullptr);
        ASSERT_NE(link->font, nullptr);
        EXPECT_TRUE(link->font->desc.underline);
        // The button had no font of its own: 10-point Tahoma at 96 pixels per inch, weight 800.
        EXPECT_EQ(std::u16string(link->font->desc.face), u"Tahoma");
        EXPECT_EQ(link->font->desc.height, -13);
        EXPECT_EQ(link->font->desc.weight, 800);
        // At 7, 58 dialog units (2 x 2 pixels each); 10-pixel characters, text 13 high, edges 2.
        EXPECT_EQ(link->rect, plat::Rect({14, 116, 14 + length * 10 + 4, 116 + 13 + 4}));
    });
    plat::Window* owner = testplat::new_window();
    EXPECT_EQ(show_about_box(owner), plat::IDCANCEL);
    ASSERT_EQ(testplat::dialog_runs().size(), 1u);
    EXPECT_EQ(testplat::dialog_runs()[0].owner, owner);
}

TEST_F(AboutBoxTest, TextsThatWouldBeCutOffWidenAndTheBoxGrows) {
    testplat::push_dialog_script([&](plat::Window* d) {
        // 10-pixel characters and 2 x 2 pixels a dialog unit: the name (28 characters) and the
        // version (13) need more than 81 and 45 units; the notice (14) fits its 80.
        EXPECT_EQ(plat::control_rect(d, ID_ABOUT_NAME), plat::Rect({14, 14, 14 + 284, 30}));
        EXPECT_EQ(plat::control_rect(d, ID_ABOUT_VERSION), plat::Rect({14, 48, 14 + 134, 64}));
        EXPECT_EQ(plat::control_rect(d, ID_ABOUT_NOTICE), plat::Rect({14, 82, 174, 98}));
        // The picture keeps half the left margin from the texts; the box its right margin.
        EXPECT_EQ(plat::control_rect(d, ID_ABOUT_PICTURE), plat::Rect({305, 14, 364, 88}));
        EXPECT_EQ(plat::client_rect(d), plat::Rect({0, 0, 378, 170}));
    });
    show_about_box(nullptr);
    EXPECT_EQ(testplat::dialog_messages()[1].message, plat::WM_SIZE);
    EXPECT_EQ(testplat::dialog_messages()[1].lparam, 378 | 170 << 16);
}

TEST_F(AboutBoxTest, LinkIsDrawnBlueAndUnderlinedInItsFont) {
    plat::Dc* dc = testplat::create_dc();
    testplat::push_dialog_script([&](plat::Window* d) {
        plat::DrawItem item{ID_ABOUT_LINK, dc, {0, 0, 200, 20}};
        EXPECT_EQ(plat::send_message(d, plat::WM_DRAWITEM, ID_ABOUT_LINK,
                                     reinterpret_cast<intptr_t>(&item)),
                  1);
    });
    show_about_box(nullptr);
    ASSERT_EQ(dc->calls.size(), 1u);
    const plat::DrawCall& call = dc->calls[0];
    EXPECT_EQ(call.text, std::u16string(ABOUT_CONTROLS[4].text));
    EXPECT_EQ(call.color, 0xFF0000u);
    EXPECT_TRUE(call.transparent);
    EXPECT_EQ(call.background, 0xFFFFFFu);
    EXPECT_EQ(call.rect, plat::Rect({1, 0, 200, 20}));
    EXPECT_EQ(call.font.weight, 800);
    EXPECT_EQ(dc->font, nullptr);  // the dc's own font is back
    testplat::destroy_dc(dc);
}

// A book with both arrangements is named so; the box has a button to close it with.
TEST_F(AboutBoxTest, NameLineFollowsTheBookAndDoneCloses) {
    const testbook::Bytes bytes = testbook::book_file(true);
    ASSERT_TRUE(use_book_bytes(bytes, nullptr, "test book"));
    testplat::push_dialog_script([](plat::Window* d) {
        EXPECT_EQ(plat::control_text(d, ID_ABOUT_NAME), u"Lekta (Hebrew): Regular and Leap Years");
        EXPECT_TRUE(d->done_button);
        testplat::send_command(d, plat::IDOK);  // the Done button
    });
    EXPECT_EQ(show_about_box(nullptr), plat::IDOK);
    unload_book();
}

TEST_F(AboutBoxTest, LinkOpensTheHomePageAndTheBoxStaysOpen) {
    plat::Window* box = nullptr;
    testplat::push_dialog_script([&](plat::Window* d) {
        box = d;
        testplat::click(d, ID_ABOUT_LINK);
        EXPECT_FALSE(d->ended);
        testplat::click(d, ID_ABOUT_LINK);
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(show_about_box(nullptr), plat::IDOK);
    ASSERT_EQ(testplat::opened_urls().size(), 2u);
    EXPECT_EQ(testplat::opened_urls()[0].url, u"" LEKTA_HOMEPAGE_URL);
    EXPECT_EQ(testplat::opened_urls()[0].owner, box);
}

}  // namespace
}  // namespace lekta
