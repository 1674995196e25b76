// The font chooser run headless: what it shows when it opens, how selections and the base
// buttons change the preview, and what OK and Cancel leave in the FontSpec.
#include "font_chooser/font_chooser.h"

#include <gtest/gtest.h>

#include <string>

#include "font_chooser/font_chooser_layout.h"
#include "font_chooser/font_chooser_template.h"
#include "font_chooser/font_families.h"
#include "font_chooser/font_sizes.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_font_families.h"
#include "platform/test/test_text.h"

using namespace lekta;
namespace tp = lekta::testplat;

namespace {

FontSpec spec_of(const char16_t* face, int32_t size, int32_t base) {
    FontSpec font_spec;
    std::u16string f = face;
    std::copy(f.begin(), f.end(), font_spec.face_name);
    font_spec.font_size = size;
    font_spec.font_ascii_base = base;
    return font_spec;
}

// The 27 letters from base + 26 down to base.
std::u16string letters_down_from(int32_t base) {
    std::u16string text;
    for (int i = 26; i >= 0; --i)
        text.push_back(static_cast<char16_t>(base + i));
    return text;
}

std::u16string preview_text(plat::Window* d) {
    return plat::control_text(d, IDC_FONT_PREVIEW);
}

int32_t item_index(plat::Window* d, uint16_t list, const char16_t* text) {
    for (int32_t i = 0; i < plat::list_count(d, list); ++i)
        if (plat::list_text(d, list, i) == text) return i;
    return -1;
}

void pick(plat::Window* d, uint16_t list, const char16_t* text) {
    const int32_t i = item_index(d, list, text);
    ASSERT_GE(i, 0) << std::string(text, text + std::char_traits<char16_t>::length(text));
    tp::choose_item(d, list, i);
}

class FontChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tp::reset_windows();
        tp::reset_text();
        tp::reset_font_families();
        g_font_preview = FontPreview{};
        fonts_before_ = tp::live_fonts();
    }
    void TearDown() override {
        // Nothing of a closed chooser holds a font.
        EXPECT_EQ(fonts_before_, tp::live_fonts());
        EXPECT_EQ(nullptr, g_font_preview.font);
        g_allocate_family_block = default_allocator_;
        tp::reset_font_families();
        tp::reset_windows();
    }

    intptr_t run(FontSpec& font_spec, tp::DialogScript script) {
        tp::push_dialog_script(std::move(script));
        return choose_font(nullptr, &font_spec);
    }

    int fonts_before_ = 0;
    FamilyBlockAllocator default_allocator_ = g_allocate_family_block;
};

TEST_F(FontChooserTest, OpensWithTheStoredChoiceSelected) {
    FontSpec font_spec = spec_of(u"frank", 14, 0);
    const intptr_t result = run(font_spec, [](plat::Window* d) {
        EXPECT_EQ(plat::DIALOG_FULL_SCREEN, d->init_flags);
        // A base of 0 reads as the Unicode Hebrew letters.
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_FALSE(plat::control_checked(d, IDC_BASE_224));
        EXPECT_EQ(letters_down_from(0x5D0), preview_text(d));
        EXPECT_EQ(u"\u05EA", preview_text(d).substr(0, 1));
        // Sorted families; the stored face picks the first that begins with it, in any case.
        ASSERT_EQ(5, plat::list_count(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(u"Arial", plat::list_text(d, IDC_FONT_FAMILIES, 0));
        EXPECT_EQ(u"Tahoma", plat::list_text(d, IDC_FONT_FAMILIES, 4));
        EXPECT_EQ(u"Frank Ruehl", plat::list_text(d, IDC_FONT_FAMILIES,
                                                  plat::list_selection(d, IDC_FONT_FAMILIES)));
        // The fourteen sizes in order, 52 between 32 and 72.
        std::u16string sizes;
        for (int32_t i = 0; i < plat::list_count(d, IDC_FONT_SIZES); ++i)
            sizes += plat::list_text(d, IDC_FONT_SIZES, i) + u" ";
        EXPECT_EQ(u"10 11 12 14 16 18 20 22 24 26 28 32 52 72 ", sizes);
        EXPECT_EQ(3, plat::list_selection(d, IDC_FONT_SIZES));
        EXPECT_EQ(IDC_FONT_FAMILIES, d->focus);
        // The box keeps the dialog's font until something changes.
        EXPECT_EQ(plat::FontDesc{}.face[0], plat::control_font(d, IDC_FONT_PREVIEW).face[0]);
        EXPECT_EQ(0, plat::control_font(d, IDC_FONT_PREVIEW).height);
    });
    EXPECT_EQ(FONT_CANCELLED, result);
    ASSERT_EQ(1u, tp::dialog_runs().size());
    EXPECT_EQ(u"Choose Font", tp::dialog_runs()[0].caption);
    EXPECT_EQ(0x5D0, font_spec.font_ascii_base);
    EXPECT_EQ(u"frank", std::u16string(font_spec.face_name));
}

TEST_F(FontChooserTest, AHebrewFamilySwitchesTheBaseOnce) {
    FontSpec font_spec = spec_of(u"Tahoma", 12, 224);
    run(font_spec, [](plat::Window* d) {
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_224));
        EXPECT_EQ(letters_down_from(224), preview_text(d));
        // A family without Hebrew leaves the base alone, and the preview takes its face.
        pick(d, IDC_FONT_FAMILIES, u"Courier New");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_224));
        EXPECT_EQ(letters_down_from(224), preview_text(d));
        EXPECT_EQ(u"Courier New", std::u16string(plat::control_font(d, IDC_FONT_PREVIEW).face));
        EXPECT_EQ(12, plat::control_font(d, IDC_FONT_PREVIEW).height);

        pick(d, IDC_FONT_FAMILIES, u"David");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_FALSE(plat::control_checked(d, IDC_BASE_224));
        EXPECT_EQ(letters_down_from(0x5D0), preview_text(d));
        EXPECT_EQ(u"David", std::u16string(plat::control_font(d, IDC_FONT_PREVIEW).face));

        // Again: nothing more changes, and the preview letters are not written again.
        plat::set_control_text(d, IDC_FONT_PREVIEW, u"typed");
        pick(d, IDC_FONT_FAMILIES, u"David");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_EQ(u"typed", preview_text(d));

        // The user may still choose 224 for a Hebrew family, but any list change with the
        // family selected switches back, a new size too.
        tp::click(d, IDC_BASE_224);
        EXPECT_EQ(letters_down_from(224), preview_text(d));
        pick(d, IDC_FONT_SIZES, u"52");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_EQ(letters_down_from(0x5D0), preview_text(d));
        EXPECT_EQ(52, plat::control_font(d, IDC_FONT_PREVIEW).height);
        tp::click(d, IDC_BASE_224);
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(u"David", std::u16string(font_spec.face_name));
    EXPECT_EQ(52, font_spec.font_size);
    EXPECT_EQ(224, font_spec.font_ascii_base);
}

