// The selection: points to reading positions, steps by letter and line, the pointer's drag, and
// the selected characters drawn over the text.
#include "view/selection.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "platform/accessible.h"
#include "state/reader.h"
#include "view/frame.h"
#include "view/letter_code.h"
#include "view/palette.h"
#include "view/reading_order.h"

namespace lekta {
namespace {

constexpr uint8_t PRESS_NONE = 0;
constexpr uint8_t PRESS_HELD = 1;
constexpr uint8_t PRESS_DRAGGING = 2;
// A held press that moves this far or less is still a tap: a hand is never quite still.
constexpr int32_t DRAG_THRESHOLD = 4;

std::span<const uint8_t> text_of(const TextView& view) {
    return {view.text.bytes.get(), view.text.bytes ? view.text.length : 0u};
}

std::vector<ParagraphRecord> paragraphs(const TextView& view) {
    std::vector<ParagraphRecord> list;
    uint32_t cursor = 0;
    for (ParagraphRecord rec; next_paragraph(text_of(view), cursor, rec);)
        list.push_back(rec);
    return list;
}

uint32_t end_of(const ParagraphRecord& rec) {
    return rec.offset + rec.length;
}

// The paragraph whose positions include pos; its style is 0 when there is none.
ParagraphRecord paragraph_at(const TextView& view, uint32_t pos) {
    uint32_t cursor = 0;
    for (ParagraphRecord rec; next_paragraph(text_of(view), cursor, rec);)
        if (pos >= rec.offset && pos <= end_of(rec)) return rec;
    return {};
}

// Whether a paragraph reads from right to left as it is drawn now.
bool drawn_right_to_left(const ParagraphRecord& rec) {
    return ((rec.style & STYLE_VISUAL) != 0) != display_turns_runs();
}

// One drawn character of a line.
struct Cell {
    int64_t x = 0;
    int32_t width = 0;
    uint32_t position = 0;  // the reading position before it
    char16_t shown = 0;     // as drawn
    bool rtl = false;       // the reading runs right to left through it
    bool label = false;     // of the hanging label
};

// The cells of count stored bytes from start, drawn from x as draw_view draws them.
void add_run(const TextView& view, const ParagraphRecord& rec, const std::vector<LtrRun>& runs,
             uint32_t start, int32_t count, int64_t x, std::vector<Cell>& cells) {
    if (count <= 0 || start < rec.offset || start >= end_of(rec)) return;
    count = std::min<int32_t>(count, static_cast<int32_t>(end_of(rec) - start));
    const uint8_t* bytes = view.text.bytes.get() + start;
    int32_t n = 0;
    const char16_t* run = to_display_run(bytes, count, true, &n);
    if (!run || n <= 0) return;
    const std::u16string shown(run, static_cast<size_t>(n));
    // The stored byte each drawn character shows.
    std::vector<int32_t> stored(static_cast<size_t>(n));
    if (display_turns_runs()) {
        const std::vector<LtrRun> turned = ltr_runs(bytes, n);
        for (int32_t j = 0; j < n; ++j)
            stored[static_cast<size_t>(reading_index(turned, n, j))] = j;
    } else {
        std::iota(stored.begin(), stored.end(), 0);
    }
    const size_t first = cells.size();
    for (int32_t i = 0; i < n; ++i) {
        Cell cell;
        cell.x = x;
        cell.width = plat::text_extent(view.dc, &shown[static_cast<size_t>(i)], 1, -1).width;
        cell.shown = shown[static_cast<size_t>(i)];
        const uint32_t byte = start + static_cast<uint32_t>(stored[static_cast<size_t>(i)]);
        cell.position = (rec.style & STYLE_VISUAL)
                            ? rec.offset + static_cast<uint32_t>(reading_index(
                                               runs, static_cast<int32_t>(rec.length),
                                               static_cast<int32_t>(byte - rec.offset)))
                            : byte;
        x += cell.width;
        cells.push_back(cell);
    }
    // Latin words and numbers read left to right inside right-to-left text: the neighbours tell.
    for (size_t i = first; i < cells.size(); ++i) {
        Cell& c = cells[i];
        c.rtl = drawn_right_to_left(rec);
        const Cell* next = i + 1 < cells.size() ? &cells[i + 1] : nullptr;
        const Cell* prev = i > first ? &cells[i - 1] : nullptr;
        if (next && next->position + 1 == c.position)
            c.rtl = true;
        else if (next && next->position == c.position + 1)
            c.rtl = false;
        else if (prev && prev->position == c.position + 1)
            c.rtl = true;
        else if (prev && prev->position + 1 == c.position)
            c.rtl = false;
    }
}

// The characters of a line, its hanging label's included, left to right as drawn.
std::vector<Cell> line_cells(TextView& view, const LineRecord& line) {
    std::vector<Cell> cells;
    if (is_rule(line.style) || !view.text.bytes) return cells;
    const ParagraphRecord rec = paragraph_at(view, line.offset);
    if (rec.style == 0) return cells;
    const std::vector<LtrRun> runs =
        (rec.style & STYLE_VISUAL)
            ? ltr_runs(view.text.bytes.get() + rec.offset, static_cast<int32_t>(rec.length))
            : std::vector<LtrRun>{};
    plat::Font* previous = select_style(&view, line.style);
    uint32_t start = line.offset;
    if (line.hang > 0) {
        const HangingLabel label = hanging_label(view, line);
        add_run(view, rec, runs, label.offset, label.length, label.x, cells);
        for (Cell& c : cells)
            c.label = true;
        if (!(line.style & STYLE_VISUAL)) start = label.text_offset;
    }
    add_run(view, rec, runs, start, line.count, line.x, cells);
    plat::select_font(view.dc, previous);
    return cells;
}

// The lines in sight, as draw_view draws them: each line's index and rows.
struct ShownLine {
    int32_t index = 0;
    int64_t top = 0, bottom = 0;  // bottom: below its blank row
};

std::vector<ShownLine> shown_lines(const TextView& view) {
    std::vector<ShownLine> shown;
    if (!view.lines) return shown;
    const FirstLine first = first_shown_line(view);
    const LineRecord* line = first.line;
    int64_t y = first.y, room = first.room;
    for (; line->style && line->height <= room; ++line) {
        const int64_t advance = int64_t{line->height} * line_rows(*line);
        shown.push_back({static_cast<int32_t>(line - view.lines), y, y + advance});
        y += advance;
        room -= advance;
    }
    return shown;
}

// The boundary nearest to x on a line: after the nearest character when x is on its half that
// reads later.
uint32_t position_in_line(TextView& view, int32_t index, int64_t x) {
    const LineRecord& line = view.lines[index];
    const std::vector<Cell> cells = line_cells(view, line);
    if (cells.empty()) return line.offset;
    const Cell* best = &cells[0];
    int64_t best_distance = INT64_MAX;
    for (const Cell& c : cells) {
        const int64_t d = x < c.x ? c.x - x : (x >= c.x + c.width ? x - (c.x + c.width) + 1 : 0);
        if (d < best_distance) {
            best_distance = d;
            best = &c;
        }
    }
    const bool left_half = 2 * (x - best->x) < best->width;
    const uint32_t position = best->position + (left_half == best->rtl ? 1u : 0u);
    // The spaces between a label and its text are not drawn: a point after the label stands
    // where the text begins, so that a passage holds no space the eye did not see selected.
    if (best->label && std::none_of(cells.begin(), cells.end(), [position](const Cell& c) {
            return c.label && c.position == position;
        })) {
        uint32_t text_start = UINT32_MAX;
        for (const Cell& c : cells)
            if (!c.label && c.position > position) text_start = std::min(text_start, c.position);
        if (text_start != UINT32_MAX) return text_start;
    }
    return position;
}

// The line a caret stands on and the x of its boundary there; line -1 when no line shows it.
struct CaretPlace {
    int32_t line = -1;
    int64_t x = 0;
};

CaretPlace caret_place(TextView& view, uint32_t caret) {
    const ParagraphRecord rec = paragraph_at(view, caret);
    CaretPlace before;
    for (int32_t i = 0; rec.style && i < view.line_count; ++i) {
        const LineRecord& line = view.lines[i];
        if (line.offset < rec.offset || line.offset > end_of(rec)) continue;
        if (before.line < 0) before = {i, line.x};
        for (const Cell& c : line_cells(view, line)) {
            if (c.position == caret) return {i, c.rtl ? c.x + c.width : c.x};
            if (c.position + 1 == caret) before = {i, c.rtl ? c.x : c.x + c.width};
        }
    }
    return before;
}

// A letter on in reading order (or back), across the ends of paragraphs.
uint32_t step_letter(const TextView& view, uint32_t caret, bool forward) {
    const std::vector<ParagraphRecord> list = paragraphs(view);
    for (size_t i = 0; i < list.size(); ++i) {
        const ParagraphRecord& rec = list[i];
        if (forward) {
            if (caret < rec.offset) return rec.offset;
            if (caret < end_of(rec)) return caret + 1;
        } else {
            const ParagraphRecord& last = list[list.size() - 1 - i];
            if (caret > end_of(last)) return end_of(last);
            if (caret > last.offset) return caret - 1;
        }
    }
    return caret;
}

// Scrolls the view so that the line is in sight.
void bring_into_view(TextView* view, int32_t index) {
    const std::vector<ShownLine> shown = shown_lines(*view);
    if (shown.empty() || index < 0) return;
    int32_t rows = 0;
    if (index < shown.front().index) {
        for (int32_t i = index; i < shown.front().index; ++i)
            rows -= line_rows(view->lines[i]);
    } else if (index > shown.back().index) {
        for (int32_t i = shown.back().index + 1; i <= index; ++i)
            rows += line_rows(view->lines[i]);
        rows = std::min<int32_t>(rows, view->max_top_row - view->top_row);
    }
    if (rows != 0) scroll_by(view, rows, SCROLL_ONLY, STOP_AT_TEXT_END);
}

bool inside_text(const TextView& view, int32_t x, int32_t y) {
    const int64_t g = g_reader.gutter;
    return x >= view.left - g && x <= view.left + int64_t{view.width} + g && y >= view.top - g &&
           y <= view.top + int64_t{view.height} + g;
}

int16_t clamp16(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, -0x8000, 0x7FFF));
}

}  // namespace

