#include "platform/tap_focus.h"

#include <QWidget>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

void set_tap_keeps_focus(Window* dialog, bool keep) {
    if (!dialog || dialog->kind != Window::Kind::dialog) return;
    dialog->tap_keeps_focus = keep;
    // Qt itself hands the focus to a clicked widget that accepts it; an edit box losing the
    // focus loses its selection too. Tab still reaches the client area, for its keys.
    if (dialog->client) dialog->client->setFocusPolicy(keep ? Qt::TabFocus : Qt::StrongFocus);
}

}  // namespace lekta::plat
