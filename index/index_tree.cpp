// The index tree's layout: record titles wrapped into right-aligned lines.
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "index/index_tree.h"
#include "view/fonts.h"
#include "view/palette.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr uint8_t FIRST_FONT_KEY = 1;

bool grow_lines(IndexTree* tree) {
    const uint32_t grown = uint32_t{tree->capacity} + INDEX_TABLE_STEP;
    // One entry beyond the capacity ends the table; line counts stay 16-bit.
    if (grown >= std::numeric_limits<uint16_t>::max()) return false;
    auto* lines = new (std::nothrow) IndexLine[grown + 1]{};
    if (!lines) return false;
    if (tree->lines) std::memcpy(lines, tree->lines, sizeof(IndexLine) * tree->capacity);
    delete[] tree->lines;
    tree->lines = lines;
    tree->capacity = static_cast<uint16_t>(grown);
    return true;
}

void end_table(IndexTree* tree, uint16_t count) {
    tree->line_count = count;
    if (tree->lines) tree->lines[count] = IndexLine{};
}

int32_t text_height(IndexTree* tree) {
    return plat::text_metrics(tree->dc).height;
}

// Where a line of a title ends: at the last space the fit reaches back to, or where the width
// runs out when the word alone is wider. Always at least one byte, so the wrap moves on.
int32_t wrap_count(plat::Dc* dc, const uint8_t* s, int32_t remaining, int32_t avail,
                   int32_t& width) {
    int32_t count = remaining;
    width = avail;
    measure_fit(dc, s, width, count);
    const int32_t fitted = count;
    if (count <= 0) {
        count = 1;
    } else if (count < remaining && s[count] != ' ') {
        for (int32_t j = count - 1; j >= 1; --j) {
            if (s[j] == ' ') {
                count = j;
                break;
            }
        }
    }
    // A byte forced onto a line of its own did not fit: it is measured as drawn.
    if (count != fitted || count != remaining || width > avail) {
        width = std::numeric_limits<int32_t>::max();
        int32_t measured = count;
        measure_fit(dc, s, width, measured);
    }
    return count;
}

}  // namespace

IndexTree* create_index_tree(plat::Dc* dc, const plat::Rect& rect, const FontSpec& font_spec,
                             uint16_t capacity) {
    if (!dc) return nullptr;
    auto* tree = new (std::nothrow) IndexTree;
    if (!tree) return nullptr;
    tree->dc = dc;
    tree->font_spec = font_spec;
    tree->left = rect.left;
    tree->top = rect.top;
    tree->width = rect.right - rect.left;
    tree->height = rect.bottom - rect.top;
    if (capacity) {
        tree->lines = new (std::nothrow) IndexLine[uint32_t{capacity} + 1]{};
        if (tree->lines) tree->capacity = capacity;
    }
    return tree;
}