TEST_F(FontChooserTest, CancelLeavesTheSpecAsItWas) {
    FontSpec font_spec = spec_of(u"Arial", 20, 224);
    const intptr_t result = run(font_spec, [](plat::Window* d) {
        pick(d, IDC_FONT_FAMILIES, u"Frank Ruehl");
        pick(d, IDC_FONT_SIZES, u"72");
        tp::click(d, IDC_BASE_224);
        tp::send_command(d, plat::IDCANCEL);
    });
    EXPECT_EQ(FONT_CANCELLED, result);
    EXPECT_EQ(u"Arial", std::u16string(font_spec.face_name));
    EXPECT_EQ(20, font_spec.font_size);
    EXPECT_EQ(224, font_spec.font_ascii_base);
    // The preview remembers what was picked, for the next opening.
    EXPECT_EQ(u"Frank Ruehl", std::u16string(g_font_preview.face_name));
    EXPECT_EQ(72, g_font_preview.height);
}

TEST_F(FontChooserTest, BaseNinetySevenHasNoButton) {
    FontSpec font_spec = spec_of(u"Arial", 14, 97);
    EXPECT_EQ(FONT_CHOSEN, run(font_spec, [](plat::Window* d) {
                  EXPECT_FALSE(plat::control_checked(d, IDC_BASE_224));
                  EXPECT_FALSE(plat::control_checked(d, IDC_BASE_5D0));
                  EXPECT_EQ(letters_down_from(97), preview_text(d));
                  EXPECT_EQ(u"{zyxwvutsrqponmlkjihgfedcba", preview_text(d));
                  tp::send_command(d, plat::IDOK);
              }));
    EXPECT_EQ(97, font_spec.font_ascii_base);

    run(font_spec, [](plat::Window* d) {
        tp::click(d, IDC_BASE_224);
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(224, font_spec.font_ascii_base);
}

TEST_F(FontChooserTest, UnmatchedChoicesKeepTheFaceAndTakeTheLastPreviewHeight) {
    FontSpec font_spec = spec_of(u"Arial", 16, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        pick(d, IDC_FONT_SIZES, u"28");
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(28, font_spec.font_size);

    // A face no family begins with and a size the list does not offer: no selections. A stored
    // 5 selects nothing, though "52" begins with it.
    for (const int32_t stored : {5, 13, 1, -4, 100}) {
        FontSpec odd = spec_of(u"Nonesuch", stored, 0x5D0);
        run(odd, [](plat::Window* d) {
            EXPECT_EQ(-1, plat::list_selection(d, IDC_FONT_FAMILIES));
            EXPECT_EQ(-1, plat::list_selection(d, IDC_FONT_SIZES));
            EXPECT_EQ(14, plat::list_count(d, IDC_FONT_SIZES));
            tp::send_command(d, plat::IDOK);
        });
        EXPECT_EQ(u"Arial", std::u16string(odd.face_name)) << stored;  // the preview's face
        EXPECT_EQ(28, odd.font_size) << stored;
    }
}

TEST_F(FontChooserTest, AnEmptyFaceOpensOnTheFirstFamily) {
    FontSpec font_spec;
    font_spec.face_name[0] = 0;
    run(font_spec, [](plat::Window* d) { tp::send_command(d, plat::IDOK); });
    EXPECT_EQ(u"Arial", std::u16string(font_spec.face_name));
    EXPECT_EQ(0, font_spec.font_size);  // no size was ever chosen
}

TEST_F(FontChooserTest, ResizingPlacesTheControls) {
    FontSpec font_spec = spec_of(u"Arial", 14, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        // Opened at the template's size: 152 x 167 units are 304 x 334 pixels here.
        EXPECT_EQ(plat::Rect({0, 0, 304, 334}), plat::client_rect(d));
        EXPECT_EQ(plat::Rect({7, 7, 193, 213}), plat::control_rect(d, IDC_FONT_FAMILIES));
        tp::resize_dialog(d, 240, 300);
        // W 226, H 286, X 150, Y 190.
        EXPECT_EQ(plat::Rect({7, 7, 150, 190}), plat::control_rect(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(plat::Rect({157, 59, 233, 190}), plat::control_rect(d, IDC_FONT_SIZES));
        EXPECT_EQ(plat::Rect({7, 190, 233, 286}), plat::control_rect(d, IDC_FONT_PREVIEW));
        EXPECT_EQ(plat::Rect({157, 24, 233, 34}), plat::control_rect(d, IDC_BASE_224));
        EXPECT_EQ(plat::Rect({157, 41, 233, 51}), plat::control_rect(d, IDC_BASE_5D0));
    });
}

TEST(FontChooserLayout, NeverGivesANegativeSize) {
    const FontChooserLayout tiny = font_chooser_layout(20, 60);
    // W 6, H 46, X 4, Y 30: the size list would be 29 pixels too short.
    EXPECT_EQ(plat::Rect({7, 7, 7, 30}), tiny.families);
    EXPECT_EQ(plat::Rect({11, 59, 13, 59}), tiny.sizes);
    EXPECT_EQ(plat::Rect({7, 30, 13, 46}), tiny.preview);
    EXPECT_EQ(plat::Rect({11, 7, 13, 17}), tiny.base_97);
    const FontChooserLayout none = font_chooser_layout(0, 0);
    EXPECT_EQ(none.preview.left, none.preview.right);
    EXPECT_EQ(none.preview.top, none.preview.bottom);
}

TEST(FontSizes, TextsAndValues) {
    EXPECT_EQ(u"52", size_text(52));
    EXPECT_EQ(u"10", size_text(10));
    EXPECT_EQ(52, parse_size(u"52"));
    EXPECT_EQ(0, parse_size(u""));
    EXPECT_EQ(12, size_index(52));
    EXPECT_EQ(-1, size_index(13));
}

TEST_F(FontChooserTest, FamiliesComeInBlocksAndAFailedBlockEndsTheList) {
    std::vector<tp::TestFontFamily> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(
            {u"Face " + size_text(100 + i), i == 40 ? plat::HEBREW_CHARSET : uint8_t{0}});
    many.push_back({u"A name of more than thirty-one units", 0});
    tp::set_font_families(many);

    FontFamilyList list;
    enumerate_families(list);
    EXPECT_EQ(61, list.count);
    EXPECT_EQ(3u, list.blocks.size());
    EXPECT_EQ(u"Face 125", std::u16string(family_at(list, 25).face_name));
    EXPECT_EQ(u"A name of more than thirty-one ", std::u16string(family_at(list, 60).face_name));
    const FontFamilyEntry* hebrew = find_family(list, u"Face 140");
    ASSERT_NE(nullptr, hebrew);
    EXPECT_EQ(plat::HEBREW_CHARSET, hebrew->charset);
    EXPECT_EQ(nullptr, find_family(list, u"Face 14"));  // exact names only
    free_families(list);
    EXPECT_EQ(0, list.count);

    // The second block can't be had: the 25 families found so far are offered.
    static int blocks_left;
    blocks_left = 1;
    g_allocate_family_block = [] {
        return blocks_left-- > 0 ? new (std::nothrow) FontFamilyEntry[FAMILY_BLOCK_SIZE] : nullptr;
    };
    FontSpec font_spec = spec_of(u"Face", 14, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        EXPECT_EQ(25, plat::list_count(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(u"Face 100", plat::list_text(d, IDC_FONT_FAMILIES, 0));
    });
}

TEST_F(FontChooserTest, NoFamiliesAtAll) {
    tp::set_font_families(std::vector<tp::TestFontFamily>{});
    FontSpec font_spec = spec_of(u"David", 14, 224);
    EXPECT_EQ(FONT_CHOSEN, run(font_spec, [](plat::Window* d) {
                  EXPECT_EQ(0, plat::list_count(d, IDC_FONT_FAMILIES));
                  tp::click(d, IDC_BASE_5D0);
                  tp::send_command(d, plat::IDOK);
              }));
    EXPECT_EQ(u"David", std::u16string(font_spec.face_name));
    EXPECT_EQ(0x5D0, font_spec.font_ascii_base);
}

}  // namespace
