#include "platform/dialog_size.h"

#include <QWidget>

#include "platform/qt/qt_internal.h"

namespace lekta::plat {

void set_dialog_client_size(Window* dialog, int32_t width, int32_t height) {
    if (!qtplat::alive_client(dialog) || dialog->kind != Window::Kind::dialog || !dialog->top ||
        !dialog->client)
        return;
    // The frame keeps what it adds round the client area (a Done strip, a scroll bar).
    const QSize client = dialog->client->size();
    dialog->top->resize(dialog->top->width() + width - client.width(),
                        dialog->top->height() + height - client.height());
}

}  // namespace lekta::plat
