// The search dialog's on-screen Hebrew keyboard: its picture, and which key a tap falls on.
#pragma once

#include <cstdint>
#include <optional>

#include <vector>

#include "platform/accessible.h"
#include "platform/dialog.h"

namespace lekta {

constexpr int32_t KEYBOARD_WIDTH = 154;
constexpr int32_t KEYBOARD_HEIGHT = 95;
constexpr int32_t KEY_WIDTH = 17;
constexpr int32_t KEY_HEIGHT = 25;
// The keyboard's top left corner in the dialog, in dialog units.
constexpr int32_t KEYBOARD_X_UNITS = 7;
constexpr int32_t KEYBOARD_Y_UNITS = 71;

constexpr int SPACE_KEY = 0;
constexpr int LAST_KEY = 27;

// The picture: a one-bit image of KEYBOARD_WIDTH x KEYBOARD_HEIGHT.
const plat::MonoImage& keyboard_image();

// The key under a tap at (x, y) in dialog client pixels, with the dialog's base units: 1..27
// for the letters, numbered from the right of the top row, 0 for the space bar; nothing off
// the keys. A tap on a grid line belongs to the key right of it or below it.
std::optional<int> key_at(plat::BaseUnits units, int32_t x, int32_t y);

// The letter code key n enters (a space for key 0).
uint8_t key_letter(int key);

// The key the keyboard's focus stands on, by its place: rows 0..2 of letters, row 3 the space
// bar; column 0 at the left. It starts on key 1, at the top right.
struct KeyCursor {
    int32_t row = 0;
    int32_t column = 8;
};
int key_of(const KeyCursor& cursor);
// The arrows move it one key, stopping at the edges; the space bar takes columns 2 to 6.
KeyCursor move_key_cursor(KeyCursor cursor, uint32_t vk);
// A key's place in dialog client pixels, its frame lines included.
plat::Rect key_rect(plat::BaseUnits units, const KeyCursor& cursor);
// The keys as a screen reader finds them, each by its letter (the space bar as "space"): keys
// 1 to 27, then the space bar; the cursor's key focused.
void keyboard_accessible_nodes(plat::BaseUnits units, const KeyCursor& cursor,
                               std::vector<plat::AccessibleNode>& nodes);
int32_t key_node(const KeyCursor& cursor);

}  // namespace lekta
