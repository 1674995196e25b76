// The text view over arbitrary lessons: layout at arbitrary sizes and fonts with the test
// backend's metrics, then drawing, highlighting, scrolling and the caption box.
#include <cstddef>
#include <cstdint>

#include "fuzz/input.h"
#include "platform/test/test_text.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/frame.h"
#include "view/text_view.h"

using namespace lekta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in{data, size};
    const int32_t width = static_cast<int16_t>(in.word());
    const int32_t height = static_cast<int16_t>(in.word());
    const uint8_t font_size = in.byte();
    const uint8_t char_width = in.byte();
    const uint8_t mode = in.byte();
    const uint16_t top_row = in.word();
    const uint16_t hl_start = in.word();
    const uint16_t hl_length = in.byte();

    testplat::reset_text();
    testplat::set_char_width(char_width & 0x1F);
    if (mode & 0x10) testplat::set_char_width(u' ', 0);
    if (mode & 0x20) testplat::set_char_width(static_cast<char16_t>(u'\u05D0'), 37);
    g_settings = Settings{};
    g_reader = Reader{};
    g_settings.flags = (mode & 1) ? FLAG_REVERSE : 0;
    g_settings.font_spec.font_size = font_size & 0x3F;

    LessonText text = in.rest();

    plat::Dc* dc = testplat::create_dc();
    plat::Rect rect{static_cast<int8_t>(mode), 3, static_cast<int8_t>(mode) + width, 3 + height};
    TextView* view = create_view(dc, &rect, g_settings.font_spec, (mode & 2) ? 0 : 4);
    if (view) {
        g_reader.view = view;
        set_text(view, &text, TAKE_TEXT);
        view->top_row = top_row;
        view->hl_start = hl_start;
        view->hl_end = static_cast<uint16_t>(hl_start + hl_length);
        draw_view(view, DRAW_ERASE);
        scroll_by(view, view->rows_drawn - 1, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE);
        scroll_by(view, 70000, SCROLL_ONLY, STOP_AT_TEXT_END);
        scroll_by(view, -3, SCROLL_AND_DRAW, STOP_AT_LAST_PAGE);
        scroll_by(view, -70000, SCROLL_AND_DRAW, STOP_AT_TEXT_END);
        find_offset(view, hl_start);
        draw_caption_box(view);
        tap_scroll(nullptr, view, width / 2, height, SCROLL_AND_DRAW);
        set_view_size(view, height, width);
        draw_view(view, DRAW_OVER);
        destroy_view(view, true);
    }
    g_settings = Settings{};
    g_reader = Reader{};
    testplat::destroy_dc(dc);
    return 0;
}