int layout_index(IndexTree* tree, LessonText* list, ListOwnership ownership) {
    if (!tree) return INDEX_NO_LIST;
    tree->visible_count = 0;
    tree->max_top = 0;
    if (!list || !*list) {
        if (ownership == TAKE_LIST) tree->list = LessonText{};
        end_table(tree, 0);
        return INDEX_NO_LIST;
    }
    const std::span<const uint8_t> bytes(list->bytes.get(), list->length);
    uint32_t cursor = 0;
    IndexRecord first;
    if (next_index_record(bytes, cursor, first) != RecordRead::record || first.title_length == 0 ||
        !index_list_valid(bytes)) {
        end_table(tree, 0);
        return INDEX_MALFORMED;
    }
    // The tree draws from the list later, so a list it does not hold yet is moved in.
    if (list != &tree->list) tree->list = std::move(*list);
    if (!tree->lines && !grow_lines(tree)) return INDEX_NO_MEMORY;

    const std::span<const uint8_t> held(tree->list.bytes.get(), tree->list.length);
    plat::Font* previous_font = select_index_font(tree, FIRST_FONT_KEY, false);
    int32_t height = text_height(tree);
    uint8_t font_key = FIRST_FONT_KEY;
    uint16_t count = 0;
    std::vector<uint8_t> copy;
    cursor = 0;
    IndexRecord record;
    int status = INDEX_OK;
    while (status == INDEX_OK && next_index_record(held, cursor, record) == RecordRead::record) {
        int32_t indent = record.level * INDEX_LEVEL_INDENT;
        if (indent >= tree->width) indent = 0;
        if ((record.attribute & INDEX_FONT_KEY_MASK) != font_key) {
            font_key = record.attribute & INDEX_FONT_KEY_MASK;
            select_index_font(tree, font_key, false);
            height = text_height(tree);
        }
        // Titles are stored in visual order; lines are broken in reading order.
        const uint8_t* title = held.data() + record.title_offset;
        const auto n = static_cast<int32_t>(record.title_length);
        copy.assign(std::make_reverse_iterator(title + n), std::make_reverse_iterator(title));
        copy.push_back(0);
        const int32_t avail = tree->width - indent;
        int32_t pos = 0;
        for (;;) {
            while (pos < n && copy[pos] == ' ')
                ++pos;
            if (pos >= n) break;
            int32_t width = 0;
            const int32_t taken = wrap_count(tree->dc, copy.data() + pos, n - pos, avail, width);
            if (count >= tree->capacity && !grow_lines(tree)) {
                status = INDEX_NO_MEMORY;
                break;
            }
            IndexLine& line = tree->lines[count++];
            line.offset = static_cast<uint16_t>(record.title_offset + n - pos - taken);
            line.count = static_cast<uint16_t>(taken);
            line.width = width;
            line.height = height;
            line.key = record.key;
            line.attribute = record.attribute;
            line.level = record.level;
            line.x = tree->left + tree->width - indent - width;
            if (record.attribute & INDEX_VISIBLE) ++tree->visible_count;
            pos += taken;
        }
    }
    end_table(tree, count);
    compute_index_max_top(tree);
    plat::select_font(tree->dc, previous_font);
    return status;
}

int resize_index(IndexTree* tree, int32_t width, int32_t height) {
    if (!tree) return INDEX_NO_LIST;
    tree->width = width;
    tree->height = height;
    return layout_index(tree, &tree->list, RELAYOUT_LIST);
}

int32_t compute_index_max_top(IndexTree* tree) {
    if (!tree || !tree->lines || tree->line_count == 0 || tree->visible_count == 0) return -1;
    int32_t room = tree->height;
    int32_t fitted = 0;
    for (int32_t i = tree->line_count - 1; i >= 0; --i) {
        const IndexLine& line = tree->lines[i];
        if (line.height > room) break;
        if (line_visible(line)) {
            room -= line.height;
            ++fitted;
        }
    }
    tree->max_top = tree->visible_count - fitted;
    return tree->max_top;
}

void destroy_index_tree(IndexTree* tree) {
    if (!tree) return;
    IndexFont* node = tree->fonts;
    while (node) {
        IndexFont* next = node->next;
        plat::delete_font(node->font);
        delete node;
        node = next;
    }
    delete[] tree->lines;
    delete tree;
}

plat::Font* select_index_font(IndexTree* tree, uint8_t attribute, bool with_color) {
    const auto key = static_cast<uint8_t>(attribute & INDEX_FONT_KEY_MASK);
    IndexFont* node = tree->fonts;
    while (node && node->key != key)
        node = node->next;
    if (!node) {
        node = new (std::nothrow) IndexFont;
        if (node) {
            node->key = key;
            node->font = plat::create_font(font_for_key(tree->font_spec, key));
            node->next = tree->fonts;
            tree->fonts = node;
        }
    }
    plat::Font* previous = plat::select_font(tree->dc, node ? node->font : nullptr);
    if (with_color) {
        const bool blue = (key & (STYLE_LARGE | STYLE_BOLD)) == (STYLE_LARGE | STYLE_BOLD);
        plat::set_text_color(tree->dc, blue ? palette().large_text : palette().text);
    }
    return previous;
}

}  // namespace lekta
