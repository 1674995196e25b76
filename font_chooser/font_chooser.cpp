#include "font_chooser/font_chooser.h"

#include <algorithm>
#include <string>

#include "font_chooser/font_chooser_layout.h"
#include "font_chooser/font_chooser_template.h"
#include "font_chooser/font_families.h"
#include "font_chooser/font_sizes.h"
#include "platform/dialog.h"
#include "platform/visual_text.h"

namespace lekta {

FontPreview g_font_preview;

namespace {

// One chooser at a time: the FontSpec it edits and the families it offers.
FontSpec* g_font_spec = nullptr;
FontFamilyList g_families;

constexpr uint32_t FULL_SCREEN_FLAGS = plat::DIALOG_FULL_SCREEN;

void drop_preview_font(plat::Window* dialog) {
    if (!g_font_preview.font) return;
    // The box lets go of the font before it is deleted.
    plat::set_control_font(dialog, IDC_FONT_PREVIEW, nullptr);
    plat::delete_font(g_font_preview.font);
    g_font_preview.font = nullptr;
}

void check_base(plat::Window* dialog, int32_t base) {
    if (base == BASE_AS_IS)
        plat::check_control(dialog, IDC_BASE_97, true);
    else if (base == BASE_HIGH_HEBREW)
        plat::check_control(dialog, IDC_BASE_224, true);
    else if (base == BASE_UNICODE_HEBREW)
        plat::check_control(dialog, IDC_BASE_5D0, true);
}

void fill_lists(plat::Window* dialog) {
    plat::list_reset(dialog, IDC_FONT_FAMILIES);
    for (int32_t i = 0; i < g_families.count; ++i)
        plat::list_add(dialog, IDC_FONT_FAMILIES, family_at(g_families, i).face_name);
    plat::list_select_prefix(dialog, IDC_FONT_FAMILIES, -1, g_font_spec->face_name);

    plat::list_reset(dialog, IDC_FONT_SIZES);
    for (int32_t size : FONT_SIZES)
        plat::list_add(dialog, IDC_FONT_SIZES, size_text(size).c_str());
    // Only the size itself is selected: by its leading digits a stored 5 would pick 52.
    if (g_font_spec->font_size != 0)
        plat::list_set_selection(dialog, IDC_FONT_SIZES, size_index(g_font_spec->font_size));
}

intptr_t init_dialog(plat::Window* dialog, FontSpec* font_spec) {
    plat::init_full_screen_dialog(dialog, FULL_SCREEN_FLAGS);
    free_families(g_families);
    g_font_spec = font_spec;
    if (!g_font_spec) {
        plat::end_dialog(dialog, FONT_CANCELLED);
        return 0;
    }
    if (g_font_spec->font_ascii_base == 0) g_font_spec->font_ascii_base = BASE_UNICODE_HEBREW;
    fill_preview(dialog, g_font_spec->font_ascii_base);
    check_base(dialog, g_font_spec->font_ascii_base);
    enumerate_families(g_families);
    fill_lists(dialog);
    plat::set_focus(dialog, IDC_FONT_FAMILIES);
    return 0;  // the focus is set
}

void layout(plat::Window* dialog, int32_t width, int32_t height) {
    const FontChooserLayout places = font_chooser_layout(width, height);
    plat::move_control(dialog, IDC_FONT_FAMILIES, places.families);
    plat::move_control(dialog, IDC_FONT_SIZES, places.sizes);
    plat::move_control(dialog, IDC_FONT_PREVIEW, places.preview);
    plat::move_control(dialog, IDC_BASE_97, places.base_97);
    plat::move_control(dialog, IDC_BASE_224, places.base_224);
    plat::move_control(dialog, IDC_BASE_5D0, places.base_5d0);
}

void command(plat::Window* dialog, uint16_t id) {
    switch (id) {
        case plat::IDOK:
            apply_font_choice(dialog, CHOICE_COMMIT);
            free_families(g_families);
            plat::end_dialog(dialog, FONT_CHOSEN);
            break;
        case plat::IDCANCEL:
            free_families(g_families);
            plat::end_dialog(dialog, FONT_CANCELLED);
            break;
        case IDC_FONT_FAMILIES:
        case IDC_FONT_SIZES:
            apply_font_choice(dialog, CHOICE_SELECTION);
            break;
        case IDC_BASE_97:
            fill_preview(dialog, BASE_AS_IS);
            apply_font_choice(dialog, 0);
            break;
        case IDC_BASE_224:
            fill_preview(dialog, BASE_HIGH_HEBREW);
            apply_font_choice(dialog, 0);
            break;
        case IDC_BASE_5D0:
            fill_preview(dialog, BASE_UNICODE_HEBREW);
            apply_font_choice(dialog, 0);
            break;
        default:
            break;
    }
}

}  // namespace

void fill_preview(plat::Window* dialog, int32_t base) {
    char16_t text[28] = {};
    for (int i = 0; i < 27; ++i)
        text[i] = static_cast<char16_t>(base + 26 - i);
    plat::set_control_visual_text(dialog, IDC_FONT_PREVIEW, text);
}

void apply_font_choice(plat::Window* dialog, uint32_t mode) {
    FontPreview& preview = g_font_preview;
    const int32_t family = plat::list_selection(dialog, IDC_FONT_FAMILIES);
    if (family >= 0) {
        const std::u16string face = plat::list_text(dialog, IDC_FONT_FAMILIES, family);
        std::fill(std::begin(preview.face_name), std::end(preview.face_name), u'\0');
        std::copy_n(face.begin(), std::min<size_t>(face.size(), 31), preview.face_name);
    }
    const int32_t size = plat::list_selection(dialog, IDC_FONT_SIZES);
    if (size >= 0) preview.height = parse_size(plat::list_text(dialog, IDC_FONT_SIZES, size));
    drop_preview_font(dialog);

    if ((mode & CHOICE_SELECTION) && preview.face_name[0]) {
        // A family that covers Hebrew is drawn at the Unicode Hebrew letters.
        const FontFamilyEntry* entry = find_family(g_families, preview.face_name);
        if (entry && entry->charset == plat::HEBREW_CHARSET &&
            !plat::control_checked(dialog, IDC_BASE_5D0)) {
            plat::check_control(dialog, IDC_BASE_224, false);
            plat::check_control(dialog, IDC_BASE_97, false);
            plat::check_control(dialog, IDC_BASE_5D0, true);
            if (!(mode & CHOICE_COMMIT)) fill_preview(dialog, BASE_UNICODE_HEBREW);
        }
    }

    if (!(mode & CHOICE_COMMIT)) {
        plat::FontDesc desc;
        std::copy_n(preview.face_name, 31, desc.face);
        desc.height = preview.height;
        preview.font = plat::create_font(desc);
        plat::set_control_font(dialog, IDC_FONT_PREVIEW, preview.font);
        return;
    }

    if (!g_font_spec) return;
    if (preview.height != 0) g_font_spec->font_size = preview.height;
    if (plat::control_checked(dialog, IDC_BASE_224))
        g_font_spec->font_ascii_base = BASE_HIGH_HEBREW;
    else if (plat::control_checked(dialog, IDC_BASE_97))
        g_font_spec->font_ascii_base = BASE_AS_IS;
    else if (plat::control_checked(dialog, IDC_BASE_5D0))
        g_font_spec->font_ascii_base = BASE_UNICODE_HEBREW;
    if (preview.face_name[0]) std::copy_n(preview.face_name, 32, g_font_spec->face_name);
}

intptr_t font_chooser_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                           intptr_t lparam) {
    switch (message) {
        case plat::WM_INITDIALOG:
            return init_dialog(dialog, reinterpret_cast<FontSpec*>(lparam));
        case plat::WM_COMMAND:
            command(dialog, plat::command_id(wparam));
            return 1;
        case plat::WM_SIZE:
            layout(dialog, plat::client_size(lparam).x, plat::client_size(lparam).y);
            return 0;
        case plat::WM_DESTROY:
            drop_preview_font(dialog);
            // Also when the dialog ended some other way than OK or Cancel.
            free_families(g_families);
            g_font_spec = nullptr;
            return 0;
        default:
            // A desktop has no task bar to keep hidden while the dialog is active.
            return 0;
    }
}

intptr_t choose_font(plat::Window* owner, FontSpec* font_spec) {
    return plat::run_dialog(owner, FONT_DIALOG, font_chooser_proc,
                            reinterpret_cast<intptr_t>(font_spec));
}

}  // namespace lekta
