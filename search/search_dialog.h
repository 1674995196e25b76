// The search dialog: an edit box for the search string over the on-screen Hebrew keyboard; OK
// searches, and the dialog stays open with its text selected when nothing is found.
//
// The edit box orders text itself (bidi), so its text is held in reading order: the first
// character typed comes first. A right-to-left override mark at its start makes it show every
// character right to left, as the search string is stored, whatever the character (Hebrew letters,
// letters typed on Latin keys, '?', '*', the letters of a base of 97 or 224). What the box
// shows from left to right is therefore its text reversed and mirrored, and that is the string
// the search converts: it comes out in the stored order of the lesson text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dialog.h"

namespace lekta {

constexpr uint16_t ID_SEARCH_EDIT = 1013;
constexpr int32_t SEARCH_EDIT_LIMIT = 33;  // characters of the search string
constexpr char16_t RIGHT_TO_LEFT_OVERRIDE = u'\u202E';

const plat::DialogTemplate& search_dialog_template();

// Runs the dialog over the main window (Search command); what end_dialog gave, -1 when the
// dialog could not be made.
intptr_t run_search_dialog(plat::Window* owner);

// The dialog's procedure: it reads its state from the record run_search_dialog passes, and
// does nothing without one.
intptr_t search_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                            intptr_t lparam);

// Enters key n's character (1..27 a letter, 0 a space) at the edit box's caret: after the
// characters typed so far in reading order, to their left on screen.
void type_key(plat::Window* dialog, int key);

// The characters as the edit box shows them from left to right, into the search string of
// g_settings: letters of the character base (and Unicode Hebrew letters) become letter codes,
// anything else its low byte; runs of spaces become one; at most 33 bytes.
void read_search_string(std::u16string_view shown);

// The edit box's text for characters to be shown left to right, and back.
std::u16string box_text_from_shown(std::u16string_view shown);
std::u16string shown_from_box_text(std::u16string_view box);

}  // namespace lekta
