// The seven 16x16 images of the tool buttons, side by side in one 1-bit strip (112 x 16): rows
// top first, each image's row two bytes, the leftmost pixel in the high bit, a set bit black.
//
// Direction of the day arrows: the text reads right to left, but the bar runs left to right
// (Previous Day, Today, Next Day) and the Left and Right keys go to the previous and the next
// day. The arrows point away from Today towards where they lead in that row, the same way as
// those keys; an arrow mirrored for the text would point against the key that does the same.
// The list image is drawn for a right-to-left reader: its bullets stand at the right.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace lekta {

constexpr int BAR_IMAGE_COUNT = 7;
constexpr int BAR_IMAGE_SIZE = 16;

namespace bar_art {

using Image = std::array<const char*, BAR_IMAGE_SIZE>;

constexpr Image PREVIOUS_DAY = {
    "................",  //
    "................",  //
    "......#.........",  //
    ".....##.........",  //
    "....###.........",  //
    "...####.........",  //
    "..############..",  //
    ".#############..",  //
    ".#############..",  //
    "..############..",  //
    "...####.........",  //
    "....###.........",  //
    ".....##.........",  //
    "......#.........",  //
    "................",  //
    "................",  //
};

constexpr Image TODAY = {
    "................",  //
    ".......##.......",  //
    "......####......",  //
    ".....######.....",  //
    "....########....",  //
    "...##########...",  //
    "..############..",  //
    ".##############.",  //
    "...##########...",  //
    "...##########...",  //
    "...####..####...",  //
    "...####..####...",  //
    "...####..####...",  //
    "...####..####...",  //
    "...####..####...",  //
    "................",  //
};

constexpr Image NEXT_DAY = {
    "................",  //
    "................",  //
    ".........#......",  //
    ".........##.....",  //
    ".........###....",  //
    ".........####...",  //
    "..############..",  //
    "..#############.",  //
    "..#############.",  //
    "..############..",  //
    ".........####...",  //
    ".........###....",  //
    ".........##.....",  //
    ".........#......",  //
    "................",  //
    "................",  //
};

constexpr Image FONT = {
    "................",  //
    ".......##.......",  //
    ".......##.......",  //
    "......####......",  //
    "......####......",  //
    ".....##..##.....",  //
    ".....##..##.....",  //
    "....##....##....",  //
    "....##....##....",  //
    "...##########...",  //
    "...##########...",  //
    "..##........##..",  //
    "..##........##..",  //
    ".##..........##.",  //
    "####........####",  //
    "................",  //
};

constexpr Image SEARCH = {
    "................",  //
    "....#####.......",  //
    "...##...##......",  //
    "..##.....##.....",  //
    ".##.......##....",  //
    ".#.........#....",  //
    ".#.........#....",  //
    ".#.........#....",  //
    ".##.......##....",  //
    "..##.....##.....",  //
    "...##...####....",  //
    "....#####.###...",  //
    "...........###..",  //
    "............###.",  //
    ".............##.",  //
    "................",  //
};

constexpr Image SEARCH_AGAIN = {
    "..#####.........",  //
    ".##...##........",  //
    "##.....##.......",  //
    "#.......#.......",  //
    "#.......#.......",  //
    "#.......#.......",  //
    "##.....##.......",  //
    ".##...###.......",  //
    "..#######.......",  //
    ".......##.#.....",  //
    "..........##....",  //
    "....#########...",  //
    "....##########..",  //
    "....#########...",  //
    "..........##....",  //
    "..........#.....",  //
};

constexpr Image INDEX = {
    "................",  //
    "................",  //
    ".##########..##.",  //
    ".##########..##.",  //
    "................",  //
    "................",  //
    "................",  //
    ".##########..##.",  //
    ".##########..##.",  //
    "................",  //
    "................",  //
    "................",  //
    ".##########..##.",  //
    ".##########..##.",  //
    "................",  //
    "................",  //
};

constexpr std::array<const Image*, BAR_IMAGE_COUNT> ALL = {
    &PREVIOUS_DAY, &TODAY, &NEXT_DAY, &FONT, &SEARCH, &SEARCH_AGAIN, &INDEX,
};

constexpr std::size_t ROW_BYTES = BAR_IMAGE_COUNT * 2;

constexpr std::array<uint8_t, ROW_BYTES * BAR_IMAGE_SIZE> pack() {
    std::array<uint8_t, ROW_BYTES * BAR_IMAGE_SIZE> bits{};
    for (std::size_t image = 0; image < ALL.size(); ++image)
        for (std::size_t y = 0; y < BAR_IMAGE_SIZE; ++y)
            for (std::size_t x = 0; x < BAR_IMAGE_SIZE; ++x)
                if ((*ALL[image])[y][x] == '#')
                    bits[y * ROW_BYTES + image * 2 + x / 8] |=
                        static_cast<uint8_t>(0x80 >> (x % 8));
    return bits;
}

// The same images as outlines on the 16-unit grid (see plat::BarSpec), for denser screens.
inline constexpr std::array<const char*, BAR_IMAGE_COUNT> OUTLINES = {
    // Previous day: an arrow to the left.
    "M 0.8 8 L 7 1.8 L 7 6 L 14 6 L 14 10 L 7 10 L 7 14.2 Z F",
    // Today: a house with a door.
    "M 8 0.8 L 15.5 8 L 13 8 L 13 15 L 9.6 15 L 9.6 10 L 6.4 10 L 6.4 15 L 3 15 L 3 8 "
    "L 0.5 8 Z F",
    // Next day: an arrow to the right.
    "M 15.2 8 L 9 1.8 L 9 6 L 2 6 L 2 10 L 9 10 L 9 14.2 Z F",
    // Font: a capital A.
    "W 2 M 1.8 15 L 8 1.2 L 14.2 15 S M 4.6 10 L 11.4 10 S",
    // Search: a magnifying glass.
    "W 1.6 O 6.2 6.4 4.8 S W 2.6 M 9.6 10 L 14.6 15 S",
    // Search again: a small glass and an arrow on.
    "W 1.5 O 4.6 4.6 3.6 S W 2 M 7.2 7.4 L 9.2 9.4 S "
    "M 4 11.8 L 10 11.8 L 10 9.2 L 14.6 12.6 L 10 16 L 10 13.4 L 4 13.4 Z F",
    // Index: three rows, each with its bullet at the right.
    "R 1 2 10 2 O 14 3 1.3 R 1 7 10 2 O 14 8 1.3 R 1 12 10 2 O 14 13 1.3 F",
};

}  // namespace bar_art

// Image i is the image of tool button i.
inline constexpr std::array<uint8_t, bar_art::ROW_BYTES* BAR_IMAGE_SIZE> BAR_IMAGE_BITS =
    bar_art::pack();

}  // namespace lekta
