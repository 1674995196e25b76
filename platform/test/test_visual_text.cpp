// The test backend's controls show text as given: the text is kept as it came.
#include "platform/visual_text.h"

namespace lekta::plat {

void set_control_visual_text(Window* dialog, uint16_t id, const char16_t* text) {
    set_control_text(dialog, id, text);
}

}  // namespace lekta::plat
