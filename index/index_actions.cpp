// Drawing the index tree, taps on it, opening and closing groups and scrolling.
#include "index/index_actions.h"

#include <algorithm>

#include "index/index_icons.h"
#include "view/letter_code.h"
#include "view/palette.h"

namespace lekta {
namespace {

// The bookmarks branch's group (its entries repeat index sections).
constexpr uint16_t BRANCH_GROUP_KEY = 0x8877;

// Order in the schedule year, 19 Kislev first; slot 31 between days 29 and 30.
int32_t cycle_rank(uint16_t key) {
    const int32_t month = key >> 8 & 0x0F;
    const int32_t slot = key & 0xFF;
    const int32_t day = slot == 31 ? 29 : slot;
    int32_t position = (month + 4) % 13 * 30 + day;
    if (month == 9 && day < 19) position += 390;
    return position * 2 + (slot == 31 ? 1 : 0);
}

bool has_lines(const IndexTree* tree) {
    return tree && tree->list && tree->lines && tree->line_count > 0;
}

// The first line at or below the top row: top_row visible lines lie above it.
uint16_t first_shown_line(const IndexTree& tree) {
    uint16_t i = 0;
    for (int32_t seen = 0; i < tree.line_count && seen < tree.top_row; ++i)
        if (line_visible(tree.lines[i])) ++seen;
    return i;
}

uint16_t run_end(const IndexTree& tree, uint16_t i) {
    const uint16_t key = tree.lines[i].key;
    while (i < tree.line_count && tree.lines[i].key == key)
        ++i;
    return i;
}

void show_line(IndexTree* tree, IndexLine& line) {
    if (line_visible(line)) return;
    line.attribute |= INDEX_VISIBLE;
    ++tree->visible_count;
    // Opened on its own, a group shows as closed: its other children stay hidden.
    if (line.key & INDEX_GROUP_BIT) line.attribute &= static_cast<uint8_t>(~INDEX_EXPANDED);
}

void show_entry_forwards(IndexTree* tree, uint16_t i) {
    const uint16_t key = tree->lines[i].key;
    for (; i < tree->line_count && tree->lines[i].key == key; ++i)
        show_line(tree, tree->lines[i]);
}

// Marks the group at line g open and shows its direct children; nothing is drawn.
void open_group(IndexTree* tree, uint16_t g) {
    const uint16_t after = run_end(*tree, g);
    for (uint16_t i = g; i < after; ++i)
        tree->lines[i].attribute |= INDEX_EXPANDED;
    const uint8_t own_level = tree->lines[g].level;
    const uint8_t child_level = tree->lines[after].level;
    for (uint16_t i = after; i < tree->line_count; ++i) {
        IndexLine& line = tree->lines[i];
        if (line.level < child_level || line.level <= own_level) break;
        if (line.level == child_level) show_line(tree, line);
    }
}

const plat::MonoImage& icon_of(const IndexLine& line) {
    if (!(line.key & INDEX_GROUP_BIT)) return index_art::SECTION;
    return (line.attribute & INDEX_EXPANDED) ? index_art::EXPANDED : index_art::COLLAPSED;
}

void draw_line_text(IndexTree* tree, const IndexLine& line, int32_t y) {
    if (line.count == 0 || uint32_t{line.offset} + line.count > tree->list.length) return;
    int32_t converted = 0;
    const char16_t* run =
        to_display_run(tree->list.bytes.get() + line.offset, line.count, true, &converted);
    if (!run || converted == 0) return;
    const plat::Rect rect{line.x, y, line.x + line.width, y + line.height};
    plat::draw_text(tree->dc, run, converted, rect, VIEW_TEXT_FORMAT);
}

}  // namespace

void draw_index(IndexTree* tree, DrawMode mode) {
    if (!tree) return;
    tree->lines_drawn = 0;
    if (tree->top_row > tree->visible_count) tree->top_row = tree->max_top;
    if (mode == DRAW_ERASE) {
        plat::fill_rect(tree->dc,
                        {tree->left, tree->top, tree->left + tree->width, tree->top + tree->height},
                        palette().ground);
    }
    if (!has_lines(tree)) return;
    uint16_t i = first_shown_line(*tree);
    if (i >= tree->line_count) return;

    const plat::Colorref saved_color = plat::get_text_color(tree->dc);
    const plat::Colorref saved_ground = plat::set_bk_color(tree->dc, palette().ground);
    uint8_t font_key = tree->lines[i].attribute & INDEX_FONT_KEY_MASK;
    plat::Font* previous_font = select_index_font(tree, font_key, true);
    int32_t room = tree->height;
    int32_t y = tree->top;
    int32_t last_key = -1;
    for (; i < tree->line_count; ++i) {
        const IndexLine& line = tree->lines[i];
        if (line.height > room) break;
        if (!line_visible(line)) continue;
        if ((line.attribute & INDEX_FONT_KEY_MASK) != font_key) {
            font_key = line.attribute & INDEX_FONT_KEY_MASK;
            select_index_font(tree, font_key, true);
        }
        if (line.key != last_key) {
            const int32_t icon_x = line.x + line.width + INDEX_ICON_GAP;
            const int32_t lift = (line.height - INDEX_ICON_SIZE) / 2;
            const int32_t icon_y = lift > 0 ? y + lift : y;
            plat::draw_mono_image(
                tree->dc, icon_of(line),
                {icon_x, icon_y, icon_x + INDEX_ICON_SIZE, icon_y + INDEX_ICON_SIZE},
                palette().text, palette().ground);
        }
        if (line_marked(*tree, line)) {
            // The current lesson's section, on the search highlight's yellow.
            plat::fill_rect(tree->dc, {line.x, y, line.x + line.width, y + line.height},
                            COLOR_YELLOW);
            const plat::Colorref background = plat::set_bk_color(tree->dc, COLOR_YELLOW);
            draw_line_text(tree, line, y);
            plat::set_bk_color(tree->dc, background);
        } else {
            draw_line_text(tree, line, y);
        }
        last_key = line.key;
        y += line.height;
        room -= line.height;
        ++tree->lines_drawn;
    }
    plat::select_font(tree->dc, previous_font);
    plat::set_text_color(tree->dc, saved_color);
    plat::set_bk_color(tree->dc, saved_ground);
}

int32_t index_tap(IndexTree* tree, int32_t x, int32_t y, uint16_t* tapped) {
    if (!has_lines(tree)) return 0;
    if (x < tree->left || x > tree->left + tree->width || y < tree->top ||
        y > tree->top + tree->height)
        return 0;
    int32_t room = tree->height;
    int32_t bottom = tree->top;
    uint16_t i = first_shown_line(*tree);
    for (;; ++i) {
        if (i >= tree->line_count) return -1;
        const IndexLine& line = tree->lines[i];
        if (line.height > room) return -1;
        if (!line_visible(line)) continue;
        room -= line.height;
        bottom += line.height;
        if (y <= bottom) break;
    }
    const IndexLine& line = tree->lines[i];
    if (tapped) *tapped = i;
    const int32_t span_end = line.x + line.width + INDEX_TAP_SPAN;
    if (x >= line.x && x <= span_end) {
        if (line.key & INDEX_SECTION_BIT) return line.key & INDEX_LESSON_MASK;
        return toggle_group(tree, i);
    }
    if (!(line.key & INDEX_GROUP_BIT)) return 0;
    // Beside a group's icon on the right still opens it; left of its title is empty space.
    return x > span_end ? toggle_group(tree, i) : 0;
}

int32_t toggle_group(IndexTree* tree, uint16_t g) {
    if (!has_lines(tree) || g >= tree->line_count) return 0;
    const uint16_t key = tree->lines[g].key;
    // The group's own lines (a title wrapped over several) open and close together and stay
    // shown; only what lies under them changes.
    while (g > 0 && tree->lines[g - 1].key == key)
        --g;
    const uint16_t after = run_end(*tree, g);
    const bool was_expanded = (tree->lines[g].attribute & INDEX_EXPANDED) != 0;
    for (uint16_t i = g; i < after; ++i)
        tree->lines[i].attribute ^= INDEX_EXPANDED;

    const int32_t before = tree->visible_count;
    // Children are told by their records' level, not by their indent: a tree too narrow to
    // indent draws every level at the same place.
    const uint8_t own_level = tree->lines[g].level;
    const uint8_t child_level = tree->lines[after].level;
    for (uint16_t i = after; i < tree->line_count; ++i) {
        IndexLine& line = tree->lines[i];
        // Past the group's subtree; a group without children leaves its siblings alone.
        if (line.level < child_level || line.level <= own_level) break;
        if (was_expanded) {
            if (line_visible(line)) {
                line.attribute &= static_cast<uint8_t>(~INDEX_VISIBLE);
                --tree->visible_count;
            }
        } else if (!line_visible(line) && line.level == child_level) {
            line.attribute |= INDEX_VISIBLE;
            ++tree->visible_count;
        }
    }
    if (tree->visible_count != before) compute_index_max_top(tree);
    draw_index(tree, DRAW_ERASE);
    return -(key & INDEX_LESSON_MASK);
}

int scroll_index(IndexTree* tree, int32_t delta, ScrollRedraw redraw, bool clamp) {
    if (!tree) return 1;
    int64_t top = int64_t{tree->top_row} + delta;
    if (top < 0)
        top = 0;
    else if (clamp || top > tree->visible_count)
        top = std::min<int64_t>(top, std::max(tree->max_top, 0));
    if (redraw == SCROLL_AND_DRAW && top == tree->top_row) return 1;
    tree->top_row = static_cast<int32_t>(top);
    if (redraw == SCROLL_AND_DRAW) draw_index(tree, DRAW_ERASE);
    return 0;
}

void reveal_lesson(IndexTree* tree, uint16_t lesson_key) {
    if (!has_lines(tree) || lesson_key == 0) return;
    // The section the lesson belongs to: the last one that begins on it or before it in the
    // schedule year. The bookmarks branch only repeats sections and is passed over.
    const int32_t wanted = cycle_rank(lesson_key);
    int32_t found = -1, found_rank = -1;
    for (uint16_t i = 0; i < tree->line_count; i = run_end(*tree, i)) {
        const IndexLine& line = tree->lines[i];
        if (line.key == BRANCH_GROUP_KEY) {
            while (i + 1 < tree->line_count && tree->lines[i + 1].level > line.level)
                ++i;
            continue;
        }
        if (!(line.key & INDEX_SECTION_BIT) || (line.key & INDEX_GROUP_BIT)) continue;
        const int32_t rank = cycle_rank(line.key & INDEX_LESSON_MASK);
        if (rank <= wanted && rank > found_rank) {
            found = i;
            found_rank = rank;
        }
    }
    if (found < 0) return;
    tree->marked_begin = tree->lines[found].offset;
    tree->marked_end = tree->lines[run_end(*tree, static_cast<uint16_t>(found)) - 1].offset + 1u;

    // Every group it lies in is opened with all its children shown, as a tap opens it, so that
    // no group is drawn closed over shown children.
    std::vector<uint16_t> groups;
    uint8_t level = tree->lines[found].level;
    for (int32_t i = found - 1; i >= 0 && level > 1; --i) {
        if (tree->lines[i].level < level && (tree->lines[i].key & INDEX_GROUP_BIT)) {
            level = tree->lines[i].level;
            groups.push_back(static_cast<uint16_t>(i));
        }
    }
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        uint16_t g = *it;
        while (g > 0 && tree->lines[g - 1].key == tree->lines[g].key)
            --g;
        show_entry_forwards(tree, g);
        if (!(tree->lines[g].attribute & INDEX_EXPANDED)) open_group(tree, g);
    }
    show_entry_forwards(tree, static_cast<uint16_t>(found));
    compute_index_max_top(tree);
}

std::vector<OpenEntry> save_open_state(const IndexTree& tree) {
    std::vector<OpenEntry> open;
    if (!tree.lines) return open;
    for (uint16_t i = 0; i < tree.line_count; i = run_end(tree, i)) {
        const IndexLine& line = tree.lines[i];
        if (line_visible(line))
            open.push_back({line.key, static_cast<uint8_t>(line.attribute & INDEX_EXPANDED)});
    }
    return open;
}

void restore_open_state(IndexTree* tree, const std::vector<OpenEntry>& open) {
    if (!has_lines(tree)) return;
    uint16_t from = 0;
    for (const OpenEntry& entry : open) {
        uint16_t i = from;
        while (i < tree->line_count && tree->lines[i].key != entry.key)
            ++i;
        if (i >= tree->line_count) continue;
        for (; i < tree->line_count && tree->lines[i].key == entry.key; ++i) {
            IndexLine& line = tree->lines[i];
            if (!line_visible(line)) ++tree->visible_count;
            line.attribute |= static_cast<uint8_t>(INDEX_VISIBLE | entry.expanded);
        }
        from = i;
    }
    compute_index_max_top(tree);
}

}  // namespace lekta
