// The test backend's dialogs: run_dialog runs the procedure headless. Each run takes the next
// queued script, which plays the user (taps, keys, clicks, typing) on the open dialog; the
// dialog's dc records what it drew, and every run is kept with its result.
//
// A run: WM_INITDIALOG, WM_SIZE, WM_ACTIVATE, WM_ERASEBKGND and WM_PAINT, then the script.
// When the script returns with the dialog still open, the user closes it (WM_COMMAND IDCANCEL);
// a procedure that ignores even that is ended with -1. Base units are 8 x 16, so one dialog
// unit is 2 x 2 pixels: a 160 x 160 template has a 320 x 320 client area.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/test/test_window.h"

namespace lekta::testplat {

using DialogScript = std::function<void(plat::Window* dialog)>;
// Queues a script for the next run_dialog (first in, first run). Without one, a dialog is
// closed as soon as it is shown.
void push_dialog_script(DialogScript script);
int pending_dialog_scripts();

struct DialogRun {
    std::u16string caption;
    plat::Window* dialog = nullptr;  // kept, with its controls and dc, until the reset
    plat::Window* owner = nullptr;
    intptr_t param = 0;
    intptr_t result = 0;
};
// Every dialog run since the last reset, in the order they were opened.
std::vector<DialogRun>& dialog_runs();

struct Message {
    uint32_t message = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
};
// Every message the platform sent to dialog procedures, in order.
std::vector<Message>& dialog_messages();

// The user's actions on an open dialog (nothing once it has ended).
void tap(plat::Window* dialog, int32_t x, int32_t y);
void press_key(plat::Window* dialog, uint32_t vk);
// A key that types: WM_KEYDOWN with its key code (0 for none), then WM_CHAR.
void type_char(plat::Window* dialog, char16_t c, uint32_t vk = 0);
// Return with the client area focused: WM_KEYDOWN when the procedure wants it, else IDOK.
void press_return(plat::Window* dialog);
// The client area gets the focus, by Tab or otherwise.
void focus_client(plat::Window* dialog, bool by_tab);
// The procedure's WM_COMMAND, as a button, the Done button or a menu would send it.
void send_command(plat::Window* dialog, uint16_t id, uint16_t code = plat::BN_CLICKED);
// A click on a control: an auto radio button is checked first (and the others unchecked), a
// check box flips; then BN_CLICKED.
void click(plat::Window* dialog, uint16_t id);
// Picks an item of a list or combo box and notifies LBN_SELCHANGE.
void choose_item(plat::Window* dialog, uint16_t id, int32_t index);
// Types text into an edit box at its selection (within its limit), then EN_CHANGE.
void type_text(plat::Window* dialog, uint16_t id, const char16_t* text);
// The user resizing the dialog: WM_SIZE, then a repaint (resize_client does the same).
void resize_dialog(plat::Window* dialog, int32_t width, int32_t height);
// The client area uncovered: WM_ERASEBKGND and WM_PAINT.
void repaint(plat::Window* dialog);

plat::DialogControl* find_control(plat::Window* dialog, uint16_t id);

// Clears the scripts and runs (called by reset_windows).
void reset_dialogs();

}  // namespace lekta::testplat