Passage selected_passage(const TextView& view) {
    return {std::min(view.sel_anchor, view.sel_caret), std::max(view.sel_anchor, view.sel_caret)};
}

bool has_selection(const TextView& view) {
    return view.sel_anchor != view.sel_caret;
}

uint32_t position_at(TextView& view, int32_t x, int32_t y) {
    const std::vector<ShownLine> shown = shown_lines(view);
    if (shown.empty()) return 0;
    const auto under =
        std::find_if(shown.begin(), shown.end(), [y](const ShownLine& s) { return y < s.bottom; });
    return position_in_line(view, under == shown.end() ? shown.back().index : under->index, x);
}

void select_passage(TextView* view, uint32_t anchor, uint32_t caret) {
    if (!view) return;
    const Passage before = selected_passage(*view);
    const uint32_t last = view->text.length;
    view->sel_anchor = static_cast<uint16_t>(std::min(anchor, last));
    view->sel_caret = static_cast<uint16_t>(std::min(caret, last));
    const Passage after = selected_passage(*view);
    const bool was_shown = before.from != before.to, is_shown = after.from != after.to;
    if ((was_shown || is_shown) && (before.from != after.from || before.to != after.to))
        draw_view(view, DRAW_ERASE);
}

bool clear_selection(TextView* view) {
    if (!view || !has_selection(*view)) return false;
    view->sel_anchor = view->sel_caret = 0;
    draw_view(view, DRAW_ERASE);
    return true;
}

