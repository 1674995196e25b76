// Line layout: the lesson's paragraph records broken into display lines for the view width.
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "view/fonts.h"
#include "view/letter_code.h"
#include "view/reading_order.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr uint16_t TABLE_STEP = 128;

// Scratch space for the reading-order copy of a visual-order paragraph; it only grows, so a
// lesson is laid out without an allocation per paragraph.
uint8_t* g_reversed = nullptr;
size_t g_reversed_capacity = 0;

const uint8_t* reversed_copy(const uint8_t* text, uint32_t n) {
    if (n > g_reversed_capacity || !g_reversed) {
        auto* grown = new (std::nothrow) uint8_t[n + 1];
        if (!grown) return nullptr;
        delete[] g_reversed;
        g_reversed = grown;
        g_reversed_capacity = n + 1;
    }
    std::reverse_copy(text, text + n, g_reversed);
    return g_reversed;
}

template <typename T>
T clamp_to(int64_t v) {
    return static_cast<T>(
        std::clamp<int64_t>(v, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

bool grow_table(TextView* view) {
    const uint32_t grown = uint32_t{view->capacity} + TABLE_STEP;
    // One record beyond the capacity ends the table; line counts stay 16-bit.
    if (grown >= std::numeric_limits<uint16_t>::max()) return false;
    auto* lines = new (std::nothrow) LineRecord[grown + 1];
    if (!lines) return false;
    if (view->lines)
        std::memcpy(lines, view->lines, sizeof(LineRecord) * (uint32_t{view->capacity} + 1));
    delete[] view->lines;
    view->lines = lines;
    view->capacity = static_cast<uint16_t>(grown);
    return true;
}

int rule_width(uint8_t measure, int32_t view_width) {
    int64_t width = measure;
    if (measure > 160) width = int64_t{view_width} * ((measure - 160) * 2) / 100;
    return static_cast<int>(std::clamp<int64_t>(width, 0, std::max(view_width, 0)));
}

// The column the lines are set in: the view less its side margins.
struct Column {
    int64_t left = 0;
    int32_t width = 0;
};

int64_t aligned_x(const Column& col, uint8_t style, int64_t indent, int64_t hang, int64_t width) {
    switch (style & STYLE_ALIGN_MASK) {
        case STYLE_ALIGN_RIGHT:
            return col.left + int64_t{col.width} - indent - hang - width;
        case STYLE_ALIGN_CENTER:
            return col.left + indent + (int64_t{col.width} - indent - hang - width) / 2;
        default:
            return col.left + indent + hang;
    }
}

// A line's style without its blank row. Style 0 ends the table, so a bare 0x80 becomes 0x01:
// bit 0 changes neither the font nor the colour.
uint8_t without_blank_row(uint8_t style) {
    const auto bare = static_cast<uint8_t>(style & ~STYLE_BLANK_AFTER);
    return bare ? bare : 0x01;
}

// The state of one layout run.
struct Layout {
    TextView* view;
    const uint8_t* bytes;
    Column col;
    uint16_t count = 0;      // lines recorded
    int32_t blank_rows = 0;  // blank rows after paragraphs
    int32_t text_height = 0;
    int32_t max_char_width = -1;  // -1: not measured for the running style yet
    uint8_t style = 1;            // running style
    int64_t indent = 0;
    int32_t last_fit = 0;  // characters of the previous line, to size the next fit
};

void read_metrics(Layout& lay) {
    plat::TextMetrics m = plat::text_metrics(lay.view->dc);
    lay.text_height = m.height;
    lay.max_char_width = -1;
}

// Measured only for a hanging paragraph: finding the widest character costs many glyphs.
int32_t max_char_width(Layout& lay) {
    if (lay.max_char_width < 0) lay.max_char_width = plat::widest_character(lay.view->dc);
    return lay.max_char_width;
}

LineRecord* new_line(Layout& lay) {
    TextView* view = lay.view;
    if (lay.count >= view->capacity && !grow_table(view)) return nullptr;
    LineRecord* line = &view->lines[lay.count];
    *line = LineRecord{};
    return line;
}

bool lay_out_rule(Layout& lay, const ParagraphRecord& rec) {
    if (rec.measure == 0) return true;
    LineRecord* line = new_line(lay);
    if (!line) return false;
    const Column& col = lay.col;
    const int width = rule_width(rec.measure, col.width);
    line->offset = static_cast<uint16_t>(rec.offset);
    line->width = clamp_to<uint16_t>(width);
    line->height = clamp_to<uint16_t>(lay.text_height);
    line->style = rec.style;
    int64_t x = col.left;
    if ((rec.style & STYLE_ALIGN_MASK) == STYLE_ALIGN_RIGHT)
        x = col.left + int64_t{col.width} - width;
    else if ((rec.style & STYLE_ALIGN_MASK) == STYLE_ALIGN_CENTER)
        x = col.left + (int64_t{col.width} - width) / 2;
    line->x = clamp_to<int16_t>(x);
    if (rec.style & STYLE_BLANK_AFTER) ++lay.blank_rows;
    ++lay.count;
    return true;
}

// Where the fit of a line ends inside a word: the break back at a space (dropped) or after a
// hyphen (kept); none when the word alone is wider than the line.
int32_t break_line(const uint8_t* s, int32_t fit) {
    for (int32_t m = fit - 1; m >= 1; --m) {
        if (s[m] == ' ') return m;
        if (s[m] == '-') return m + 1;
    }
    return fit;
}

// A left-to-right run (stored ranges, turned into reading order by the reversal) that the
// line's end would cut goes whole to the next line: its words on two lines would stand in
// the wrong order, as each line shows a stretch of the stored text. Only a run longer than a
// line, which starts its line, is cut.
int32_t keep_runs_whole(const std::vector<LtrRun>& runs, int32_t n, const uint8_t* s, int32_t start,
                        int32_t take) {
    const int32_t cut = start + take;
    for (const LtrRun& run : runs) {
        const int32_t first = n - run.end;
        const int32_t end = n - run.first;
        if (first > start && first < cut && cut < end) {
            int32_t before = first - start;
            while (before > 0 && s[start + before - 1] == ' ')
                --before;
            return before > 0 ? before : take;
        }
    }
    return take;
}

bool lay_out_text(Layout& lay, const ParagraphRecord& rec, int32_t hang_level) {
    TextView* view = lay.view;
    if ((rec.style & FONT_KEY_MASK) != (lay.style & FONT_KEY_MASK)) {
        select_style(view, rec.style);
        read_metrics(lay);
    }
    lay.style = rec.style;
    const auto n = static_cast<int32_t>(rec.length);
    const uint8_t* stored = lay.bytes + rec.offset;
    const uint8_t* s = stored;
    std::vector<LtrRun> ltr;
    if (rec.style & STYLE_VISUAL) {
        s = reversed_copy(stored, rec.length);
        if (!s) return false;
        ltr = ltr_runs(stored, n);
    }
    int64_t hang = hang_level ? int64_t{max_char_width(lay)} * (hang_level + 1) / 2 : 0;
    if (lay.indent >= lay.col.width) lay.indent = 0;

    int32_t p = 0;
    while (p < n) {
        while (p < n && s[p] == ' ')
            ++p;
        if (p >= n) break;
        LineRecord* line = new_line(lay);
        if (!line) return false;

        int64_t avail = int64_t{lay.col.width} - lay.indent;
        int32_t start = p;
        if (hang > 0) {
            while (start < n && s[start] != ' ')
                ++start;
            while (start < n && s[start] == ' ')
                ++start;
            avail = std::max<int64_t>(avail - hang, 0);
        }
        const int32_t rest = n - start;
        // Most lines are about as long as the one before: fit a run a little longer than that
        // first, and the whole rest only when the line fills it. The run converted for the fit
        // is measured again for the width of what the line takes.
        const int32_t room = clamp_to<int32_t>(std::max<int64_t>(avail, 0));
        int32_t tried = std::min(rest, std::max(64, lay.last_fit * 2 + 16));
        int32_t converted = 0;
        const char16_t* run = to_display_run(s + start, tried, false, &converted);
        if (!run) return false;
        int32_t fit = plat::text_extent(view->dc, run, converted, room).fit;
        if (fit >= converted && tried < rest) {
            tried = rest;
            run = to_display_run(s + start, tried, false, &converted);
            if (!run) return false;
            fit = plat::text_extent(view->dc, run, converted, room).fit;
        }
        fit = std::clamp(fit, 0, converted);
        int32_t take = fit;
        if (start + fit < n && s[start + fit] != ' ') take = break_line(s + start, fit);
        if (!ltr.empty() && start + take < n) take = keep_runs_whole(ltr, n, s, start, take);
        // Nothing fits (a narrow view, or a hang as wide as the view): take one character
        // anyway so that the paragraph always advances.
        if (take == 0 && start == p) take = 1;
        const int32_t width = take ? plat::text_extent(view->dc, run, take, -1).width : 0;
        if (take > 0) lay.last_fit = take;

        line->count = static_cast<uint16_t>(take);
        line->hang = clamp_to<uint16_t>(hang);
        line->width = clamp_to<uint16_t>(width);
        line->height = clamp_to<uint16_t>(lay.text_height);
        if (rec.style & STYLE_VISUAL)
            line->offset =
                static_cast<uint16_t>(rec.offset + static_cast<uint32_t>(n - start - take));
        else
            line->offset = static_cast<uint16_t>(rec.offset + static_cast<uint32_t>(p));
        line->x = clamp_to<int16_t>(aligned_x(lay.col, rec.style, lay.indent, hang, width));
        lay.indent += hang;
        hang = 0;

        p = start + take;
        // Trailing spaces are dropped like any others, so they do not keep the paragraph open.
        int32_t q = p;
        while (q < n && s[q] == ' ')
            ++q;
        if (q >= n) {
            line->style = rec.style;
            if (rec.style & STYLE_BLANK_AFTER) ++lay.blank_rows;
        } else {
            line->style = without_blank_row(rec.style);
        }
        ++lay.count;
    }
    return true;
}

bool valid_text(const LessonText& text) {
    if (!text.bytes || text.length == 0 || text.length > MAX_LESSON_LENGTH) return false;
    std::span<const uint8_t> bytes(text.bytes.get(), text.length);
    uint32_t cursor = 0;
    ParagraphRecord first;
    if (!next_paragraph(bytes, cursor, first)) return false;
    return is_rule(first.style) || first.length > 0;
}

int lay_out(TextView* view) {
    if (!view->lines || view->capacity == 0) {
        delete[] view->lines;
        view->lines = nullptr;
        view->capacity = 0;
        if (!grow_table(view)) return LAYOUT_NO_MEMORY;
    }
    Layout lay{view, view->text.bytes.get(), {}};
    plat::Font* previous = select_style(view, 1);
    read_metrics(lay);
    view->row_height = lay.text_height;
    const int32_t margin = side_margin(*view);
    lay.col = {int64_t{view->left} + margin, view->width - 2 * margin};

    std::span<const uint8_t> bytes(view->text.bytes.get(), view->text.length);
    uint32_t cursor = 0;
    ParagraphRecord rec;
    uint8_t previous_indent = 0;
    bool ok = true;
    while (ok && next_paragraph(bytes, cursor, rec)) {
        const uint8_t indent = rec.measure & 0x3F;
        int32_t level = rec.measure >> 6;
        if (level != 0 && rec.length > 0 && lay.bytes[rec.offset] == ' ' && lay.count > 0) {
            // A continuation keeps the label column of the paragraph before it.
            if (indent != previous_indent) lay.indent += int{indent} - int{previous_indent};
            lay.indent = std::max<int64_t>(lay.indent, 0);
            level = 0;
        } else {
            lay.indent = indent;
        }
        previous_indent = indent;
        ok = is_rule(rec.style) ? lay_out_rule(lay, rec) : lay_out_text(lay, rec, level);
    }

    plat::select_font(view->dc, previous);
    if (!ok) {
        // Lines already written refer to this text; an empty table keeps the view consistent.
        view->lines[0] = LineRecord{};
        view->line_count = 0;
        return LAYOUT_NO_MEMORY;
    }
    view->lines[lay.count] = LineRecord{};
    view->line_count = lay.count;
    int32_t rows = lay.count + lay.blank_rows;
    if (lay.count > 0 && (view->lines[lay.count - 1].style & STYLE_BLANK_AFTER)) {
        // No blank row after the end of the lesson.
        view->lines[lay.count - 1].style = without_blank_row(view->lines[lay.count - 1].style);
        --rows;
    }
    view->total_rows = clamp_to<uint16_t>(rows);
    view->max_top_row = compute_max_top_row(*view);
    return LAYOUT_OK;
}

}  // namespace

int32_t side_margin(const TextView& view) {
    if (!view.side_margins || view.row_height <= 0) return 0;
    // Glyph ink may stand past a letter's advance; a fifth of the row holds the widest
    // overhang of the faces offered, and the highlight drawn around a run.
    const int32_t margin = std::max(2, view.row_height / 5);
    // A view too narrow for both margins and some text keeps its whole width.
    return view.width > 4 * margin ? margin : 0;
}

TextView* create_view(plat::Dc* dc, const plat::Rect* rect, const FontSpec& font_spec,
                      uint16_t capacity) {
    if (!dc) return nullptr;
    auto* view = new (std::nothrow) TextView{};
    if (!view) return nullptr;
    view->dc = dc;
    view->font_spec = font_spec;
    if (rect) {
        view->left = rect->left;
        view->top = rect->top;
        view->width = rect->right - rect->left;
        view->height = rect->bottom - rect->top;
    }
    if (capacity != 0 && capacity < std::numeric_limits<uint16_t>::max()) {
        view->lines = new (std::nothrow) LineRecord[uint32_t{capacity} + 1];
        if (view->lines) view->capacity = capacity;
    }
    return view;
}

int set_text(TextView* view, LessonText* text, TextOwnership ownership) {
    if (!view) return VIEW_MISSING;
    view->hl_start = view->hl_end = 0;
    // A selection names reading positions, which a new layout keeps; a new lesson does not.
    if (ownership == TAKE_TEXT || text != &view->text) {
        view->sel_anchor = view->sel_caret = 0;
        view->press = 0;
    }
    view->last_page = PagePair{};  // rows of another layout
    view->total_rows = 0;
    view->max_top_row = 0;
    if (!text || !text->bytes) {
        if (ownership == TAKE_TEXT) {
            view->text = LessonText{};
            if (view->lines) view->lines[0] = LineRecord{};
            view->line_count = 0;
        }
        return LAYOUT_NO_TEXT;
    }
    if (!valid_text(*text)) return LAYOUT_MALFORMED;
    if (text != &view->text) view->text = std::move(*text);
    return lay_out(view);
}

int set_view_size(TextView* view, int32_t width, int32_t height) {
    if (!view) return VIEW_MISSING;
    if (width <= 0 || height <= 0) return VIEW_BAD_SIZE;
    view->width = width;
    view->height = height;
    return set_text(view, &view->text, RELAYOUT);
}

void destroy_view(TextView* view, bool free_record) {
    if (!view) return;
    view->text = LessonText{};
    delete[] view->lines;
    view->lines = nullptr;
    view->capacity = 0;
    view->line_count = 0;
    delete_view_fonts(view, true);
    if (free_record) delete view;
}

int32_t measure_fit(plat::Dc* dc, const uint8_t* bytes, int32_t& width, int32_t& count) {
    int32_t converted = 0;
    const char16_t* run = to_display_run(bytes, count, false, &converted);
    if (!run || converted == 0) {
        width = 0;
        count = 0;
        return 0;
    }
    plat::TextExtent extent = plat::text_extent(dc, run, converted, width);
    const int32_t fit = std::clamp(extent.fit, 0, converted);
    if (fit != converted) extent = plat::text_extent(dc, run, fit, -1);
    width = fit ? extent.width : 0;
    count = fit;
    return fit;
}

uint16_t compute_max_top_row(const TextView& view) {
    if (!view.lines || view.line_count == 0 || view.total_rows == 0) return 0;
    int64_t room = view.height;
    int32_t rows = 0;
    bool overshot = false;
    for (int i = view.line_count - 1; i >= 0; --i) {
        const LineRecord& line = view.lines[i];
        if (line.height > room) break;
        room -= int64_t{line.height} * line_rows(line);
        rows += line_rows(line);
        overshot = room < 0;
    }
    // Only the blank row of the top line fitted: that row is the top row.
    int32_t top = view.total_rows - rows + (overshot ? 1 : 0);
    return clamp_to<uint16_t>(top);
}

int32_t line_holding(const TextView& view, uint32_t offset) {
    if (!view.lines) return -1;
    for (int32_t i = 0; view.lines[i].style; ++i) {
        const LineRecord& line = view.lines[i];
        if (offset >= line.offset && offset <= uint32_t{line.offset} + line.count) return i;
    }
    // No line holds a byte of a hanging label: its paragraph's first line stands for it.
    // Only the text's own bytes: a text handed to the view need not carry its terminators.
    const std::span<const uint8_t> text{view.text.bytes.get(),
                                        view.text.bytes ? view.text.length : 0u};
    uint32_t cursor = 0;
    ParagraphRecord record;
    while (next_paragraph(text, cursor, record)) {
        if (offset < record.offset || offset >= record.offset + record.length) continue;
        for (int32_t i = 0; view.lines[i].style; ++i) {
            const uint32_t start = view.lines[i].offset;
            if (start >= record.offset && start <= record.offset + record.length) return i;
        }
        break;
    }
    return -1;
}

int find_offset(TextView* view, uint32_t offset) {
    if (!view) return 0;
    const int32_t found = line_holding(*view, offset);
    if (found < 0) return 0;
    int32_t row = 0;
    for (int32_t i = 0; i < found; ++i)
        row += line_rows(view->lines[i]);
    view->top_row = clamp_to<uint16_t>(std::min<int32_t>(row, view->max_top_row));
    return 1;
}

}  // namespace lekta
