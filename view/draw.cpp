// Drawing the laid-out lesson from the top row down, the search highlight, and scrolling.
#include <algorithm>

#include "platform/accessible.h"
#include "state/reader.h"
#include "view/letter_code.h"
#include "view/palette.h"
#include "view/selection.h"
#include "view/text_view.h"

namespace lekta {

FirstLine first_shown_line(const TextView& view) {
    const uint16_t top_row = view.top_row > view.total_rows ? view.max_top_row : view.top_row;
    const LineRecord* line = view.lines;
    int32_t row = 0;
    while (row < top_row && line->style) {
        row += line_rows(*line);
        ++line;
    }
    FirstLine first{line, view.top, view.height};
    if (row > top_row) {
        // top_row names the blank row after the previous line: start one row lower.
        first.y += line[-1].height;
        first.room -= line[-1].height;
    }
    return first;
}

namespace {

FirstLine find_first_line(TextView* view) {
    if (view->top_row > view->total_rows) view->top_row = view->max_top_row;
    return first_shown_line(*view);
}

// Bounds of the paragraph holding a position: its text ends at the zero byte (or the end of
// the lesson).
uint32_t paragraph_end(const TextView& view, uint32_t pos) {
    const uint8_t* bytes = view.text.bytes.get();
    while (pos < view.text.length && bytes[pos] != 0)
        ++pos;
    return std::min(pos, view.text.length);
}

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void draw_run(const TextView& view, uint32_t offset, int32_t count, int64_t x, int64_t y,
              int32_t width, int32_t height) {
    if (count <= 0 || offset >= view.text.length) return;
    count = std::min<int32_t>(count, static_cast<int32_t>(view.text.length - offset));
    int32_t converted = 0;
    const char16_t* run = to_display_run(view.text.bytes.get() + offset, count, true, &converted);
    if (!run || converted == 0) return;
    plat::Rect rect{clamp32(x), clamp32(y), clamp32(x + width), clamp32(y + height)};
    plat::draw_text(view.dc, run, converted, rect, VIEW_TEXT_FORMAT);
}

int32_t width_of(const TextView& view, uint32_t offset, int32_t count) {
    if (count <= 0) return 0;
    int32_t width = INT32_MAX;
    measure_fit(view.dc, view.text.bytes.get() + offset, width, count);
    return width;
}

bool has_text(const TextView* view) {
    return view && view->text.bytes && view->lines;
}

// Draws the part of [start, start + count) that lies in the highlight, the run's left edge at x.
void draw_highlighted_part(const TextView& view, uint32_t start, int32_t count, int64_t x,
                           int64_t y, int32_t height) {
    int64_t from = std::max<int64_t>(view.hl_start, start);
    int64_t to = std::min<int64_t>(view.hl_end, int64_t{start} + count);
    if (to - from < 1) return;
    const auto skip = static_cast<int32_t>(from - start);
    const auto length = static_cast<int32_t>(to - from);
    const int64_t left = x + width_of(view, start, skip);
    const int32_t width = width_of(view, static_cast<uint32_t>(from), length);
    plat::fill_rect(view.dc,
                    {clamp32(left), clamp32(y), clamp32(left + width), clamp32(y + height)},
                    palette().highlight_ground);
    draw_run(view, static_cast<uint32_t>(from), length, left, y, width, height);
}

}  // namespace

HangingLabel hanging_label(const TextView& view, const LineRecord& line) {
    HangingLabel label;
    const uint8_t* bytes = view.text.bytes.get();
    const uint32_t length = view.text.length;
    uint32_t start = std::min<uint32_t>(line.offset, length);
    if (line.style & STYLE_VISUAL) {
        // After the segment: on to the next space, past the spaces, the rest of the paragraph.
        uint32_t pos = std::min<uint32_t>(start + line.count, length);
        while (pos < length && bytes[pos] != 0 && bytes[pos] != ' ')
            ++pos;
        while (pos < length && bytes[pos] == ' ')
            ++pos;
        label.offset = pos;
        label.length = static_cast<int32_t>(paragraph_end(view, pos) - pos);
    } else {
        // The word at the line's offset; the line's text starts after it and its spaces.
        uint32_t pos = start;
        while (pos < length && bytes[pos] != 0 && bytes[pos] != ' ')
            ++pos;
        label.offset = start;
        label.length = static_cast<int32_t>(pos - start);
        while (pos < length && bytes[pos] == ' ')
            ++pos;
        label.text_offset = pos;
    }
    label.width = line.hang;
    measure_fit(view.dc, bytes + label.offset, label.width, label.length);
    if (line.style & STYLE_VISUAL)
        label.x = int64_t{line.x} + line.width + line.hang - label.width;
    else
        label.x = int64_t{line.x} - line.hang;
    return label;
}

int draw_view(TextView* view, DrawMode mode) {
    if (!has_text(view)) return VIEW_MISSING;
    view->rows_drawn = 0;
    FirstLine first = find_first_line(view);
    plat::Dc* dc = view->dc;
    const plat::Colorref color = plat::get_text_color(dc);
    uint8_t key = first.line->style;
    if (is_rule(key) || key == 0) key = 1;
    plat::Font* previous = select_style(view, key | STYLE_WITH_COLOR);
    // Runs are drawn on the view's own ground.
    const plat::Colorref background = plat::set_bk_color(dc, palette().ground);
    key &= FONT_KEY_MASK;
    if (mode == DRAW_ERASE)
        plat::fill_rect(dc,
                        {view->left, view->top, clamp32(int64_t{view->left} + view->width),
                         clamp32(int64_t{view->top} + view->height)},
                        palette().ground);

    int64_t y = first.y;
    int64_t room = first.room;
    for (const LineRecord* line = first.line; line->style && line->height <= room; ++line) {
        if (is_rule(line->style)) {
            const int64_t mid = y + line->height / 2;
            plat::draw_rectangle(
                dc,
                {line->x, clamp32(mid), clamp32(int64_t{line->x} + line->width), clamp32(mid + 1)},
                palette().text, palette().text);
        } else {
            if ((line->style & FONT_KEY_MASK) != key) {
                select_style(view, line->style | STYLE_WITH_COLOR);
                key = line->style & FONT_KEY_MASK;
            }
            uint32_t start = line->offset;
            if (line->hang > 0) {
                HangingLabel label = hanging_label(*view, *line);
                draw_run(*view, label.offset, label.length, label.x, y, label.width, line->height);
                if (!(line->style & STYLE_VISUAL)) start = label.text_offset;
            }
            draw_run(*view, start, line->count, line->x, y, line->width, line->height);
        }
        for (int r = 0; r < line_rows(*line); ++r) {
            y += line->height;
            room -= line->height;
            ++view->rows_drawn;
        }
    }

    plat::select_font(dc, previous);
    plat::set_text_color(dc, color);
    plat::set_bk_color(dc, background);
    const int result = (view->hl_start || view->hl_end) ? draw_highlight(view) : 0;
    draw_selection(view);
    return result;
}

int draw_highlight(TextView* view) {
    if (!has_text(view)) return VIEW_MISSING;
    FirstLine first = find_first_line(view);
    plat::Dc* dc = view->dc;
    const plat::Colorref color = plat::get_text_color(dc);
    plat::Font* previous = select_style(view, 1);
    int key = 1;
    plat::set_text_color(dc, palette().highlight_text);
    const plat::Colorref background = plat::set_bk_color(dc, palette().highlight_ground);

    int64_t y = first.y;
    int64_t room = first.room;
    for (const LineRecord* line = first.line; line->style && line->height <= room; ++line) {
        const uint32_t hl_start = view->hl_start;
        const uint32_t hl_end = view->hl_end;
        const bool text_hit =
            line->offset <= hl_end && uint32_t{line->offset} + line->count >= hl_start;
        // A visual-order label lies outside its line's bytes: a hit in it is drawn on its own.
        const HangingLabel label = line->hang > 0 ? hanging_label(*view, *line) : HangingLabel{};
        const bool label_hit = line->hang > 0 && (line->style & STYLE_VISUAL) &&
                               label.offset < hl_end && label.offset + label.length > hl_start;
        if (!is_rule(line->style) && (text_hit || label_hit)) {
            if ((line->style & FONT_KEY_MASK) != key) {
                select_style(view, line->style);
                key = line->style & FONT_KEY_MASK;
            }
            uint32_t start = line->offset;
            if (line->hang > 0) {
                if (!(line->style & STYLE_VISUAL)) {
                    draw_highlighted_part(*view, label.offset, label.length, label.x, y,
                                          line->height);
                    start = label.text_offset;
                } else {
                    plat::fill_rect(dc,
                                    {clamp32(label.x), clamp32(y), clamp32(label.x + label.width),
                                     clamp32(y + line->height)},
                                    palette().highlight_ground);
                    draw_run(*view, label.offset, label.length, label.x, y, label.width,
                             line->height);
                }
            }
            if (text_hit)
                draw_highlighted_part(*view, start, line->count, line->x, y, line->height);
        }
        const int64_t advance = int64_t{line->height} * line_rows(*line);
        y += advance;
        room -= advance;
    }

    plat::select_font(dc, previous);
    plat::set_text_color(dc, color);
    plat::set_bk_color(dc, background);
    return 0;
}

int scroll_by(TextView* view, int32_t delta, ScrollRedraw redraw, ScrollStop stop) {
    if (!view) return VIEW_MISSING;
    int64_t target = int64_t{view->top_row} + delta;
    if (target < 0) {
        target = 0;
    } else if (stop == STOP_AT_LAST_PAGE || target > view->total_rows) {
        if (target >= view->top_row && view->top_row >= view->max_top_row) return 1;
        if (target > view->total_rows) target = view->max_top_row;
    }
    if (redraw == SCROLL_AND_DRAW && target == view->top_row) return 1;
    const bool moved = target != view->top_row;
    view->top_row = static_cast<uint16_t>(target);
    if (redraw == SCROLL_AND_DRAW) return draw_view(view, DRAW_ERASE);
    return moved ? 3 : 1;
}

void update_scroll_bar(plat::Window* window) {
    if (!window) window = g_reader.main_window;
    // The reading position follows the top row, for screen readers too.
    plat::accessible_changed(window, plat::AccessibleChange::content);
    if (!(g_settings.flags & FLAG_SCROLLBAR)) return;
    const TextView* view = g_reader.view;
    if (!window || !view) return;
    plat::set_scroll_info(window, 0, view->max_top_row, view->top_row, rows_in_view(*view));
}

int tap_scroll(plat::Window* window, TextView* view, int32_t x, int32_t y, ScrollRedraw redraw) {
    if (!view) return 0;
    const int64_t g = g_reader.gutter;
    const int64_t left = view->left, top = view->top;
    if (x < left - g || x > left + view->width + g || y < top - g || y > top + view->height + g)
        return 0;
    const uint32_t flags = g_settings.flags;
    if (!(flags & FLAG_TAP_PAGING)) return 0;
    const bool forward =
        (flags & FLAG_TAP_VERTICAL) ? y >= top + view->height / 2 : x >= left + view->width / 2;
    scroll_by(view, page_step(*view, forward, tap_page_mode(flags)), redraw, STOP_AT_LAST_PAGE);
    update_scroll_bar(window);
    return 1;
}

}  // namespace lekta
