// The view's font cache: one font per font key, made when a style first needs it.
#pragma once

#include "view/text_view.h"

namespace lekta {

// The platform font description for a font key at the FontSpec's size.
plat::FontDesc font_for_key(const FontSpec& font_spec, uint8_t key);
// Deletes every cached font; the nodes stay (with null fonts) unless free_nodes is set.
void delete_view_fonts(TextView* view, bool free_nodes);

}  // namespace lekta
