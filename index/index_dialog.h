// The "Choose Section" dialog: the section index with the bookmarks in front, as a tree that
// opens and closes by taps; a tap on a section closes it with the section's lesson key.
#pragma once

#include <cstdint>

#include "index/index_tree.h"
#include "platform/dialog.h"

namespace lekta {

// The chosen section's lesson key; the current key after OK; 0 after Cancel. *chose_bookmark
// (when given) tells whether the choice was an entry of the bookmarks branch.
uint16_t open_index_dialog(plat::Window* owner, uint16_t current_key, const FontSpec& font_spec,
                           bool* chose_bookmark = nullptr);

// The dialog's procedure: it reads its state from the record open_index_dialog passes, and
// does nothing without one.
intptr_t index_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                           intptr_t lparam);

// The open dialog's tree (null when none is open), for tests.
IndexTree* index_dialog_tree();

// The dialog's template: 160 x 160 dialog units, no controls, a vertical scroll bar.
const plat::DialogTemplate& index_dialog_template();

}  // namespace lekta
