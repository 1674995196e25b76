// The reading window's frame around the text view: the gutter, the date strip beneath the text
// (the Hebrew date on a cyan ground), painting, taps, and the title box shown over the text.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "view/text_view.h"

namespace lekta {

constexpr uint32_t PAINT_VIEW = 0x01;    // redraw the view
constexpr uint32_t PAINT_ERASE = 0x100;  // ... erasing it first
constexpr uint32_t PAINT_EVERYTHING = 0x1FF;

// The calendar dialog, reached by a tap on the date strip: the day picked, or 0. Filled in by
// the calendar dialog; while empty, a tap on the strip does nothing.
using ChooseDateHook = int32_t (*)(plat::Window* owner, int32_t current_day);
extern ChooseDateHook g_choose_date;
// Moving to the day picked there; filled in by the navigation.
using GoToDayHook = int (*)(plat::Window* owner, int32_t day);
extern GoToDayHook g_go_to_day;

// (Re)makes the date strip's font from the font face setting.
void make_strip_font();
// The frame at view creation: makes the strip font, places the strip (in g_settings) inside
// the client rectangle, fits the date text into it and returns the text view's rectangle.
// The dc's font is left as it was.
plat::Rect init_frame(plat::Dc* dc, const plat::Rect& client);
// On every size change of the main window (client width and height).
void resize_frame(plat::Window* window, int32_t width, int32_t height);
// The date strip: cyan ground, the date text centred in the strip font.
void draw_date_strip(plat::Dc* dc);
// Paints the view (flags PAINT_VIEW, PAINT_ERASE) and the strip through dc, or through the
// window's dc when none is given.
void paint_window(plat::Dc* dc, plat::Window* window, uint32_t flags);
// Paints through the window's dc (the main window when null) and updates the scroll bar.
void repaint_window(plat::Window* window, uint32_t flags);
// A tap in the main window: pages the text, or opens the calendar from the date strip.
void handle_tap(plat::Window* window, int32_t x, int32_t y);
// The lesson's title and subtitle in a framed box at the bottom of the view.
void draw_caption_box(TextView* view);

}  // namespace lekta