void select_all(TextView* view) {
    if (!view) return;
    const std::vector<ParagraphRecord> list = paragraphs(*view);
    // Past the last paragraph's end: its line end is part of the lesson too.
    if (!list.empty()) select_passage(view, list.front().offset, view->text.length);
}

void extend_selection(TextView* view, SelectStep step) {
    if (!view || !view->text.bytes || !view->lines || view->line_count == 0) return;
    uint32_t anchor = view->sel_anchor, caret = view->sel_caret;
    if (!has_selection(*view)) {
        const std::vector<ShownLine> shown = shown_lines(*view);
        if (shown.empty()) return;
        const LineRecord& top = view->lines[shown.front().index];
        const std::vector<Cell> cells = line_cells(*view, top);
        anchor = top.offset;
        if (!cells.empty())
            anchor = std::min_element(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
                         return a.position < b.position;
                     })->position;
        caret = anchor;
    }
    if (step == SelectStep::left || step == SelectStep::right) {
        const ParagraphRecord rec = paragraph_at(*view, caret);
        const bool rtl = rec.style == 0 || drawn_right_to_left(rec);
        caret = step_letter(*view, caret, (step == SelectStep::left) == rtl);
    } else {
        // A caret past the last paragraph (the whole lesson selected) stands at its end.
        const std::vector<ParagraphRecord> list = paragraphs(*view);
        if (!list.empty()) caret = std::clamp(caret, list.front().offset, end_of(list.back()));
        const CaretPlace place = caret_place(*view, caret);
        const int32_t target = place.line + (step == SelectStep::down ? 1 : -1);
        if (place.line < 0) return;
        if (target < 0)
            caret = 0;
        else if (target >= view->line_count)
            caret = view->text.length;
        else
            caret = position_in_line(*view, target, place.x);
    }
    const std::vector<ParagraphRecord> list = paragraphs(*view);
    if (list.empty()) return;
    caret = std::clamp(caret, list.front().offset, view->text.length);
    bring_into_view(view, caret_place(*view, caret).line);
    view->sel_anchor = static_cast<uint16_t>(anchor);
    view->sel_caret = static_cast<uint16_t>(caret);
    draw_view(view, DRAW_ERASE);
}

