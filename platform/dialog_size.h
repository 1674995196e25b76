// Resizing a dialog from its procedure, for a dialog that fits itself to its texts.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lekta::plat {

// Gives the dialog's client area the size in pixels, its frame growing or shrinking round it.
// Called during WM_INITDIALOG, the new size is the one the following WM_SIZE reports.
void set_dialog_client_size(Window* dialog, int32_t width, int32_t height);

}  // namespace lekta::plat
