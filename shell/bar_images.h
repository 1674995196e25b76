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

}  // namespace bar_art

// Image i is the image of tool button i.
inline constexpr std::array<uint8_t, bar_art::ROW_BYTES* BAR_IMAGE_SIZE> BAR_IMAGE_BITS =
    bar_art::pack();

}  // namespace lekta
