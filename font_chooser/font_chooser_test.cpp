// The font chooser run headless: what it shows when it opens, how selections and the base
// buttons change the preview, and what OK and Cancel leave in the FontSpec.
#include "font_chooser/font_chooser.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The preview as last drawn: its letters, in the font and place they were drawn with.
const plat::DrawCall& preview(plat::Window* d) {
    tp::repaint(d);
    static const plat::DrawCall none;
    const std::vector<plat::DrawCall>& calls = plat::get_dc(d)->calls;
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (it->kind == plat::DrawCall::TEXT) return *it;
    return none;
}

std::u16string preview_text(plat::Window* d) {
    return preview(d).text;
}

std::u16string preview_face(plat::Window* d) {
    return preview(d).font.face;
}

std::u16string list_items(plat::Window* d, uint16_t list) {
    std::u16string items;
    for (int32_t i = 0; i < plat::list_count(d, list); ++i)
        items += plat::list_text(d, list, i) + u"|";
    return items;
}

std::u16string selected(plat::Window* d, uint16_t list) {
    const int32_t i = plat::list_selection(d, list);
    return i < 0 ? u"" : plat::list_text(d, list, i);
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
        // Highest letter first, drawn left to right on one line against the right edge: the
        // alphabet reads from the right, in the face and size the text is drawn in.
        EXPECT_EQ(letters_down_from(0x5D0), preview_text(d));
        EXPECT_EQ(plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX,
                  preview(d).format);
        EXPECT_EQ(u"Frank Ruehl", preview_face(d));
        EXPECT_EQ(14, preview(d).font.height);
        // Only the families that draw the Unicode Hebrew letters, sorted; the stored face
        // picks the first that begins with it, in any case.
        EXPECT_EQ(u"David|Frank Ruehl|", list_items(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(u"Frank Ruehl", selected(d, IDC_FONT_FAMILIES));
        // The fourteen sizes in order, 52 between 32 and 72.
        std::u16string sizes;
        for (int32_t i = 0; i < plat::list_count(d, IDC_FONT_SIZES); ++i)
            sizes += plat::list_text(d, IDC_FONT_SIZES, i) + u" ";
        EXPECT_EQ(u"10 11 12 14 16 18 20 22 24 26 28 32 52 72 ", sizes);
        EXPECT_EQ(3, plat::list_selection(d, IDC_FONT_SIZES));
        EXPECT_EQ(IDC_FONT_FAMILIES, d->focus);
        // Each control is named by what it chooses.
        for (const plat::DialogControl& c : d->controls)
            EXPECT_FALSE(c.name.empty()) << c.id;
    });
    EXPECT_EQ(FONT_CANCELLED, result);
    ASSERT_EQ(1u, tp::dialog_runs().size());
    EXPECT_EQ(u"Choose Font", tp::dialog_runs()[0].caption);
    EXPECT_EQ(0x5D0, font_spec.font_ascii_base);
    EXPECT_EQ(u"frank", std::u16string(font_spec.face_name));
}

