// Qt's text controls order right-to-left letters themselves; a left-to-right override in front
// of the text makes them show it as given.
#include <string>

#include "platform/visual_text.h"

namespace lekta::plat {

void set_control_visual_text(Window* dialog, uint16_t id, const char16_t* text) {
    std::u16string shown = u"\u202D";
    if (text) shown += text;
    set_control_text(dialog, id, shown.c_str());
}

}  // namespace lekta::plat
