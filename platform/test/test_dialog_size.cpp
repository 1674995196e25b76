#include "platform/dialog_size.h"
#include "platform/test/test_window.h"

namespace lekta::plat {

void set_dialog_client_size(Window* dialog, int32_t width, int32_t height) {
    if (dialog && dialog->kind == Window::Kind::dialog && dialog->alive)
        dialog->client = {0, 0, width, height};
}

}  // namespace lekta::plat
