// A passage of the lesson chosen with the pointer or with Shift and the arrows. Its ends are
// reading positions, not places on the screen, so a new size, face or zoom lays the text out
// again under the same passage; only a new lesson clears it.
//
// A reading position stands between two characters in reading order: a paragraph's first text
// byte's offset plus the number of its characters read before it. The positions of a paragraph
// run from its offset to its end, and rise through the lesson in reading order whatever order
// the paragraph is stored and drawn in.
#pragma once

#include <cstdint>

#include "view/text_view.h"

namespace lekta {

// The selected positions [from, to); from == to: no selection.
struct Passage {
    uint32_t from = 0, to = 0;
};

Passage selected_passage(const TextView& view);
bool has_selection(const TextView& view);

// The reading position nearest to a point of the window: the row under it (rows above the first
// line shown take that line, rows below the last one the last), then the boundary of the
// character nearest to it on that line.
uint32_t position_at(TextView& view, int32_t x, int32_t y);

// Selects from anchor to caret, drawing the view again when that changes what is selected.
void select_passage(TextView* view, uint32_t anchor, uint32_t caret);
// Clears the selection, drawing the view again; false when there was none.
bool clear_selection(TextView* view);
// The whole lesson.
void select_all(TextView* view);

// Moves the selection's moving end a letter to the left or right as the text is drawn, or a
// line up or down, scrolling it into sight. Without a selection it starts where the top line
// starts to read.
enum class SelectStep { left, right, up, down };
void extend_selection(TextView* view, SelectStep step);

// Draws the selected characters of the lines shown in the selection's colours; draw_view calls
// it after the text and the search highlight.
void draw_selection(TextView* view);

// ---- The pointer over the text ---------------------------------------------------------------

// A press in the text is held until it is released, as a tap (handle_tap: it pages the view,
// and clears the selection), or until it moves further than a few pixels: a drag, which selects
// and scrolls when it leaves the text above or below. A press elsewhere is a tap at once.
void press_pointer(plat::Window* window, int32_t x, int32_t y);
void move_pointer(plat::Window* window, int32_t x, int32_t y);
void release_pointer(plat::Window* window);

}  // namespace lekta
