#include "view/frame.h"

#include <algorithm>

#include "state/reader.h"
#include "state/settings.h"
#include "view/letter_code.h"
#include "view/palette.h"

namespace lekta {

ChooseDateHook g_choose_date = nullptr;
GoToDayHook g_go_to_day = nullptr;

namespace {

constexpr int32_t STRIP_FONT_HEIGHT = 14;
constexpr int32_t STRIP_INK_MARGIN = 2;  // rows kept free above and below the letters

int32_t date_length(int32_t count) {
    return std::clamp(count, 0, DATE_TEXT_CAPACITY);
}

plat::Rect strip_rect() {
    const Reader& r = g_reader;
    return {r.strip_left, r.strip_top, r.strip_left + r.strip_width, r.strip_top + r.strip_height};
}

}  // namespace

void make_strip_font() {
    Reader& s = g_reader;
    plat::delete_font(s.strip_font);
    plat::FontDesc desc;
    desc.height = STRIP_FONT_HEIGHT;
    desc.weight = 400;
    if (g_settings.font_spec.face_name[0]) {
        std::copy_n(g_settings.font_spec.face_name, 31, desc.face);
    } else {
        desc.charset = plat::HEBREW_CHARSET;
    }
    s.strip_font = plat::create_font(desc);
    // Once the strip has its height, a face chosen later is scaled so that its letters fill it:
    // faces differ widely in how tall their letters are at one size.
    const int32_t target = s.strip_height - 2 * STRIP_INK_MARGIN;
    if (!s.strip_font || target <= 0 || !s.main_window) return;
    static constexpr uint8_t LETTERS[] = "abcdefghijklmnopqrstuvwxyz{";
    int32_t converted = 0;
    const char16_t* letters = to_display_run(LETTERS, 27, false, &converted);
    plat::Dc* dc = plat::get_dc(s.main_window);
    if (!dc || !letters) return;
    plat::Font* previous = plat::select_font(dc, s.strip_font);
    const plat::InkRows ink = plat::text_ink(dc, letters, converted);
    plat::select_font(dc, previous);
    plat::release_dc(s.main_window, dc);
    const int32_t ink_height = ink.bottom - ink.top;
    if (ink_height <= 0 || ink_height == target) return;
    desc.height = std::clamp(STRIP_FONT_HEIGHT * target / ink_height, 1, 3 * STRIP_FONT_HEIGHT);
    plat::delete_font(s.strip_font);
    s.strip_font = plat::create_font(desc);
}

plat::Rect init_frame(plat::Dc* dc, const plat::Rect& client) {
    Reader& r = g_reader;
    make_strip_font();
    const int32_t g = r.gutter;
    int32_t left = client.left, top = client.top, right = client.right, bottom = client.bottom;
    if (r.menu_bar_mode)
        bottom -= r.bar_height;
    else
        top += r.bar_height;
    // The gutter is kept on every side of the text; the strip below spans the full width at
    // the bottom, so it gets the gutter back.
    int32_t gy = 0, gx = 0;
    if (bottom - top > 2 * g) {
        top += g;
        bottom -= g;
        gy = g;
    }
    if (right - left > 2 * g) {
        left += g;
        right -= g;
        gx = g;
    }
    plat::Font* previous = plat::select_font(dc, r.strip_font);
    const int32_t th = plat::text_metrics(dc).height;
    r.strip_height = th + 2;
    r.strip_top = bottom + gy - th - 2;
    r.strip_left = left - gx;
    r.strip_width = right - left + 2 * gx;
    int32_t width = r.strip_width;
    int32_t count = date_length(r.date_text_length);
    measure_fit(dc, r.date_text, width, count);
    r.date_count = count;
    plat::select_font(dc, previous);
    return {left, top, right, bottom - th - 2};
}

void resize_frame(plat::Window* window, int32_t width, int32_t height) {
    Reader& r = g_reader;
    const int32_t g = r.gutter;
    const int32_t w = width > 2 * g ? width - 2 * g : width;
    const int32_t h = height > 2 * g ? height - 2 * g : height;
    const int32_t bh = r.strip_height;
    if (!r.view) return;
    if (r.strip_width == w && r.strip_top == h - bh) return;
    r.strip_width = w + 2 * g;
    r.strip_top = h - bh + 2 * g;
    if (r.menu_bar_mode) {
        // The bar is below the text: the strip moves above it.
        r.strip_top = 0;
        r.view->top = bh;
    }
    resize_view(r.view, w, h - bh - r.bar_height);
    update_scroll_bar(window);
}

void draw_date_strip(plat::Dc* dc) {
    const Reader& r = g_reader;
    const plat::Rect strip = strip_rect();
    plat::fill_rect(dc, strip, palette().strip_ground);
    plat::set_bk_transparent(dc, true);
    const plat::Colorref color = plat::set_text_color(dc, palette().strip_text);
    plat::Font* previous = plat::select_font(dc, r.strip_font);
    int32_t converted = 0;
    const char16_t* text = to_display_run(r.date_text, date_length(r.date_count), true, &converted);
    if (text && converted > 0) {
        const plat::Rect box{strip.left + 1, strip.top + 1, strip.right - 1, strip.bottom - 1};
        plat::draw_text(dc, text, converted, box, VIEW_TEXT_FORMAT);
    }
    plat::select_font(dc, previous);
    plat::set_text_color(dc, color);
}

void paint_window(plat::Dc* dc, plat::Window* window, uint32_t flags) {
    const bool own_dc = dc == nullptr;
    if (own_dc) dc = plat::get_dc(window);
    if (!dc) return;
    if ((flags & PAINT_VIEW) && g_reader.view)
        draw_view(g_reader.view, (flags & PAINT_ERASE) ? DRAW_ERASE : DRAW_OVER);
    draw_date_strip(dc);
    if (own_dc) plat::release_dc(window, dc);
}

void repaint_window(plat::Window* window, uint32_t flags) {
    if (!window) window = g_reader.main_window;
    if (!window) return;
    plat::Dc* dc = plat::get_dc(window);
    if (dc) {
        paint_window(dc, window, flags);
        plat::release_dc(window, dc);
    }
    update_scroll_bar(window);
}

void handle_tap(plat::Window* window, int32_t x, int32_t y) {
    Settings& s = g_settings;
    Reader& r = g_reader;
    if (!r.view) return;
    if (tap_scroll(window, r.view, x, y, SCROLL_AND_DRAW)) return;
    if (y < r.strip_top || y > r.strip_top + r.strip_height) return;
    if (!g_choose_date) return;
    const int32_t day = g_choose_date(window, s.current_day);
    if (day != 0 && day != s.current_day && g_go_to_day) g_go_to_day(window, day);
}

void draw_caption_box(TextView* view) {
    if (!view || !view->text.bytes) return;
    const TitleInfo info = read_title({view->text.bytes.get(), view->text.length});
    if (!info.title && !info.subtitle) return;
    plat::Dc* dc = view->dc;
    const plat::Colorref color = plat::get_text_color(dc);
    plat::Font* previous = select_style(view, STYLE_WITH_COLOR | STYLE_SMALL);
    const int32_t th = plat::text_metrics(dc).height;
    int32_t tw = view->width, tc = info.title_length;
    int32_t sw = view->width, sc = info.subtitle_length;
    if (info.title) measure_fit(dc, info.title, tw, tc);
    if (info.subtitle) measure_fit(dc, info.subtitle, sw, sc);
    if (!info.title) tw = tc = 0;
    if (!info.subtitle) sw = sc = 0;

    const int32_t box_width = std::min(std::max(tw, sw) + (th + 4) * 2, view->width);
    const int32_t rows = info.title && info.subtitle ? 2 : 1;
    plat::Rect box;
    box.left = view->left + (view->width - box_width) / 2;
    box.right = box.left + box_width;
    box.bottom = view->top + view->height - 2;
    box.top = view->top + view->height - rows * th - 12;

    const Palette& colors = palette();
    const plat::Colorref rings[] = {colors.caption_outer, colors.caption_outer,
                                    colors.caption_middle, colors.caption_inner,
                                    colors.caption_inner};
    for (plat::Colorref ring : rings) {
        plat::draw_rectangle(dc, box, ring, std::nullopt);
        box = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    }
    plat::fill_rect(dc, box, colors.caption_ground);

    plat::set_text_color(dc, colors.caption_text);
    const plat::Colorref background = plat::set_bk_color(dc, colors.caption_ground);
    const int32_t inner_width = box.right - box.left;
    int32_t y = box.top;
    // A title wider than the box overhangs it evenly on both sides.
    auto draw_line = [&](const uint8_t* bytes, int32_t count, int32_t width) {
        int32_t converted = 0;
        const char16_t* run = to_display_run(bytes, count, true, &converted);
        const int32_t x = box.left + (inner_width - width) / 2;
        if (run && converted > 0)
            plat::draw_text(dc, run, converted, {x, y, x + width, y + th}, VIEW_TEXT_FORMAT);
        y += th;
    };
    if (info.title) draw_line(info.title, tc, tw);
    if (info.subtitle) draw_line(info.subtitle, sc, sw);

    plat::set_bk_color(dc, background);
    plat::set_text_color(dc, color);
    plat::select_font(dc, previous);
}

}  // namespace lekta
