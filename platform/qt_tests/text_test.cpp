// Text and drawing: measured widths agree with what is drawn, runs are drawn in stored order
// (no bidi reordering), and the rectangle calls cover exactly the pixels they should.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/qt/qt_internal.h"

using namespace lekta;
using plat::Rect;

namespace {

struct ImageDc {
    explicit ImageDc(int width = 400, int height = 60)
        : image(width, height, QImage::Format_RGB32) {
        image.fill(Qt::white);
        dc = qtplat::create_image_dc(&image);
    }
    ~ImageDc() { qtplat::delete_image_dc(dc); }
    QImage image;
    plat::Dc* dc;
};

plat::Font* make_font(int height, const char16_t* face = u"DejaVu Sans", int weight = 400) {
    plat::FontDesc desc;
    for (int i = 0; face[i] && i < 31; ++i)
        desc.face[i] = face[i];
    desc.height = height;
    desc.weight = weight;
    desc.charset = plat::HEBREW_CHARSET;
    return plat::create_font(desc);
}

// Columns holding dark pixels: first and last, or -1.
std::pair<int, int> ink_columns(const QImage& image) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qRed(image.pixel(x, y)) < 160) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

int width_of(plat::Dc* dc, const std::u16string& s) {
    return plat::text_extent(dc, s.data(), int32_t(s.size()), 0).width;
}

const std::u16string HEBREW = u"שלום עולם";

TEST(Text, ExtentFitsAndAgreesWithTheDrawnRun) {
    ImageDc target;
    plat::Font* font = make_font(24);
    ASSERT_NE(font, nullptr);
    plat::select_font(target.dc, font);
    const std::u16string run = HEBREW + u" (abc) 12";

    int32_t total = width_of(target.dc, run);
    int32_t sum = 0;
    for (size_t i = 0; i < run.size(); ++i) {
        int32_t before = sum;
        sum += width_of(target.dc, run.substr(i, 1));
        // Exactly the first i+1 characters fit their own width; one pixel less fits i.
        EXPECT_EQ(plat::text_extent(target.dc, run.data(), int32_t(run.size()), sum).fit,
                  int32_t(i + 1));
        if (sum > before) {
            EXPECT_EQ(plat::text_extent(target.dc, run.data(), int32_t(run.size()), sum - 1).fit,
                      int32_t(i));
        }
    }
    EXPECT_EQ(sum, total);
    EXPECT_EQ(plat::text_extent(target.dc, run.data(), int32_t(run.size()), -1).fit, 0);

    plat::set_bk_transparent(target.dc, true);
    plat::draw_text(target.dc, run.data(), int32_t(run.size()), Rect{10, 5, 400, 55},
                    plat::DT_LEFT);
    auto [first, last] = ink_columns(target.image);
    ASSERT_GE(first, 10);
    EXPECT_LE(first, 13);
    EXPECT_LT(last, 10 + total);
    EXPECT_GE(last, 10 + total - width_of(target.dc, u"2"));
    plat::delete_font(font);
}

// The run looks exactly like its characters drawn one by one at their measured places, left to
// right in stored order: no reordering of the Hebrew, no mirroring of the brackets.
TEST(Text, RunIsDrawnInStoredOrder) {
    const std::u16string run = u"אבג (דה) 12 xy";
    ImageDc whole, pieces;
    plat::Font* font = make_font(22);
    plat::select_font(whole.dc, font);
    plat::select_font(pieces.dc, font);
    plat::set_bk_transparent(whole.dc, true);
    plat::set_bk_transparent(pieces.dc, true);
    plat::draw_text(whole.dc, run.data(), int32_t(run.size()), Rect{4, 4, 396, 56}, 0);
    int32_t x = 4;
    for (char16_t c : run) {
        plat::draw_text(pieces.dc, &c, 1, Rect{x, 4, 396, 56}, 0);
        x += width_of(pieces.dc, std::u16string(1, c));
    }
    EXPECT_EQ(whole.image, pieces.image);

    // And the first stored letter is at the left: aleph alone matches the run's left part.
    ImageDc aleph, reversed;
    plat::select_font(aleph.dc, font);
    plat::select_font(reversed.dc, font);
    plat::draw_text(aleph.dc, u"א", 1, Rect{4, 4, 396, 56}, 0);
    plat::draw_text(reversed.dc, u"בא", 2, Rect{4, 4, 396, 56}, 0);
    const int split = 4 + width_of(aleph.dc, u"א");
    EXPECT_EQ(whole.image.copy(0, 0, split, 60), aleph.image.copy(0, 0, split, 60));
    EXPECT_NE(reversed.image.copy(0, 0, split, 60), aleph.image.copy(0, 0, split, 60));
    plat::delete_font(font);
}

