// Page steps: how far Page Up, Page Down, a tap and the scroll bar's page requests move the text.
#include <algorithm>
#include <cstdlib>

#include "view/text_view.h"

namespace lekta {
namespace {

bool half_page(uint32_t mode) {
    return mode == 2 || mode == 4;
}

// How far a step forward from top goes: it never moves backwards as top grows, since the rows
// after a top row still fit once that row is gone.
int32_t forward_step(const TextView& view, int32_t top, uint32_t mode) {
    return page_amount(rows_fitting(view, top), mode);
}

}  // namespace

int32_t rows_in_view(const TextView& view) {
    if (view.row_height <= 0) return std::max(view.rows_drawn, 1);
    return std::max(view.height / view.row_height, 1);
}

int32_t page_amount(int32_t page_rows, uint32_t mode) {
    const int32_t amount = half_page(mode) ? page_rows / 2 : page_rows - 1;
    return std::max(std::abs(amount), 1);
}

int32_t rows_fitting(const TextView& view, int32_t top) {
    int64_t room = view.height;
    int32_t row = 0, rows = 0;
    for (const LineRecord* line = view.lines; line && line->style; ++line) {
        for (int r = 0; r < line_rows(*line); ++r, ++row) {
            if (row < top) continue;
            if (line->height > room) return rows;
            room -= line->height;
            ++rows;
        }
    }
    if (view.row_height > 0 && room > 0) rows += static_cast<int32_t>(room / view.row_height);
    return rows;
}

int32_t page_step(TextView& view, bool forward, uint32_t mode) {
    const int32_t top = view.top_row;
    PagePair& last = view.last_page;
    const bool known = last.upper != last.lower && last.mode == mode;
    int32_t target = top;
    if (forward) {
        target = known && last.upper == top ? last.lower : top + forward_step(view, top, mode);
    } else if (known && last.lower == top) {
        target = last.upper;
    } else {
        // The first top whose step forward reaches this one: it shows this top row last.
        int32_t low = 0, high = top;
        while (low < high) {
            const int32_t mid = low + (high - low) / 2;
            if (mid + forward_step(view, mid, mode) >= top)
                high = mid;
            else
                low = mid + 1;
        }
        target = low;
    }
    target = std::clamp(target, 0, 0xFFFF);
    if (target != top) {
        last.upper = static_cast<uint16_t>(std::min(top, target));
        last.lower = static_cast<uint16_t>(std::max(top, target));
        last.mode = mode;
    }
    return target - top;
}

}  // namespace lekta
