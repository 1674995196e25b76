// Laying the lesson out again for a new size or font while the reader keeps their place: the
// line at the top of the view stays at the top, and the view never stays scrolled past the
// point where the end of the lesson fills it.
#include <algorithm>

#include "view/fonts.h"
#include "view/text_view.h"

namespace lekta {

uint32_t top_line_offset(const TextView& view) {
    const LineRecord* line = view.lines;
    if (!line) return 0;
    int32_t row = 0;
    while (line->style && line[1].style && row + line_rows(*line) <= view.top_row) {
        row += line_rows(*line);
        ++line;
    }
    if (!line->style) return 0;
    // A visual-order line's first byte in reading order is its last stored one.
    if ((line->style & STYLE_VISUAL) && line->count > 0) return line->offset + line->count - 1u;
    return line->offset;
}

void keep_top_line(TextView& view, uint32_t offset) {
    int32_t row = 0;
    for (const LineRecord* line = view.lines; line && line->style; ++line) {
        // Ends are exclusive: a line that ends where the next begins does not claim its start.
        if (offset >= line->offset &&
            offset < uint32_t{line->offset} + std::max<uint16_t>(line->count, 1)) {
            view.top_row = static_cast<uint16_t>(std::min<int32_t>(row, view.max_top_row));
            return;
        }
        row += line_rows(*line);
    }
    view.top_row = std::min(view.top_row, view.max_top_row);
}

int resize_view(TextView* view, int32_t width, int32_t height) {
    if (!view) return VIEW_MISSING;
    const uint32_t anchor = top_line_offset(*view);
    const int status = set_view_size(view, width, height);
    if (status == LAYOUT_OK) keep_top_line(*view, anchor);
    return status;
}

int change_font(TextView* view, const FontSpec& font_spec) {
    if (!view) return VIEW_MISSING;
    const uint32_t anchor = top_line_offset(*view);
    // The fonts are made again for the new face and size when the layout first selects them.
    delete_view_fonts(view, false);
    view->font_spec = font_spec;
    if (set_text(view, &view->text, RELAYOUT) != LAYOUT_OK) return 1;
    keep_top_line(*view, anchor);
    return draw_view(view, DRAW_ERASE);
}

}  // namespace lekta