void draw_selection(TextView* view) {
    if (!view || !has_selection(*view) || !view->text.bytes || !view->lines) return;
    const Passage passage = selected_passage(*view);
    auto selected = [&passage](const Cell& c) {
        return c.position >= passage.from && c.position < passage.to;
    };
    plat::Dc* dc = view->dc;
    const plat::Colorref color = plat::set_text_color(dc, palette().selection_text);
    const plat::Colorref background = plat::set_bk_color(dc, palette().selection_ground);
    plat::Font* previous = select_style(view, 1);
    for (const ShownLine& shown : shown_lines(*view)) {
        const LineRecord& line = view->lines[shown.index];
        const std::vector<Cell> cells = line_cells(*view, line);
        if (std::none_of(cells.begin(), cells.end(), selected)) continue;
        select_style(view, line.style);
        const auto top = static_cast<int32_t>(shown.top);
        const int32_t bottom = top + line.height;
        auto x_of = [](int64_t x) {
            return static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
        };
        for (const Cell& c : cells)
            if (selected(c))
                plat::fill_rect(dc, {x_of(c.x), top, x_of(c.x + c.width), bottom},
                                palette().selection_ground);
        // Touching selected characters are drawn as one run, as the text itself is.
        for (size_t i = 0; i < cells.size();) {
            if (!selected(cells[i])) {
                ++i;
                continue;
            }
            std::u16string run(1, cells[i].shown);
            size_t j = i + 1;
            while (j < cells.size() && selected(cells[j]) &&
                   cells[j].x == cells[j - 1].x + cells[j - 1].width)
                run += cells[j++].shown;
            const int64_t right = cells[j - 1].x + cells[j - 1].width;
            plat::draw_text(dc, run.data(), static_cast<int32_t>(run.size()),
                            {x_of(cells[i].x), top, x_of(right), bottom}, VIEW_TEXT_FORMAT);
            i = j;
        }
    }
    plat::select_font(dc, previous);
    plat::set_text_color(dc, color);
    plat::set_bk_color(dc, background);
}

void press_pointer(plat::Window* window, int32_t x, int32_t y) {
    TextView* view = g_reader.view;
    if (!view || !view->text.bytes || !inside_text(*view, x, y)) {
        handle_tap(window, x, y);
        return;
    }
    view->press = PRESS_HELD;
    view->press_x = clamp16(x);
    view->press_y = clamp16(y);
}

void move_pointer(plat::Window* window, int32_t x, int32_t y) {
    TextView* view = g_reader.view;
    if (!view || view->press == PRESS_NONE) return;
    uint32_t anchor = view->sel_anchor;
    if (view->press == PRESS_HELD) {
        if (std::abs(x - view->press_x) <= DRAG_THRESHOLD &&
            std::abs(y - view->press_y) <= DRAG_THRESHOLD)
            return;
        view->press = PRESS_DRAGGING;
        anchor = position_at(*view, view->press_x, view->press_y);
    }
    // Past the text's top or bottom edge the view follows, a row a move.
    int scrolled = 0;
    if (y < view->top && view->top_row > 0)
        scrolled = scroll_by(view, -1, SCROLL_ONLY, STOP_AT_TEXT_END);
    else if (y >= view->top + view->height && view->top_row < view->max_top_row)
        scrolled = scroll_by(view, 1, SCROLL_ONLY, STOP_AT_TEXT_END);
    const uint32_t caret = position_at(*view, x, y);
    if (scrolled == 3) {
        view->sel_anchor = static_cast<uint16_t>(anchor);
        view->sel_caret = static_cast<uint16_t>(std::min(caret, view->text.length));
        draw_view(view, DRAW_ERASE);
        update_scroll_bar(window);
    } else {
        select_passage(view, anchor, caret);
    }
}

void release_pointer(plat::Window* window) {
    TextView* view = g_reader.view;
    if (!view || view->press == PRESS_NONE) return;
    const bool tap = view->press == PRESS_HELD;
    view->press = PRESS_NONE;
    if (!tap) {
        plat::accessible_changed(window, plat::AccessibleChange::content);
        return;
    }
    clear_selection(view);
    handle_tap(window, view->press_x, view->press_y);
}

}  // namespace lekta
