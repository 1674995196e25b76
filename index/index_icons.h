// The index tree's three 9 x 9 icons: one bit per pixel, rows top first, each row padded to
// 16 bits, the leftmost pixel in the high bit, a set bit black.
#pragma once

#include <cstdint>

#include "platform/dialog.h"

namespace lekta::index_art {

constexpr int32_t ICON_SIZE = 9;

// A closed group: a boxed plus sign.
inline constexpr uint8_t COLLAPSED_BITS[] = {
    0xFF, 0x80,  // #########
    0x80, 0x80,  // #.......#
    0x88, 0x80,  // #...#...#
    0x88, 0x80,  // #...#...#
    0xBE, 0x80,  // #.#####.#
    0x88, 0x80,  // #...#...#
    0x88, 0x80,  // #...#...#
    0x80, 0x80,  // #.......#
    0xFF, 0x80,  // #########
};

// An open group: a boxed minus sign.
inline constexpr uint8_t EXPANDED_BITS[] = {
    0xFF, 0x80,  // #########
    0x80, 0x80,  // #.......#
    0x80, 0x80,  // #.......#
    0x80, 0x80,  // #.......#
    0xBE, 0x80,  // #.#####.#
    0x80, 0x80,  // #.......#
    0x80, 0x80,  // #.......#
    0x80, 0x80,  // #.......#
    0xFF, 0x80,  // #########
};

// A section: a page with a folded corner.
inline constexpr uint8_t SECTION_BITS[] = {
    0x7C, 0x00,  // .#####...
    0x46, 0x00,  // .#...##..
    0x45, 0x00,  // .#...#.#.
    0x47, 0x80,  // .#...####
    0x40, 0x80,  // .#......#
    0x5E, 0x80,  // .#.####.#
    0x40, 0x80,  // .#......#
    0x5E, 0x80,  // .#.####.#
    0x7F, 0x80,  // .########
};

inline constexpr plat::MonoImage COLLAPSED{ICON_SIZE, ICON_SIZE, COLLAPSED_BITS};
inline constexpr plat::MonoImage EXPANDED{ICON_SIZE, ICON_SIZE, EXPANDED_BITS};
inline constexpr plat::MonoImage SECTION{ICON_SIZE, ICON_SIZE, SECTION_BITS};

}  // namespace lekta::index_art
