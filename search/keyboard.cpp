#include "search/keyboard.h"

#include <algorithm>
#include <array>

#include "search/keyboard_image.h"
#include "view/palette.h"

namespace lekta {
namespace {

constexpr int32_t COLUMNS = 9;
constexpr int32_t LETTER_ROWS = 3;
constexpr int32_t SPACE_FIRST_COLUMN = 2, SPACE_LAST_COLUMN = 6;
constexpr int32_t ROW_BYTES = (KEYBOARD_WIDTH + 15) / 16 * 2;

// Key n (1..27) enters the letter at position n - 1.
constexpr char KEY_LETTERS[] = "abcdefghijlkmonqprsutwvxyz{";

static_assert(keyboard_art::WIDTH == KEYBOARD_WIDTH && keyboard_art::HEIGHT == KEYBOARD_HEIGHT);

constexpr std::array<uint8_t, ROW_BYTES * KEYBOARD_HEIGHT> pack() {
    std::array<uint8_t, ROW_BYTES * KEYBOARD_HEIGHT> bits{};
    for (int32_t y = 0; y < KEYBOARD_HEIGHT; ++y)
        for (int32_t x = 0; x < KEYBOARD_WIDTH; ++x)
            if (keyboard_art::ROWS[y][x] == '#')
                bits[y * ROW_BYTES + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    return bits;
}

constexpr auto KEYBOARD_BITS = pack();

// The keyboard drawn for the screen: the same grid and letters as the bits, in the palette's
// colours and at the screen's pixel density. At one device pixel a unit in the light palette the
// bits themselves are shown.
bool draw_keyboard(plat::Dc* dc, double device_ratio) {
    if (device_ratio == 1.0 && !dark_palette_in_use()) return false;
    const Palette& colors = palette();
    const auto line = [dc, &colors](int32_t left, int32_t top, int32_t right, int32_t bottom) {
        plat::fill_rect(dc, {left, top, right, bottom}, colors.text);
    };
    plat::fill_rect(dc, {0, 0, KEYBOARD_WIDTH, KEYBOARD_HEIGHT}, colors.ground);
    const int32_t grid_width = COLUMNS * KEY_WIDTH + 1;
    for (int32_t row = 0; row <= LETTER_ROWS; ++row)
        line(0, row * KEY_HEIGHT, grid_width, row * KEY_HEIGHT + 1);
    for (int32_t column = 0; column <= COLUMNS; ++column)
        line(column * KEY_WIDTH, 0, column * KEY_WIDTH + 1, LETTER_ROWS * KEY_HEIGHT);
    // The space bar below the middle keys, with its mark.
    const int32_t space_left = SPACE_FIRST_COLUMN * KEY_WIDTH;
    const int32_t space_right = (SPACE_LAST_COLUMN + 1) * KEY_WIDTH;
    const int32_t bottom = KEYBOARD_HEIGHT - 1;
    line(space_left, LETTER_ROWS * KEY_HEIGHT, space_left + 1, KEYBOARD_HEIGHT);
    line(space_right, LETTER_ROWS * KEY_HEIGHT, space_right + 1, KEYBOARD_HEIGHT);
    line(space_left, bottom, space_right + 1, KEYBOARD_HEIGHT);
    const int32_t mark_left = space_left + 29, mark_right = space_right - 30, mark_bottom = 86;
    line(mark_left, 82, mark_left + 1, mark_bottom + 1);
    line(mark_right, 82, mark_right + 1, mark_bottom + 1);
    line(mark_left, mark_bottom, mark_right + 1, mark_bottom + 1);

    plat::FontDesc desc;
    const char16_t face[] = u"Simple CLM";
    std::copy(std::begin(face), std::end(face), desc.face);
    desc.height = 15;
    desc.weight = 700;
    desc.charset = plat::HEBREW_CHARSET;
    plat::Font* font = plat::create_font(desc);
    plat::Font* previous = plat::select_font(dc, font);
    const plat::Colorref color = plat::set_text_color(dc, colors.text);
    plat::set_bk_transparent(dc, true);
    for (int key = 1; key <= LAST_KEY; ++key) {
        const int32_t row = (key - 1) / COLUMNS, column = COLUMNS - 1 - (key - 1) % COLUMNS;
        const char16_t letter = static_cast<char16_t>(0x5D0 + (key_letter(key) - 0x61));
        const int32_t left = column * KEY_WIDTH + 1, top = row * KEY_HEIGHT + 1;
        plat::draw_text(dc, &letter, 1, {left, top, left + KEY_WIDTH - 1, top + KEY_HEIGHT - 1},
                        plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
    plat::set_text_color(dc, color);
    plat::select_font(dc, previous);
    plat::delete_font(font);
    return true;
}

const plat::MonoImage KEYBOARD_IMAGE{KEYBOARD_WIDTH, KEYBOARD_HEIGHT, KEYBOARD_BITS, draw_keyboard};

}  // namespace

const plat::MonoImage& keyboard_image() {
    return KEYBOARD_IMAGE;
}

std::optional<int> key_at(plat::BaseUnits units, int32_t x, int32_t y) {
    x -= KEYBOARD_X_UNITS * units.x / 4;
    y -= KEYBOARD_Y_UNITS * units.y / 8;
    if (x < 0 || y < 0 || x >= KEYBOARD_WIDTH || y >= KEYBOARD_HEIGHT) return std::nullopt;
    const int32_t row = y / KEY_HEIGHT, column = x / KEY_WIDTH;
    // The picture's last pixel column lies past the ninth key: no key there.
    if (column >= COLUMNS) return std::nullopt;
    if (row < LETTER_ROWS) return COLUMNS * (row + 1) - column;
    if (column >= SPACE_FIRST_COLUMN && column <= SPACE_LAST_COLUMN) return SPACE_KEY;
    return std::nullopt;
}

int key_of(const KeyCursor& cursor) {
    if (cursor.row >= LETTER_ROWS) return SPACE_KEY;
    return COLUMNS * (cursor.row + 1) - cursor.column;
}

KeyCursor move_key_cursor(KeyCursor cursor, uint32_t vk) {
    const bool on_space = cursor.row >= LETTER_ROWS;
    // Along the space bar there is nothing to move to; up from it comes back where it left.
    if (vk == plat::VK_LEFT && !on_space) --cursor.column;
    if (vk == plat::VK_RIGHT && !on_space) ++cursor.column;
    if (vk == plat::VK_UP) --cursor.row;
    if (vk == plat::VK_DOWN) ++cursor.row;
    cursor.row = std::clamp(cursor.row, 0, LETTER_ROWS);
    cursor.column = std::clamp(cursor.column, 0, COLUMNS - 1);
    return cursor;
}

plat::Rect key_rect(plat::BaseUnits units, const KeyCursor& cursor) {
    const int32_t x = KEYBOARD_X_UNITS * units.x / 4;
    const int32_t y = KEYBOARD_Y_UNITS * units.y / 8 + cursor.row * KEY_HEIGHT;
    int32_t first = cursor.column, last = cursor.column;
    if (cursor.row >= LETTER_ROWS) first = SPACE_FIRST_COLUMN, last = SPACE_LAST_COLUMN;
    const int32_t bottom =
        std::min(y + KEY_HEIGHT + 1, y - cursor.row * KEY_HEIGHT + KEYBOARD_HEIGHT);
    return {x + first * KEY_WIDTH, y, x + (last + 1) * KEY_WIDTH + 1, bottom};
}

int32_t key_node(const KeyCursor& cursor) {
    const int key = key_of(cursor);
    return key == SPACE_KEY ? LAST_KEY : key - 1;
}

void keyboard_accessible_nodes(plat::BaseUnits units, const KeyCursor& cursor,
                               std::vector<plat::AccessibleNode>& nodes) {
    const int focused = key_of(cursor);
    for (int key = 1; key <= LAST_KEY + 1; ++key) {
        const int k = key > LAST_KEY ? SPACE_KEY : key;
        plat::AccessibleNode node;
        node.role = plat::AccessibleRole::button;
        node.name =
            k == SPACE_KEY ? u"space" : std::u16string(1, char16_t(0x05D0 + key_letter(k) - 0x61));
        KeyCursor place{LETTER_ROWS, SPACE_FIRST_COLUMN};
        if (k != SPACE_KEY) place = {(k - 1) / COLUMNS, COLUMNS * ((k - 1) / COLUMNS + 1) - k};
        node.rect = key_rect(units, place);
        node.state = plat::ACC_FOCUSABLE | (k == focused ? plat::ACC_FOCUSED : 0u);
        nodes.push_back(node);
    }
}

uint8_t key_letter(int key) {
    if (key < 1 || key > LAST_KEY) return ' ';
    return static_cast<uint8_t>(KEY_LETTERS[key - 1]);
}

}  // namespace lekta
