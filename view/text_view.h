// The text view of the main window: a lesson laid out into display lines for the view's width
// and font, drawn from a top row downwards, scrolled by rows and highlighted by byte ranges.
// One header over layout.cpp, draw.cpp and paging.cpp: all three work on the TextView record's
// lines and rows, and a caller of one nearly always calls the others on the same view.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/lesson_store.h"
#include "view/letter_code.h"

namespace lekta {

// Status codes of the layout.
constexpr int LAYOUT_OK = 0;
constexpr int LAYOUT_NO_TEXT = 2;
constexpr int LAYOUT_MALFORMED = 0xFFFC;
constexpr int LAYOUT_NO_MEMORY = 0xFFFE;
constexpr int VIEW_MISSING = -1;
constexpr int VIEW_BAD_SIZE = -5;

// The largest lesson a view shows: positions are 16-bit byte offsets.
constexpr uint32_t MAX_LESSON_LENGTH = 0xFFFF;

// Style bits beyond the style byte, for select_style: also set the style's text colour.
constexpr int STYLE_WITH_COLOR = 0x100;

constexpr plat::Colorref COLOR_BLACK = 0x000000;
constexpr plat::Colorref COLOR_WHITE = 0xFFFFFF;
constexpr plat::Colorref COLOR_BLUE = 0xFF0000;
constexpr plat::Colorref COLOR_DARK_BLUE = 0x800000;
constexpr plat::Colorref COLOR_YELLOW = 0x00FFFF;
constexpr plat::Colorref COLOR_RED = 0x0000FF;
constexpr plat::Colorref COLOR_CYAN = 0xFFFF00;

// DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX: every run of the view is drawn so.
constexpr uint32_t VIEW_TEXT_FORMAT = 0x825;

// One display line.
struct LineRecord {
    uint16_t offset = 0;  // first drawn byte; of the label for labelled reading-order text
    uint16_t count = 0;   // bytes drawn, label excluded
    int16_t x = 0;        // left edge of the text in window pixels
    uint16_t hang = 0;    // width of the hanging area, on a labelled paragraph's first line
    uint16_t width = 0;   // measured width of the text (a rule's length)
    uint16_t height = 0;  // row height
    uint8_t style = 0;    // the record's style byte; 0x80 only on a paragraph's last line
};

struct FontNode {
    FontNode* next = nullptr;
    plat::Font* font = nullptr;
    uint8_t key = 0;  // style & FONT_KEY_MASK
};

// Two top rows a page step apart in the current layout (upper < lower), and the page mode of
// the step; none when upper equals lower.
struct PagePair {
    uint16_t upper = 0, lower = 0;
    uint32_t mode = 0;
};

struct TextView {
    LineRecord* lines = nullptr;  // capacity + 1 records; the last in use is all zero
    plat::Dc* dc = nullptr;       // kept for the view's life
    LessonText text;              // owned
    int32_t rows_drawn = 0;       // rows the last full draw fitted
    int32_t row_height = 0;       // of body text, from the last layout: the unit of a page
    FontSpec font_spec;
    FontNode* fonts = nullptr;
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint16_t top_row = 0;  // first row shown, blank rows counted
    uint16_t total_rows = 0;
    uint16_t line_count = 0;
    uint16_t capacity = 0;
    uint16_t max_top_row = 0;           // largest top row at which the end still fills the view
    uint16_t hl_start = 0, hl_end = 0;  // highlighted bytes [hl_start, hl_end); 0, 0: none
    PagePair last_page;                 // the last page step, for the step back
    // The selected passage between two reading positions (view/selection.h); equal: none.
    uint16_t sel_anchor = 0, sel_caret = 0;
    // A press in the text waiting to become a tap or a drag, and where it was.
    uint8_t press = 0;
    int16_t press_x = 0, press_y = 0;
    // Keep a margin at both sides of the text, so that ink standing past a glyph's advance
    // (and the highlight around it) is never cut by the window's edge or its scroll bar.
    bool side_margins = false;
};

// Rows a line takes: itself and the blank row after it.
inline int line_rows(const LineRecord& line) {
    return (line.style & STYLE_BLANK_AFTER) ? 2 : 1;
}
inline bool is_rule(uint8_t style) {
    return (style & STYLE_SIZE_MASK) == STYLE_RULE;
}

// ---- Layout ----------------------------------------------------------------------------------

// A view over the client rectangle (null: an empty one) drawing through dc; null when dc is
// null or memory runs out. capacity line records are allocated up front when nonzero.
TextView* create_view(plat::Dc* dc, const plat::Rect* rect, const FontSpec& font_spec,
                      uint16_t capacity);
// Whether set_text takes the lesson text over (a new lesson) or lays out what it holds.
enum TextOwnership : int { RELAYOUT = 0, TAKE_TEXT = 1 };

// Lays text out. With TAKE_TEXT the held text is released and the bytes moved out of
// *text once the text is accepted; a text other than the view's own is always moved in when
// accepted, since the view draws from it later. Re-layout passes &view->text, 0. A null text
// (or one without bytes) is "no text": 2, and with take_ownership the held text is dropped.
// Clears the highlight; leaves top_row alone.
int set_text(TextView* view, LessonText* text, TextOwnership ownership);
int set_view_size(TextView* view, int32_t width, int32_t height);
// Null FontSpec: deletes the cached fonts. Otherwise takes it, recreates the fonts, lays the
// text out again and redraws; 1 when the layout fails.
int apply_font(TextView* view, const FontSpec* font_spec);
void destroy_view(TextView* view, bool free_record);

// Selects the font of the style's font key (made when first needed) into the view's dc and
// returns the font selected before. With STYLE_WITH_COLOR also sets the style's text colour.
plat::Font* select_style(TextView* view, int style);
// How many of count bytes fit into width pixels (never reversed), and their width: both come
// back through the in/out values; the fit is also returned.
int32_t measure_fit(plat::Dc* dc, const uint8_t* bytes, int32_t& width, int32_t& count);
// The line that holds the offset; for a byte of a hanging label, which no line holds, the first
// line of its paragraph. -1 when there is none.
int32_t line_holding(const TextView& view, uint32_t offset);
// Scrolls so that line_holding(offset) is the top line, as far as max_top_row allows. 1 when
// there is such a line, else 0.
int find_offset(TextView* view, uint32_t offset);
// The margin kept at each side of the text, from the body text's row height; 0 when the
// view keeps none or is too narrow for it.
int32_t side_margin(const TextView& view);
// The top row at which the last line is the last one that fits (stored in max_top_row).
uint16_t compute_max_top_row(const TextView& view);

// The hanging label beside a labelled paragraph's first line (a verse number), in stored bytes.
struct HangingLabel {
    uint32_t offset = 0;
    int32_t length = 0;  // fitted into the hanging area
    int32_t width = 0;
    uint32_t text_offset = 0;  // reading-order text: where the line's own text starts
    int64_t x = 0;
};
// The label of a line with a hanging area, measured in the font selected into the view's dc.
HangingLabel hanging_label(const TextView& view, const LineRecord& line);

// ---- Keeping the reader's place across a new layout --------------------------------------------

// The reading-order first byte of the line at the top of the view (0 when there is none).
uint32_t top_line_offset(const TextView& view);
// Makes the line holding offset the top line, at most max_top_row; without such a line the top
// row is only held to max_top_row.
void keep_top_line(TextView& view, uint32_t offset);
// A new size (as set_view_size) with the top line kept in place.
int resize_view(TextView* view, int32_t width, int32_t height);
// A new font (as apply_font) with the top line kept in place; the view is drawn again.
int change_font(TextView* view, const FontSpec& font_spec);

// ---- Drawing and scrolling -------------------------------------------------------------------

// Whether a draw first fills the view white or paints over what is there.
enum DrawMode : int { DRAW_OVER = 0, DRAW_ERASE = 1 };
// Whether a scroll draws the view again or only moves top_row.
enum ScrollRedraw : int { SCROLL_ONLY = 0, SCROLL_AND_DRAW = 1 };
// How far forward a scroll may go: to the last row, then the last full page (a jump), or no
// further once the last full page is shown (a step: it may still leave room below the end).
enum ScrollStop : int { STOP_AT_TEXT_END = 0, STOP_AT_LAST_PAGE = 1 };

// Where drawing starts: the first line at or after top_row (a top row past the end counts as
// max_top_row), its y, and the room below it.
struct FirstLine {
    const LineRecord* line;
    int64_t y;
    int64_t room;
};
FirstLine first_shown_line(const TextView& view);
// Paints from top_row down; DRAW_ERASE first fills the view white. 0, -1 without a view,
// text or line table, or the highlight's result.
int draw_view(TextView* view, DrawMode mode);
int draw_highlight(TextView* view);
// Moves top_row by delta rows: 1 nothing to do, 3 moved (not drawn), or the redraw's result.
int scroll_by(TextView* view, int32_t delta, ScrollRedraw redraw, ScrollStop stop);
// Sets the window's scroll bar from g_reader.view when a FLAG_SCROLLBAR bit is set; a null
// window means the main window.
void update_scroll_bar(plat::Window* window);
// Tap-to-scroll: 1 when the tap paged the view.
int tap_scroll(plat::Window* window, TextView* view, int32_t x, int32_t y, ScrollRedraw redraw);
// ---- Page steps ------------------------------------------------------------------------------

// Rows of body text that the view's height holds, at least 1: the share of the lesson on screen,
// for the scroll bar's thumb.
int32_t rows_in_view(const TextView& view);
// Rows a page step moves, at least 1: half the page's rows for page modes 2 and 4, else one row
// less than the page.
int32_t page_amount(int32_t page_rows, uint32_t mode);
// The rows, in order from top, whose whole height fits the view's height: the lesson's rows at
// their own heights, then rows of body text below the end of the lesson.
int32_t rows_fitting(const TextView& view, int32_t top);
// The row delta of a page step from the top row, for scroll_by, and remembers the step. Forward:
// the rows fitting the view less one (half of them in modes 2 and 4), so the last whole row
// stays in sight and none is skipped, whatever the last draw happened to fill. Back: to the top
// row from which a step forward comes here, so that a step there and back shows the same view.
int32_t page_step(TextView& view, bool forward, uint32_t mode);

}  // namespace lekta
