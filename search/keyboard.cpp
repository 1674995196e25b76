#include "search/keyboard.h"

#include <array>

#include "search/keyboard_image.h"

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
const plat::MonoImage KEYBOARD_IMAGE{KEYBOARD_WIDTH, KEYBOARD_HEIGHT, KEYBOARD_BITS};

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

uint8_t key_letter(int key) {
    if (key < 1 || key > LAST_KEY) return ' ';
    return static_cast<uint8_t>(KEY_LETTERS[key - 1]);
}

}  // namespace lekta
