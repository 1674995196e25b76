// The font chooser: a modal dialog in which the user picks the face, the size and the character
// base of the lesson text. It previews the choice and, on OK, writes it into the FontSpec it was
// given; the caller applies it to the view.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "state/settings.h"

namespace lekta {

constexpr int32_t BASE_UNICODE_HEBREW = 0x5D0;  // the Unicode Hebrew letters
constexpr int32_t BASE_HIGH_HEBREW = 224;       // single-byte Hebrew fonts
constexpr int32_t BASE_AS_IS = 97;              // the letter codes themselves

constexpr intptr_t FONT_CHOSEN = 1;     // OK
constexpr intptr_t FONT_CANCELLED = 2;  // Cancel

// Runs the dialog over owner on font_spec; FONT_CHOSEN after OK (font_spec changed), FONT_CANCELLED
// after Cancel (font_spec as it was, but for a base of 0, which reads as Unicode Hebrew), -1 when
// the dialog could not be made.
intptr_t choose_font(plat::Window* owner, FontSpec* font_spec);

intptr_t font_chooser_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                           intptr_t lparam);

// The preview shows the 27 letters at base, highest first, drawn left to right as the view
// draws a line: the alphabet reads from the right.
void fill_preview(plat::Window* dialog, int32_t base);

// Bits of apply_font_choice's mode; without either it only previews.
constexpr uint32_t CHOICE_COMMIT = 0x1;     // write the choice into the FontSpec
constexpr uint32_t CHOICE_SELECTION = 0x2;  // a list's selection changed
void apply_font_choice(plat::Window* dialog, uint32_t mode);
// Names each control by what it chooses, for screen readers.
void name_font_controls(plat::Window* dialog);

// What the preview shows, kept for the whole run so that the next opening starts from it: only
// the height and the face are ever set.
struct FontPreview {
    char16_t face_name[32] = {};
    int32_t height = 0;
    plat::Font* font = nullptr;  // the preview's font while the dialog is open
};
extern FontPreview g_font_preview;

}  // namespace lekta
