// The index from the keyboard: a cursor on one entry that Up and Down move (the tree scrolling
// when it leaves the view), Right / Left opening and closing groups, Return choosing, and the
// first letters of a title typed to find it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "index/index_tree.h"
#include "platform/accessible.h"

namespace lekta {

struct IndexCursor {
    int32_t line = -1;     // first line of the entry it stands on; -1: none
    bool active = false;   // the keys move it (after Tab, or a key of its own)
    std::u16string typed;  // the letters typed so far
};

// Puts the cursor on the current lesson's entry when it shows, else on the first line in view.
void place_cursor(const IndexTree& tree, IndexCursor& cursor, uint16_t lesson_key);
// After the tree changed (a group closed by a tap): back onto a shown entry.
void settle_cursor(const IndexTree& tree, IndexCursor& cursor);

// What a key did: nothing, moved the cursor or the tree, or chose a section.
struct CursorResult {
    bool handled = false;
    uint16_t chosen = 0;  // a section's lesson key
};
// Up, Down, Right, Left, Return.
CursorResult cursor_key(IndexTree* tree, IndexCursor& cursor, uint32_t vk);
// '+', '-', or a letter of a title.
CursorResult cursor_char(IndexTree* tree, IndexCursor& cursor, char16_t c);
// Moves a cursor that the tree scrolled out of view onto the first or last entry in view.
void cursor_into_view(const IndexTree& tree, IndexCursor& cursor);
// Scrolls the tree so that the cursor's entry shows.
void scroll_to_cursor(IndexTree* tree, const IndexCursor& cursor);

// The entry's lines on screen, across the tree's width; empty when out of view.
plat::Rect cursor_rect(const IndexTree& tree, const IndexCursor& cursor);
// An entry's title in reading order, Hebrew as Unicode.
std::u16string entry_title(const IndexTree& tree, uint16_t line);
// Every shown entry, with its level and open or closed state; the cursor's entry focused.
void index_accessible_nodes(const IndexTree& tree, const IndexCursor& cursor,
                            std::vector<plat::AccessibleNode>& nodes);
// The node of the cursor's entry in those nodes, or -1.
int32_t cursor_node(const IndexTree& tree, const IndexCursor& cursor);

}  // namespace lekta
