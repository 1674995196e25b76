// What the index dialog does with its tree: drawing from the top row, taps on titles and
// icons, opening and closing groups, scrolling, and opening the tree down to a lesson.
#pragma once

#include <cstdint>
#include <vector>

#include "index/index_tree.h"
#include "view/text_view.h"

namespace lekta {

// Icons are drawn this far right of a first line's text, and taps reach this far past it.
constexpr int32_t INDEX_ICON_GAP = 4;
constexpr int32_t INDEX_ICON_SIZE = 9;
constexpr int32_t INDEX_TAP_SPAN = 13;

// Paints the visible lines from the top row down; DRAW_ERASE first fills the tree white.
void draw_index(IndexTree* tree, DrawMode mode);
// A lesson key (> 0) for a tap on a section; 0 for nothing; a negative value when a group was
// opened or closed, or when nothing lies under the tap.
// The tapped line goes to *line when asked for.
int32_t index_tap(IndexTree* tree, int32_t x, int32_t y, uint16_t* line = nullptr);
// Opens a closed group (showing its direct children) or closes an open one (hiding its whole
// subtree), then redraws. Returns -(group key & 0x3FFF).
int32_t toggle_group(IndexTree* tree, uint16_t line);
// Moves the top row by delta. With clamp, no further than the max top row. 1 when a redraw
// was asked for and nothing moved, else 0.
int scroll_index(IndexTree* tree, int32_t delta, ScrollRedraw redraw, bool clamp);
// Opens the tree down to the entry of the lesson (bit 15 clear, low 14 bits equal), unless it
// is shown already.
void reveal_lesson(IndexTree* tree, uint16_t lesson_key);

// Which entries are shown and open, to survive a new layout (a resize).
struct OpenEntry {
    uint16_t key = 0;
    uint8_t expanded = 0;  // the attribute's INDEX_EXPANDED bit
};
std::vector<OpenEntry> save_open_state(const IndexTree& tree);
void restore_open_state(IndexTree* tree, const std::vector<OpenEntry>& open);

}  // namespace lekta
