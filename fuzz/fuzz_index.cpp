// The section index over arbitrary record lists: layout at arbitrary sizes with the test
// backend's metrics, then opening down to a lesson, drawing, taps, groups, scrolling and a
// resize that keeps what is open.
#include <cstddef>
#include <cstdint>

#include "fuzz/input.h"
#include "index/index_actions.h"
#include "index/index_tree.h"
#include "platform/test/test_text.h"
#include "state/reader.h"
#include "state/settings.h"

using namespace lekta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in{data, size};
    const int32_t width = static_cast<int16_t>(in.word());
    const int32_t height = static_cast<int16_t>(in.word());
    const uint8_t char_width = in.byte();
    const uint8_t mode = in.byte();
    const uint16_t lesson = in.word();
    uint8_t taps[8];
    for (uint8_t& t : taps)
        t = in.byte();

    testplat::reset_text();
    testplat::set_char_width(char_width & 0x1F);
    if (mode & 0x10) testplat::set_char_width(u' ', 0);
    g_settings = Settings{};
    g_reader = Reader{};
    g_settings.flags = (mode & 1) ? FLAG_REVERSE : 0;
    FontSpec font_spec;
    font_spec.font_size = (mode >> 2) & 0x3;

    LessonText list = in.rest();

    plat::Dc* dc = testplat::create_dc();
    IndexTree* tree =
        create_index_tree(dc, {3, 5, 3 + width, 5 + height}, font_spec, (mode & 2) ? 0 : 4);
    layout_index(tree, &list, (mode & 0x20) ? TAKE_LIST : RELAYOUT_LIST);
    reveal_lesson(tree, lesson);
    draw_index(tree, DRAW_ERASE);
    for (size_t i = 0; i + 1 < sizeof taps; i += 2)
        index_tap(tree, taps[i] * width / 255 + 3, taps[i + 1] * height / 255 + 5);
    toggle_group(tree, taps[0]);
    scroll_index(tree, static_cast<int8_t>(taps[1]), SCROLL_AND_DRAW, (mode & 0x40) != 0);
    const auto open = save_open_state(*tree);
    resize_index(tree, height, width);
    restore_open_state(tree, open);
    scroll_index(tree, 70000, SCROLL_AND_DRAW, false);
    draw_index(tree, DRAW_OVER);
    destroy_index_tree(tree);
    g_settings = Settings{};
    g_reader = Reader{};
    testplat::destroy_dc(dc);
    return 0;
}
