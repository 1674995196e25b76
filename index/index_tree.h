// The section index as a tree of display lines: each record's title wrapped to the tree's
// width, right-aligned and indented from the right by its level; each line knows its entry's
// key and attribute, whose visible and expanded bits change as groups open and close.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "state/settings.h"
#include "store/index_records.h"
#include "store/lesson_store.h"

namespace lekta {

// Status codes of layout_index (shared with the text view's layout).
constexpr int INDEX_OK = 0;
constexpr int INDEX_NO_LIST = 2;
constexpr int INDEX_MALFORMED = 0xFFFC;
constexpr int INDEX_NO_MEMORY = 0xFFFE;

constexpr int32_t INDEX_LEVEL_INDENT = 13;  // pixels per level, from the right edge
constexpr uint16_t INDEX_TABLE_STEP = 128;
constexpr uint16_t INDEX_DIALOG_CAPACITY = 100;

struct IndexLine {
    uint16_t offset = 0;  // first stored byte of the line's part of the title
    uint16_t count = 0;
    int32_t x = 0;  // left edge of the text
    int32_t width = 0;
    int32_t height = 0;  // text height of the entry's font
    uint16_t key = 0;
    uint8_t attribute = 0;  // INDEX_VISIBLE and INDEX_EXPANDED change; 0 ends the table
};

struct IndexFont {
    IndexFont* next = nullptr;
    plat::Font* font = nullptr;
    uint8_t key = 0;
};

struct IndexTree {
    plat::Dc* dc = nullptr;  // the dialog's, kept while it is open
    LessonText list;         // owned
    FontSpec font_spec;
    IndexFont* fonts = nullptr;
    int32_t left = 0, top = 0, width = 0, height = 0;
    int32_t top_row = 0;        // visible lines scrolled off above
    int32_t visible_count = 0;  // visible lines
    uint16_t line_count = 0;
    uint16_t capacity = 0;
    int32_t max_top = 0;         // largest top row the scroll range allows
    int32_t lines_drawn = 0;     // by the last full draw: the page size
    IndexLine* lines = nullptr;  // capacity + 1 entries; the one after the last is all zero
};

inline bool line_visible(const IndexLine& line) {
    return (line.attribute & INDEX_VISIBLE) != 0;
}
// Distance of a line's right edge from the tree's right edge: its level's indent.
inline int32_t right_indent(const IndexTree& tree, const IndexLine& line) {
    return tree.left + tree.width - line.x - line.width;
}

// A tree over rect (width right - left, height bottom - top) drawing through dc; capacity line
// entries up front when nonzero. Null when dc is null.
IndexTree* create_index_tree(plat::Dc* dc, const plat::Rect& rect, const FontSpec& font_spec,
                             uint16_t capacity);
// Whether layout_index takes the list over or lays out again the one it holds.
enum ListOwnership : int { RELAYOUT_LIST = 0, TAKE_LIST = 1 };
// Lays the list out from its stored attributes. A list that does not read to its end
// (a record running past it, a level outside 1..3, no terminating record, an empty first
// title) is rejected with INDEX_MALFORMED and the tree stays empty. A null list: INDEX_NO_LIST.
int layout_index(IndexTree* tree, LessonText* list, ListOwnership ownership);
// New size, then the held list laid out again.
int resize_index(IndexTree* tree, int32_t width, int32_t height);
// The largest top row at which the last lines fill the tree; stored. -1 (nothing stored)
// when no line is visible.
int32_t compute_index_max_top(IndexTree* tree);
void destroy_index_tree(IndexTree* tree);

// Selects the font of the attribute's font key (made on first use) and, when asked, its
// colour: blue for large bold, else black. Returns the font selected before.
plat::Font* select_index_font(IndexTree* tree, uint8_t attribute, bool with_color);

}  // namespace lekta
