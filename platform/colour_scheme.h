// The desktop's colour scheme, and the reader's widgets made dark when the reader is.
#pragma once

namespace lekta::plat {

// Whether the desktop asks for dark colours (its colour scheme, or a dark window palette).
bool desktop_prefers_dark();
// Dark widgets (bar, menus, dialogs, scroll bar) on a light desktop, or the desktop's own.
void use_dark_widgets(bool dark);

}  // namespace lekta::plat
