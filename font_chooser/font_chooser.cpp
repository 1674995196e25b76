#include "font_chooser/font_chooser.h"

#include <algorithm>
#include <string>

#include "font_chooser/font_chooser_layout.h"
#include "font_chooser/font_chooser_template.h"
#include "font_chooser/font_coverage.h"
#include "font_chooser/font_families.h"
#include "font_chooser/font_sizes.h"
#include "platform/dialog.h"
#include "platform/dialog_size.h"

namespace lekta {

FontPreview g_font_preview;

namespace {

// One chooser at a time: the FontSpec it edits, the families it offers, the letters its preview
// shows and where.
FontSpec* g_font_spec = nullptr;
FontFamilyList g_families;
char16_t g_preview_letters[27] = {};
plat::Rect g_preview_box;

constexpr plat::Colorref PREVIEW_FRAME = 0x808080;
constexpr plat::Colorref PREVIEW_GROUND = 0xFFFFFF;
constexpr int32_t PREVIEW_MARGIN = 4;
constexpr int32_t LIST_PADDING = 16;  // a list item's margins and frame, beyond its text
constexpr int32_t WIDEST_DIALOG = 1000;

constexpr uint32_t FULL_SCREEN_FLAGS = plat::DIALOG_FULL_SCREEN;

void drop_preview_font() {
    plat::delete_font(g_font_preview.font);
    g_font_preview.font = nullptr;
}

// The letters in the preview font, drawn as the view draws a line: left to right exactly as
// given, so that the highest letter, given first, stands at the left and the alphabet reads
// from the right. One line, right-aligned, whatever the box's height.
void paint_preview(plat::Window* dialog) {
    plat::Dc* dc = plat::get_dc(dialog);
    if (!dc) return;
    const plat::Rect box = g_preview_box;
    if (box.right > box.left && box.bottom > box.top) {
        plat::draw_rectangle(dc, box, PREVIEW_FRAME, PREVIEW_GROUND);
        const plat::Rect inner{box.left + PREVIEW_MARGIN, box.top + 1, box.right - PREVIEW_MARGIN,
                               box.bottom - 1};
        plat::Font* previous = plat::select_font(dc, g_font_preview.font);
        plat::set_text_color(dc, 0);
        plat::set_bk_transparent(dc, true);
        plat::draw_text(
            dc, g_preview_letters, 27, inner,
            plat::DT_RIGHT | plat::DT_VCENTER | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
        plat::select_font(dc, previous);
    }
    plat::release_dc(dialog, dc);
}

// The base the buttons show: 97 when neither is checked (only a stored 97 leaves them so).
int32_t checked_base(plat::Window* dialog) {
    if (plat::control_checked(dialog, IDC_BASE_224)) return BASE_HIGH_HEBREW;
    if (plat::control_checked(dialog, IDC_BASE_5D0)) return BASE_UNICODE_HEBREW;
    return BASE_AS_IS;
}

// Selects the family named face: its own item, else the first that begins with it.
void select_family(plat::Window* dialog, const char16_t* face) {
    const std::u16string wanted(face);
    const int32_t count = plat::list_count(dialog, IDC_FONT_FAMILIES);
    for (int32_t i = 0; i < count; ++i) {
        if (plat::list_text(dialog, IDC_FONT_FAMILIES, i) == wanted) {
            plat::list_set_selection(dialog, IDC_FONT_FAMILIES, i);
            return;
        }
    }
    plat::list_select_prefix(dialog, IDC_FONT_FAMILIES, -1, face);
}

// Lists the families that draw the letters at base, the preview's face selected when listed.
// A button whose base no family draws is disabled.
void fill_families(plat::Window* dialog, int32_t base) {
    plat::list_reset(dialog, IDC_FONT_FAMILIES);
    bool fits_224 = false, fits_5d0 = false;
    for (int32_t i = 0; i < g_families.count; ++i) {
        const char16_t* face = family_at(g_families, i).face_name;
        fits_224 = fits_224 || family_fits_base(face, BASE_HIGH_HEBREW);
        fits_5d0 = fits_5d0 || family_fits_base(face, BASE_UNICODE_HEBREW);
        if (family_fits_base(face, base)) plat::list_add(dialog, IDC_FONT_FAMILIES, face);
    }
    plat::enable_control(dialog, IDC_BASE_224, fits_224 || base == BASE_HIGH_HEBREW);
    plat::enable_control(dialog, IDC_BASE_5D0, fits_5d0 || base == BASE_UNICODE_HEBREW);
    select_family(dialog, g_font_preview.face_name);
}

// Wide enough for the longest family name beside the buttons, as the layout shares the width.
void fit_to_families(plat::Window* dialog) {
    plat::Dc* dc = plat::get_dc(dialog);
    if (!dc) return;
    plat::Font* font = plat::create_font(plat::control_font(dialog, IDC_FONT_FAMILIES));
    plat::Font* previous = plat::select_font(dc, font);
    int32_t widest = 0;
    const int32_t count = plat::list_count(dialog, IDC_FONT_FAMILIES);
    for (int32_t i = 0; i < count; ++i) {
        const std::u16string name = plat::list_text(dialog, IDC_FONT_FAMILIES, i);
        widest =
            std::max(widest, plat::text_extent(dc, name.c_str(), int32_t(name.size()), -1).width);
    }
    plat::select_font(dc, previous);
    plat::delete_font(font);
    plat::release_dc(dialog, dc);
    // The list is (2 (w - 14)) / 3 - 7 wide for a client w wide.
    const int32_t list = widest + plat::system_metric(plat::SM_CXVSCROLL) + LIST_PADDING;
    const int32_t width = std::min(WIDEST_DIALOG, (3 * (list + 7) + 1) / 2 + 14);
    const plat::Rect client = plat::client_rect(dialog);
    if (width > client.right - client.left)
        plat::set_dialog_client_size(dialog, width, client.bottom - client.top);
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
    fill_families(dialog, checked_base(dialog));
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
    // The preview starts from what the text is drawn with, so that Done with no change keeps it.
    if (g_font_spec->face_name[0])
        std::copy_n(g_font_spec->face_name, 32, g_font_preview.face_name);
    if (g_font_spec->font_size != 0) g_font_preview.height = g_font_spec->font_size;
    fill_preview(dialog, g_font_spec->font_ascii_base);
    check_base(dialog, g_font_spec->font_ascii_base);
    enumerate_families(g_families);
    fill_lists(dialog);
    fit_to_families(dialog);
    apply_font_choice(dialog, 0);
    plat::set_focus(dialog, IDC_FONT_FAMILIES);
    return 0;  // the focus is set
}

// A base button: the list offers that base's families; when the chosen face is not among them,
// the first that is takes its place, so that the preview never shows boxes.
void choose_base(plat::Window* dialog, int32_t base) {
    fill_preview(dialog, base);
    fill_families(dialog, base);
    if (plat::list_selection(dialog, IDC_FONT_FAMILIES) < 0 &&
        plat::list_count(dialog, IDC_FONT_FAMILIES) > 0)
        plat::list_set_selection(dialog, IDC_FONT_FAMILIES, 0);
    apply_font_choice(dialog, 0);
}

void layout(plat::Window* dialog, int32_t width, int32_t height) {
    const FontChooserLayout places = font_chooser_layout(width, height);
    plat::move_control(dialog, IDC_FONT_FAMILIES, places.families);
    plat::move_control(dialog, IDC_FONT_SIZES, places.sizes);
    g_preview_box = places.preview;
    plat::invalidate(dialog, true);
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
            choose_base(dialog, BASE_AS_IS);
            break;
        case IDC_BASE_224:
            choose_base(dialog, BASE_HIGH_HEBREW);
            break;
        case IDC_BASE_5D0:
            choose_base(dialog, BASE_UNICODE_HEBREW);
            break;
        default:
            break;
    }
}

}  // namespace

void fill_preview(plat::Window* dialog, int32_t base) {
    for (int i = 0; i < 27; ++i)
        g_preview_letters[i] = static_cast<char16_t>(base + 26 - i);
    plat::invalidate(dialog, false);
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
    drop_preview_font();

    if ((mode & CHOICE_SELECTION) && preview.face_name[0]) {
        // A family that covers Hebrew is drawn at the Unicode Hebrew letters, when it draws
        // them.
        const FontFamilyEntry* entry = find_family(g_families, preview.face_name);
        if (entry && entry->charset == plat::HEBREW_CHARSET &&
            !plat::control_checked(dialog, IDC_BASE_5D0) &&
            family_fits_base(entry->face_name, BASE_UNICODE_HEBREW)) {
            plat::check_control(dialog, IDC_BASE_224, false);
            plat::check_control(dialog, IDC_BASE_97, false);
            plat::check_control(dialog, IDC_BASE_5D0, true);
            fill_families(dialog, BASE_UNICODE_HEBREW);
            if (!(mode & CHOICE_COMMIT)) fill_preview(dialog, BASE_UNICODE_HEBREW);
        }
    }

    if (!(mode & CHOICE_COMMIT)) {
        // The font the view would make for body text from this choice.
        plat::FontDesc desc;
        std::copy_n(preview.face_name, 31, desc.face);
        desc.height = preview.height;
        preview.font = plat::create_font(desc);
        plat::invalidate(dialog, false);
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
            name_font_controls(dialog);
            return init_dialog(dialog, reinterpret_cast<FontSpec*>(lparam));
        case plat::WM_COMMAND:
            command(dialog, plat::command_id(wparam));
            return 1;
        case plat::WM_SIZE:
            layout(dialog, plat::client_size(lparam).x, plat::client_size(lparam).y);
            return 0;
        case plat::WM_PAINT:
            paint_preview(dialog);
            return 0;
        case plat::WM_DESTROY:
            drop_preview_font();
            // Also when the dialog ended some other way than OK or Cancel.
            free_families(g_families);
            g_font_spec = nullptr;
            return 0;
        default:
            // A desktop has no task bar to keep hidden while the dialog is active.
            return 0;
    }
}

void name_font_controls(plat::Window* dialog) {
    // The radio buttons show only a number: a screen reader says what they choose.
    plat::set_control_name(dialog, IDC_FONT_FAMILIES, u"Font face");
    plat::set_control_name(dialog, IDC_FONT_SIZES, u"Font size");
    plat::set_control_name(dialog, IDC_FONT_PREVIEW, u"Preview");
    plat::set_control_name(dialog, IDC_BASE_224, u"Hebrew letters at 224, for older fonts");
    plat::set_control_name(dialog, IDC_BASE_5D0, u"Hebrew letters at Unicode 5D0");
}

intptr_t choose_font(plat::Window* owner, FontSpec* font_spec) {
    return plat::run_dialog(owner, FONT_DIALOG, font_chooser_proc,
                            reinterpret_cast<intptr_t>(font_spec));
}

}  // namespace lekta