// What each kind of family is offered for, read from its character map, and what the preview
// draws with after a change of base.
TEST_F(FontChooserTest, OffersAFamilyOnlyWhereItDrawsTheLetters) {
    std::u32string letters_only;
    for (char32_t c = 0x5D0; c <= 0x5EA; ++c)
        letters_only += c;
    tp::set_font_families({
        {u"Frank Ruehl CLM", plat::HEBREW_CHARSET, tp::unicode_hebrew_glyphs()},
        {u"Web Hebrew", 0, tp::single_byte_hebrew_glyphs()},
        {u"Caladings CLM", 0, tp::latin_glyphs(), true},
        {u"Pictures", plat::HEBREW_CHARSET, tp::unicode_hebrew_glyphs(), true},
        {u"DejaVu Serif", 0, tp::latin_glyphs()},
        {u"No Maqaf", plat::HEBREW_CHARSET, letters_only},
    });
    FontSpec font_spec = spec_of(u"Frank Ruehl CLM", 24, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        EXPECT_EQ(u"Frank Ruehl CLM|", list_items(d, IDC_FONT_FAMILIES));
        tp::click(d, IDC_BASE_224);
        EXPECT_EQ(u"Web Hebrew|", list_items(d, IDC_FONT_FAMILIES));
        // The face it had draws no letters here: the family that does takes its place.
        EXPECT_EQ(u"Web Hebrew", selected(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(letters_down_from(224), preview_text(d));
        EXPECT_EQ(u"Web Hebrew", preview_face(d));
        EXPECT_EQ(24, preview(d).font.height);
        tp::click(d, IDC_BASE_5D0);
        EXPECT_EQ(u"Frank Ruehl CLM", selected(d, IDC_FONT_FAMILIES));
    });
    FontSpec as_is = spec_of(u"DejaVu Serif", 12, 97);
    run(as_is, [](plat::Window* d) {
        EXPECT_EQ(u"DejaVu Serif|Frank Ruehl CLM|Web Hebrew|", list_items(d, IDC_FONT_FAMILIES));
    });

    // A base no family draws has its button disabled.
    tp::set_font_families({{u"David", plat::HEBREW_CHARSET, tp::unicode_hebrew_glyphs()}});
    run(font_spec, [](plat::Window* d) {
        EXPECT_FALSE(d->find_control(IDC_BASE_224)->enabled);
        EXPECT_TRUE(d->find_control(IDC_BASE_5D0)->enabled);
    });
}

TEST_F(FontChooserTest, AHebrewFamilySwitchesTheBaseOnce) {
    // A family that draws the letters at both bases.
    tp::set_font_families({{u"Both", plat::HEBREW_CHARSET,
                            tp::unicode_hebrew_glyphs() + tp::single_byte_hebrew_glyphs()},
                           {u"Web Hebrew", 0, tp::single_byte_hebrew_glyphs()}});
    FontSpec font_spec = spec_of(u"Web Hebrew", 12, 224);
    run(font_spec, [](plat::Window* d) {
        EXPECT_EQ(u"Both|Web Hebrew|", list_items(d, IDC_FONT_FAMILIES));
        pick(d, IDC_FONT_FAMILIES, u"Both");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_FALSE(plat::control_checked(d, IDC_BASE_224));
        EXPECT_EQ(letters_down_from(0x5D0), preview_text(d));
        EXPECT_EQ(u"Both", selected(d, IDC_FONT_FAMILIES));
        // The user may still choose 224 for it, but a new size switches back.
        tp::click(d, IDC_BASE_224);
        EXPECT_EQ(letters_down_from(224), preview_text(d));
        pick(d, IDC_FONT_SIZES, u"52");
        EXPECT_TRUE(plat::control_checked(d, IDC_BASE_5D0));
        EXPECT_EQ(52, preview(d).font.height);
        tp::click(d, IDC_BASE_224);
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(u"Both", std::u16string(font_spec.face_name));
    EXPECT_EQ(52, font_spec.font_size);
    EXPECT_EQ(224, font_spec.font_ascii_base);
}

// Reopened after a choice, the chooser shows that choice, and Done changes nothing.
TEST_F(FontChooserTest, ReopensOnTheChoiceAndDoneKeepsIt) {
    FontSpec font_spec = spec_of(u"David", 16, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        pick(d, IDC_FONT_FAMILIES, u"Frank Ruehl");
        pick(d, IDC_FONT_SIZES, u"24");
        tp::send_command(d, plat::IDOK);
    });
    const FontSpec chosen = font_spec;
    run(font_spec, [](plat::Window* d) {
        EXPECT_EQ(u"Frank Ruehl", selected(d, IDC_FONT_FAMILIES));
        EXPECT_EQ(u"24", selected(d, IDC_FONT_SIZES));
        EXPECT_EQ(u"Frank Ruehl", preview_face(d));
        EXPECT_EQ(24, preview(d).font.height);
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(std::u16string(chosen.face_name), std::u16string(font_spec.face_name));
    EXPECT_EQ(24, font_spec.font_size);
    EXPECT_EQ(0x5D0, font_spec.font_ascii_base);
}

TEST_F(FontChooserTest, CancelLeavesTheSpecAsItWas) {
    FontSpec font_spec = spec_of(u"Web Hebrew", 20, 224);
    const intptr_t result = run(font_spec, [](plat::Window* d) {
        tp::click(d, IDC_BASE_5D0);
        pick(d, IDC_FONT_FAMILIES, u"Frank Ruehl");
        pick(d, IDC_FONT_SIZES, u"72");
        tp::send_command(d, plat::IDCANCEL);
    });
    EXPECT_EQ(FONT_CANCELLED, result);
    EXPECT_EQ(u"Web Hebrew", std::u16string(font_spec.face_name));
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
    EXPECT_EQ(u"Web Hebrew", std::u16string(font_spec.face_name));
}

TEST_F(FontChooserTest, UnmatchedChoicesAreKept) {
    FontSpec font_spec = spec_of(u"Arial", 16, 0x5D0);
    run(font_spec, [](plat::Window* d) {
        pick(d, IDC_FONT_SIZES, u"28");
        tp::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(28, font_spec.font_size);

    // A face no family begins with and a size the list does not offer: no selections, and OK
    // keeps both. A stored 5 selects nothing, though "52" begins with it.
    for (const int32_t stored : {5, 13, 1, -4, 100}) {
        FontSpec odd = spec_of(u"Nonesuch", stored, 0x5D0);
        run(odd, [](plat::Window* d) {
            EXPECT_EQ(-1, plat::list_selection(d, IDC_FONT_FAMILIES));
            EXPECT_EQ(-1, plat::list_selection(d, IDC_FONT_SIZES));
            EXPECT_EQ(14, plat::list_count(d, IDC_FONT_SIZES));
            tp::send_command(d, plat::IDOK);
        });
        EXPECT_EQ(u"Nonesuch", std::u16string(odd.face_name)) << stored;
        EXPECT_EQ(stored, odd.font_size);
    }
}

TEST_F(FontChooserTest, AnEmptyFaceOpensOnTheFirstFamily) {
    FontSpec font_spec;
    font_spec.face_name[0] = 0;
    run(font_spec, [](plat::Window* d) { tp::send_command(d, plat::IDOK); });
    EXPECT_EQ(u"David", std::u16string(font_spec.face_name));
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
        const auto& calls = plat::get_dc(d)->calls;
        EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const plat::DrawCall& c) {
            return c.kind == plat::DrawCall::RECTANGLE && c.rect == plat::Rect{7, 190, 233, 286};
        }));
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
        many.push_back({u"Face " + size_text(100 + i), i == 40 ? plat::HEBREW_CHARSET : uint8_t{0},
                        tp::unicode_hebrew_glyphs()});
    many.push_back({u"A name of more than thirty-one units", 0, tp::unicode_hebrew_glyphs()});
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
                  // No base is offered that nothing draws; the stored one stays.
                  EXPECT_FALSE(d->find_control(IDC_BASE_5D0)->enabled);
                  tp::send_command(d, plat::IDOK);
              }));
    EXPECT_EQ(u"David", std::u16string(font_spec.face_name));
    EXPECT_EQ(224, font_spec.font_ascii_base);
}

}  // namespace