TEST(Text, CentringBackgroundAndColour) {
    ImageDc target(200, 40);
    plat::Font* font = make_font(16);
    plat::select_font(target.dc, font);
    const std::u16string run = u"אבגד";
    const int32_t width = width_of(target.dc, run);
    const int32_t height = plat::text_metrics(target.dc).height;

    plat::set_text_color(target.dc, 0x0000FF);  // red
    EXPECT_EQ(plat::set_bk_color(target.dc, 0x00FFFF), 0xFFFFFFu);
    plat::set_bk_transparent(target.dc, false);
    plat::draw_text(target.dc, run.data(), 4, Rect{0, 0, 200, 40},
                    plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    const int left = (200 - width) / 2, top = (40 - height) / 2;
    // The text's own box is yellow where no glyph covers it; around it the image is untouched.
    EXPECT_EQ(target.image.pixel(left, top), qRgb(255, 255, 0));
    EXPECT_EQ(target.image.pixel(left + width - 1, top + height - 1), qRgb(255, 255, 0));
    EXPECT_EQ(target.image.pixel(left - 1, top), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(left, top - 1), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(left + width, top + height), qRgb(255, 255, 255));
    bool red = false;
    for (int x = left; x < left + width; ++x)
        for (int y = top; y < top + height; ++y)
            red = red ||
                  (qRed(target.image.pixel(x, y)) > 200 && qGreen(target.image.pixel(x, y)) < 60);
    EXPECT_TRUE(red);
    EXPECT_EQ(plat::get_text_color(target.dc), 0x0000FFu);

    // Clipped to the rectangle: nothing lands outside it.
    ImageDc clipped(200, 40);
    plat::select_font(clipped.dc, font);
    plat::draw_text(clipped.dc, run.data(), 4, Rect{50, 10, 60, 30}, 0);
    auto [first, last] = ink_columns(clipped.image);
    EXPECT_GE(first, 50);
    EXPECT_LT(last, 60);
    plat::delete_font(font);
}

TEST(Text, RectanglesCoverExactlyTheirPixels) {
    ImageDc target(40, 20);
    plat::fill_rect(target.dc, Rect{1, 1, 4, 3}, 0x000000);
    EXPECT_EQ(target.image.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(target.image.pixel(3, 2), qRgb(0, 0, 0));
    EXPECT_EQ(target.image.pixel(4, 2), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(3, 3), qRgb(255, 255, 255));

    plat::draw_rectangle(target.dc, Rect{10, 2, 20, 10}, 0xFF0000, 0x00FFFF);
    EXPECT_EQ(target.image.pixel(10, 2), qRgb(0, 0, 255));
    EXPECT_EQ(target.image.pixel(19, 9), qRgb(0, 0, 255));
    EXPECT_EQ(target.image.pixel(15, 9), qRgb(0, 0, 255));
    EXPECT_EQ(target.image.pixel(11, 3), qRgb(255, 255, 0));
    EXPECT_EQ(target.image.pixel(20, 10), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(20, 5), qRgb(255, 255, 255));

    // A rule: one pixel high, the frame alone.
    plat::draw_rectangle(target.dc, Rect{0, 15, 30, 16}, 0x000000, std::nullopt);
    EXPECT_EQ(target.image.pixel(0, 15), qRgb(0, 0, 0));
    EXPECT_EQ(target.image.pixel(29, 15), qRgb(0, 0, 0));
    EXPECT_EQ(target.image.pixel(15, 15), qRgb(0, 0, 0));
    EXPECT_EQ(target.image.pixel(30, 15), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(15, 16), qRgb(255, 255, 255));
    EXPECT_EQ(target.image.pixel(15, 14), qRgb(255, 255, 255));
}

TEST(Text, FontsMetricsAndSelection) {
    ImageDc target;
    plat::Font* small = make_font(14);
    plat::Font* large = make_font(40);
    plat::Font* bold = make_font(14, u"DejaVu Sans", 700);
    EXPECT_EQ(plat::select_font(target.dc, small), nullptr);
    plat::TextMetrics m14 = plat::text_metrics(target.dc);
    EXPECT_EQ(plat::select_font(target.dc, large), small);
    plat::TextMetrics m40 = plat::text_metrics(target.dc);
    EXPECT_GT(m14.height, 14);
    EXPECT_GT(m40.height, 2 * m14.height);
    EXPECT_GE(plat::widest_character(target.dc), width_of(target.dc, u"ש"));
    plat::select_font(target.dc, small);
    EXPECT_GE(plat::widest_character(target.dc), width_of(target.dc, u"ש"));

    plat::select_font(target.dc, bold);
    int bold_width = width_of(target.dc, HEBREW);
    plat::select_font(target.dc, small);
    EXPECT_GE(bold_width, width_of(target.dc, HEBREW));

    // A font deleted while selected leaves the dc with the stock font, not a dangling one.
    plat::delete_font(small);
    plat::TextMetrics stock = plat::text_metrics(target.dc);
    EXPECT_GT(stock.height, 0);
    EXPECT_GT(width_of(target.dc, HEBREW), 0);
    plat::delete_font(large);
    plat::delete_font(bold);
}

// A face without Hebrew letters still measures and draws them, through a face that has them.
TEST(Text, HebrewFallsBackToAFaceThatHasIt) {
    plat::Font* latin = make_font(20, u"DejaVu Math TeX Gyre");
    ASSERT_NE(latin, nullptr);
    if (latin->faces[0].supportsCharacter(QChar(u'א'))) GTEST_SKIP() << "the face has Hebrew";
    const auto& page = qtplat::glyph_page(latin, u'א');
    EXPECT_EQ(page.face[0xD0], 1);
    EXPECT_NE(page.glyph[0xD0], 0u);
    EXPECT_GT(page.advance[0xD0], 0);
    plat::delete_font(latin);
}

}  // namespace

namespace {

// A row full of ink under the glyphs: the underline that glyph runs do not draw themselves.
TEST(Text, UnderlinedFontsDrawTheirLine) {
    plat::FontDesc desc;
    std::copy_n(u"DejaVu Sans", 11, desc.face);
    desc.height = 16;
    desc.underline = true;
    plat::Font* font = plat::create_font(desc);
    ImageDc target(200, 40);
    plat::select_font(target.dc, font);
    plat::set_bk_transparent(target.dc, true);
    const std::u16string run = u"link";
    plat::draw_text(target.dc, run.data(), 4, Rect{0, 0, 200, 40}, 0);
    const int width = width_of(target.dc, run);
    bool full_row = false;
    for (int y = 0; y < 40 && !full_row; ++y) {
        bool all = true;
        for (int x = 0; x < width; ++x)
            all = all && qRed(target.image.pixel(x, y)) < 100;
        full_row = all;
    }
    EXPECT_TRUE(full_row);
    plat::delete_font(font);
}

}  // namespace
