#include "index/index_cursor.h"

#include "index/index_actions.h"
#include "view/accessible_lesson.h"

namespace lekta {
namespace {

constexpr char16_t ALEF = 0x05D0;

bool is_group(const IndexLine& line) {
    return (line.key & INDEX_GROUP_BIT) != 0;
}

bool valid(const IndexTree& tree, int32_t line) {
    return tree.lines && line >= 0 && line < tree.line_count;
}

// The first line of the entry holding line.
int32_t entry_start(const IndexTree& tree, int32_t line) {
    while (line > 0 && tree.lines[line - 1].key == tree.lines[line].key)
        --line;
    return line;
}

// The first line of the next (step 1) or previous (step -1) shown entry, or -1.
int32_t next_entry(const IndexTree& tree, int32_t line, int32_t step) {
    int32_t i = line - 1;
    if (step > 0)
        for (i = line; valid(tree, i) && tree.lines[i].key == tree.lines[line].key; ++i) {
        }
    for (; valid(tree, i); i += step)
        if (line_visible(tree.lines[i])) return entry_start(tree, i);
    return -1;
}

// Shown lines above the line: its row in the tree.
int32_t row_of(const IndexTree& tree, int32_t line) {
    int32_t row = 0;
    for (int32_t i = 0; i < line; ++i)
        if (line_visible(tree.lines[i])) ++row;
    return row;
}

int32_t entry_rows(const IndexTree& tree, int32_t line) {
    int32_t rows = 0;
    for (int32_t i = line; valid(tree, i) && tree.lines[i].key == tree.lines[line].key; ++i)
        if (line_visible(tree.lines[i])) ++rows;
    return rows;
}

// Rows that fit the tree from the top row down.
int32_t rows_in_view(const IndexTree& tree) {
    int32_t room = tree.height;
    int32_t rows = 0;
    int32_t seen = 0;
    for (int32_t i = 0; valid(tree, i); ++i) {
        const IndexLine& line = tree.lines[i];
        if (!line_visible(line)) continue;
        if (seen++ < tree.top_row) continue;
        if (line.height > room) break;
        room -= line.height;
        ++rows;
    }
    return rows;
}

// The group an entry belongs to: the nearest line above with a smaller indent.
int32_t parent_of(const IndexTree& tree, int32_t line) {
    const int32_t indent = right_indent(tree, tree.lines[line]);
    for (int32_t i = line - 1; i >= 0; --i)
        if (line_visible(tree.lines[i]) && right_indent(tree, tree.lines[i]) < indent)
            return entry_start(tree, i);
    return -1;
}

// Letters typed on a Latin keyboard stand for the Hebrew letters in their order (a: alef ...
// '{': tav), as on the search dialog; Latin titles match either case.
char16_t folded(char16_t c) {
    if (c >= u'a' && c <= u'z') return char16_t(ALEF + (c - u'a'));
    if (c == u'{') return char16_t(ALEF + 26);
    if (c >= u'A' && c <= u'Z') return char16_t(c + 32);
    return c;
}

bool starts_with(const std::u16string& title, const std::u16string& typed) {
    if (typed.size() > title.size()) return false;
    for (size_t i = 0; i < typed.size(); ++i) {
        const char16_t t =
            title[i] >= u'A' && title[i] <= u'Z' ? char16_t(title[i] + 32) : title[i];
        if (t != folded(typed[i]) && t != typed[i]) return false;
    }
    return true;
}

// The first shown entry from line on (wrapping round) whose title starts with typed.
int32_t find_typed(const IndexTree& tree, int32_t from, const std::u16string& typed) {
    const int32_t n = tree.line_count;
    for (int32_t k = 0; k < n; ++k) {
        const int32_t i = (from + k) % n;
        if (!line_visible(tree.lines[i]) || entry_start(tree, i) != i) continue;
        if (starts_with(entry_title(tree, uint16_t(i)), typed)) return i;
    }
    return -1;
}

void toggle(IndexTree* tree, IndexCursor& cursor) {
    toggle_group(tree, uint16_t(cursor.line));
    settle_cursor(*tree, cursor);
}

}  // namespace

void place_cursor(const IndexTree& tree, IndexCursor& cursor, uint16_t lesson_key) {
    cursor.line = -1;
    for (int32_t i = 0; valid(tree, i); ++i) {
        const IndexLine& line = tree.lines[i];
        if (line_visible(line) && !is_group(line) && (line.key & INDEX_LESSON_MASK) == lesson_key) {
            cursor.line = entry_start(tree, i);
            return;
        }
    }
    int32_t seen = 0;
    for (int32_t i = 0; valid(tree, i); ++i) {
        if (!line_visible(tree.lines[i])) continue;
        if (seen++ >= tree.top_row) {
            cursor.line = entry_start(tree, i);
            return;
        }
    }
}

void settle_cursor(const IndexTree& tree, IndexCursor& cursor) {
    if (!valid(tree, cursor.line)) return place_cursor(tree, cursor, 0);
    int32_t i = cursor.line;
    while (i > 0 && !line_visible(tree.lines[i]))
        --i;
    cursor.line = line_visible(tree.lines[i]) ? entry_start(tree, i) : -1;
}

void cursor_into_view(const IndexTree& tree, IndexCursor& cursor) {
    if (!valid(tree, cursor.line)) return;
    const int32_t row = row_of(tree, cursor.line);
    const int32_t rows = rows_in_view(tree);
    if (row >= tree.top_row && row + entry_rows(tree, cursor.line) <= tree.top_row + rows) return;
    // The first entry starting in view, or the last one ending in it.
    int32_t first = -1, last = -1, seen = 0;
    for (int32_t i = 0; valid(tree, i) && seen < tree.top_row + rows; ++i) {
        if (!line_visible(tree.lines[i])) continue;
        const int32_t r = seen++;
        if (r < tree.top_row || entry_start(tree, i) != i) continue;
        if (first < 0) first = i;
        if (r + entry_rows(tree, i) <= tree.top_row + rows) last = i;
    }
    const int32_t chosen = row < tree.top_row ? first : last;
    if (chosen >= 0) cursor.line = chosen;
}

void scroll_to_cursor(IndexTree* tree, const IndexCursor& cursor) {
    if (!tree || !valid(*tree, cursor.line)) return;
    const int32_t row = row_of(*tree, cursor.line);
    const int32_t rows = entry_rows(*tree, cursor.line);
    int32_t delta = 0;
    if (row < tree->top_row)
        delta = row - tree->top_row;
    else if (row + rows > tree->top_row + rows_in_view(*tree))
        delta = row + rows - (tree->top_row + rows_in_view(*tree));
    if (delta != 0) scroll_index(tree, delta, SCROLL_AND_DRAW, true);
}

CursorResult cursor_key(IndexTree* tree, IndexCursor& cursor, uint32_t vk) {
    CursorResult result;
    if (!tree || !valid(*tree, cursor.line)) return result;
    cursor.typed.clear();
    const IndexLine& line = tree->lines[cursor.line];
    const bool open = (line.attribute & INDEX_EXPANDED) != 0;
    result.handled = true;
    switch (vk) {
        case plat::VK_UP:
        case plat::VK_DOWN:
            if (const int32_t next = next_entry(*tree, cursor.line, vk == plat::VK_UP ? -1 : 1);
                next >= 0)
                cursor.line = next;
            break;
        case plat::VK_RIGHT:
            if (is_group(line) && !open)
                toggle(tree, cursor);
            else if (is_group(line))
                cursor.line = std::max(cursor.line, next_entry(*tree, cursor.line, 1));
            break;
        case plat::VK_LEFT:
            if (is_group(line) && open)
                toggle(tree, cursor);
            else if (const int32_t parent = parent_of(*tree, cursor.line); parent >= 0)
                cursor.line = parent;
            break;
        case plat::VK_RETURN:
            if (is_group(line))
                toggle(tree, cursor);
            else if (line.key & INDEX_SECTION_BIT)
                result.chosen = line.key & INDEX_LESSON_MASK;
            break;
        default:
            result.handled = false;
            return result;
    }
    scroll_to_cursor(tree, cursor);
    return result;
}

CursorResult cursor_char(IndexTree* tree, IndexCursor& cursor, char16_t c) {
    if (!tree || !valid(*tree, cursor.line)) return {};
    if (c == u'+') return cursor_key(tree, cursor, plat::VK_RIGHT);
    if (c == u'-') return cursor_key(tree, cursor, plat::VK_LEFT);
    if (c <= u' ') return {};
    // More letters narrow the search from the cursor on; a letter that matches nothing more
    // starts a new search after the cursor.
    std::u16string typed = cursor.typed + c;
    int32_t found = find_typed(*tree, cursor.line, typed);
    if (found < 0) {
        typed = std::u16string(1, c);
        found = find_typed(*tree, cursor.line + entry_rows(*tree, cursor.line), typed);
    }
    cursor.typed = typed;
    if (found >= 0) {
        cursor.line = found;
        scroll_to_cursor(tree, cursor);
    }
    return {true, 0};
}

plat::Rect cursor_rect(const IndexTree& tree, const IndexCursor& cursor) {
    if (!valid(tree, cursor.line)) return {};
    int32_t y = tree.top;
    int32_t room = tree.height;
    int32_t seen = 0;
    plat::Rect rect;
    for (int32_t i = 0; valid(tree, i); ++i) {
        const IndexLine& line = tree.lines[i];
        if (!line_visible(line) || seen++ < tree.top_row) continue;
        if (line.height > room) break;
        if (line.key == tree.lines[cursor.line].key && i >= cursor.line) {
            if (rect.bottom == 0) rect = {tree.left, y, tree.left + tree.width, y};
            rect.bottom = y + line.height;
        }
        y += line.height;
        room -= line.height;
    }
    return rect;
}

std::u16string entry_title(const IndexTree& tree, uint16_t first) {
    std::u16string title;
    for (int32_t i = first; valid(tree, i) && tree.lines[i].key == tree.lines[first].key; ++i) {
        const IndexLine& line = tree.lines[i];
        if (uint32_t{line.offset} + line.count > tree.list.length) break;
        if (!title.empty()) title += u' ';
        title += reading_text(tree.list.bytes.get() + line.offset, line.count, true);
    }
    return title;
}

void index_accessible_nodes(const IndexTree& tree, const IndexCursor& cursor,
                            std::vector<plat::AccessibleNode>& nodes) {
    for (int32_t i = 0; valid(tree, i); ++i) {
        const IndexLine& line = tree.lines[i];
        if (!line_visible(line) || entry_start(tree, i) != i) continue;
        plat::AccessibleNode node;
        node.role = plat::AccessibleRole::tree_item;
        node.name = entry_title(tree, uint16_t(i));
        node.level = right_indent(tree, line) / INDEX_LEVEL_INDENT;
        node.state = plat::ACC_FOCUSABLE;
        if (is_group(line)) {
            node.state |= plat::ACC_EXPANDABLE;
            if (line.attribute & INDEX_EXPANDED) node.state |= plat::ACC_EXPANDED;
        }
        if (i == cursor.line) {
            node.state |= plat::ACC_SELECTED;
            if (cursor.active) node.state |= plat::ACC_FOCUSED;
        }
        node.rect = cursor_rect(tree, IndexCursor{i, false, {}});
        nodes.push_back(node);
    }
}

int32_t cursor_node(const IndexTree& tree, const IndexCursor& cursor) {
    if (!valid(tree, cursor.line)) return -1;
    int32_t node = 0;
    for (int32_t i = 0; i < cursor.line; ++i)
        if (line_visible(tree.lines[i]) && entry_start(tree, i) == i) ++node;
    return node;
}

}  // namespace lekta
