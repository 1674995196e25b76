#include "search/search_dialog.h"

#include <algorithm>
#include <array>

#include "platform/accessible.h"
#include "platform/tap_focus.h"
#include "search/keyboard.h"
#include "search/search.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/letter_code.h"

namespace lekta {
namespace {

constexpr int32_t FIRST_LETTER = 0x61;
constexpr int32_t LETTER_COUNT = 27;
constexpr char16_t UNICODE_ALEF = 0x5D0;
constexpr intptr_t RESULT_OK = 1;
constexpr intptr_t RESULT_CANCEL = 2;
constexpr uint32_t VK_BACK = 0x08;
constexpr uint32_t VK_SPACE = 0x20;

// What one run of the dialog keeps; given to run_dialog and read back from the dialog.
struct DialogState {
    plat::Font* edit_font = nullptr;
    plat::BaseUnits units;
    bool normalizing = false;  // our own change of the edit box is under way
    KeyCursor key;             // the keyboard's key under the focus
};

// The run's state; only called while the dialog runs with its state (the procedure checks).
DialogState& state(plat::Window* dialog) {
    return *static_cast<DialogState*>(plat::dialog_data(dialog));
}

bool is_override(char16_t c) {
    return c == RIGHT_TO_LEFT_OVERRIDE;
}

// Keeps exactly one override mark, at the start, whatever the user typed or deleted; the
// selection stays on the same characters.
void keep_override_first(plat::Window* dialog) {
    const std::u16string text = plat::control_text(dialog, ID_SEARCH_EDIT);
    if (!text.empty() && is_override(text[0]) &&
        std::none_of(text.begin() + 1, text.end(), is_override))
        return;
    const plat::TextSelection sel = plat::text_selection(dialog, ID_SEARCH_EDIT);
    auto moved = [&text](int32_t position) {
        const auto end = text.begin() + std::clamp<int32_t>(position, 0, int32_t(text.size()));
        return position - static_cast<int32_t>(std::count_if(text.begin(), end, is_override)) + 1;
    };
    std::u16string fixed(1, RIGHT_TO_LEFT_OVERRIDE);
    std::copy_if(text.begin(), text.end(), std::back_inserter(fixed),
                 [](char16_t c) { return !is_override(c); });
    state(dialog).normalizing = true;
    plat::set_control_text(dialog, ID_SEARCH_EDIT, fixed.c_str());
    plat::select_text(dialog, ID_SEARCH_EDIT, moved(sel.start), moved(sel.end));
    state(dialog).normalizing = false;
}

// Latin keys typed on a keyboard stand for the letters of the letter code (j for yod, s for
// ayin): the box shows the Hebrew letters they stand for, as the on-screen keys type them.
void show_typed_letters(plat::Window* dialog) {
    const int32_t base = g_settings.font_spec.font_ascii_base;
    if (base == FIRST_LETTER) return;
    std::u16string text = plat::control_text(dialog, ID_SEARCH_EDIT);
    bool changed = false;
    for (char16_t& c : text) {
        if (c >= FIRST_LETTER && c < FIRST_LETTER + LETTER_COUNT) {
            c = static_cast<char16_t>(base + (c - FIRST_LETTER));
            changed = true;
        }
    }
    if (!changed) return;
    // One character for one: the selection stays where it was.
    const plat::TextSelection sel = plat::text_selection(dialog, ID_SEARCH_EDIT);
    state(dialog).normalizing = true;
    plat::set_control_text(dialog, ID_SEARCH_EDIT, text.c_str());
    plat::select_text(dialog, ID_SEARCH_EDIT, sel.start, sel.end);
    state(dialog).normalizing = false;
}

void close_dialog(plat::Window* dialog, intptr_t result) {
    // No input panel to force down on a desktop: ending the dialog is all.
    plat::end_dialog(dialog, result);
}

void on_init(plat::Window* dialog) {
    const auto string = search_string();
    int32_t converted = 0;
    const char16_t* run =
        to_display_run(string.data(), static_cast<int32_t>(string.size()), true, &converted);
    const std::u16string shown = run ? std::u16string(run, static_cast<size_t>(converted)) : u"";
    state(dialog).units = plat::dialog_base_units();

    const FontSpec& font_spec = g_reader.view ? g_reader.view->font_spec : g_settings.font_spec;
    plat::FontDesc desc;
    std::copy(std::begin(font_spec.face_name), std::end(font_spec.face_name), desc.face);
    desc.face[std::size(desc.face) - 1] = 0;
    desc.height = font_spec.font_size;
    state(dialog).edit_font = plat::create_font(desc);
    if (state(dialog).edit_font)
        plat::set_control_font(dialog, ID_SEARCH_EDIT, state(dialog).edit_font);

    // The override mark takes one place of its own.
    plat::limit_text(dialog, ID_SEARCH_EDIT, SEARCH_EDIT_LIMIT + 1);
    state(dialog).normalizing = true;
    plat::set_control_text(dialog, ID_SEARCH_EDIT, box_text_from_shown(shown).c_str());
    state(dialog).normalizing = false;
    // OK outside the client area: a Done button beside it, so the keyboard keeps its room.
    plat::init_full_screen_dialog(dialog, 0);
    // Keys tapped on the picture type into the edit box, its selection kept.
    plat::set_tap_keeps_focus(dialog, true);
    plat::set_focus(dialog, ID_SEARCH_EDIT);
    plat::select_text(dialog, ID_SEARCH_EDIT, 0, -1);
}

// Backspace on the keyboard: the letter before the caret (the last one typed) or the selection
// goes; the override mark stays.
void delete_last(plat::Window* dialog) {
    plat::TextSelection sel = plat::text_selection(dialog, ID_SEARCH_EDIT);
    if (sel.start == sel.end) {
        if (sel.start <= 1) return;
        sel.start -= 1;
    }
    plat::select_text(dialog, ID_SEARCH_EDIT, std::max(1, sel.start), std::max(1, sel.end));
    plat::replace_selection(dialog, ID_SEARCH_EDIT, u"");
    keep_override_first(dialog);
}

void show_key(plat::Window* dialog) {
    plat::set_focus_rect(dialog, key_rect(state(dialog).units, state(dialog).key));
    plat::accessible_changed(dialog, plat::AccessibleChange::focus, key_node(state(dialog).key));
}

// The keys of the keyboard while it has the focus: the arrows move, Space presses.
bool on_keyboard_key(plat::Window* dialog, uint32_t vk) {
    switch (vk) {
        case plat::VK_LEFT:
        case plat::VK_RIGHT:
        case plat::VK_UP:
        case plat::VK_DOWN:
            state(dialog).key = move_key_cursor(state(dialog).key, vk);
            show_key(dialog);
            return true;
        case VK_SPACE:
            type_key(dialog, key_of(state(dialog).key));
            return true;
        case VK_BACK:
            delete_last(dialog);
            return true;
        default:
            return false;
    }
}

void accessible_keys(plat::Window* dialog, std::vector<plat::AccessibleNode>& nodes) {
    keyboard_accessible_nodes(state(dialog).units, state(dialog).key, nodes);
}

void on_ok(plat::Window* dialog) {
    std::u16string shown = shown_from_box_text(plat::control_text(dialog, ID_SEARCH_EDIT));
    if (shown.size() > static_cast<size_t>(SEARCH_EDIT_LIMIT))
        shown.resize(static_cast<size_t>(SEARCH_EDIT_LIMIT));
    read_search_string(shown);
    if (search_string().empty() || search_next(dialog)) {
        close_dialog(dialog, RESULT_OK);
        return;
    }
    // "Not Found!" has been shown: the next key typed replaces the text.
    plat::set_focus(dialog, ID_SEARCH_EDIT);
    plat::select_text(dialog, ID_SEARCH_EDIT, 0, -1);
}

}  // namespace

const plat::DialogTemplate& search_dialog_template() {
    using plat::ControlKind;
    static const std::array<plat::ControlTemplate, 3> controls = {{
        {plat::ID_NONE, ControlKind::static_text, u"Search", 7, 7, 112, 8, plat::CS_CENTER,
         nullptr},
        {ID_SEARCH_EDIT, ControlKind::edit, u"", 7, 21, 112, 43,
         plat::CS_RIGHT | plat::CS_AUTOHSCROLL | plat::CS_BORDER | plat::CS_TABSTOP, nullptr},
        {plat::ID_NONE, ControlKind::picture, nullptr, KEYBOARD_X_UNITS, KEYBOARD_Y_UNITS, 0, 0, 0,
         &keyboard_image()},
    }};
    static const plat::DialogTemplate tmpl{u"Lekta", 126, 131, controls, false, true};
    return tmpl;
}

intptr_t run_search_dialog(plat::Window* owner) {
    DialogState s;
    return plat::run_dialog(owner, search_dialog_template(), search_dialog_proc, 0, &s);
}

intptr_t search_dialog_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam,
                            intptr_t lparam) {
    if (!plat::dialog_data(dialog)) return 0;
    switch (message) {
        case plat::WM_INITDIALOG:
            on_init(dialog);
            state(dialog).key = KeyCursor{};
            plat::set_focus_rect(dialog, key_rect(state(dialog).units, state(dialog).key));
            plat::set_accessible_source(dialog, accessible_keys);
            return 1;
        case plat::WM_LBUTTONDOWN: {
            const plat::MessagePoint point = plat::tap_point(lparam);
            const auto key = key_at(state(dialog).units, point.x, point.y);
            if (key) type_key(dialog, *key);
            return 0;
        }
        case plat::WM_SETFOCUS:
            show_key(dialog);
            return 0;
        case plat::WM_KEYDOWN:
            return on_keyboard_key(dialog, static_cast<uint32_t>(wparam)) ? 0 : 1;
        case plat::WM_COMMAND:
            switch (plat::command_id(wparam)) {
                case plat::IDOK:
                    on_ok(dialog);
                    return 1;
                case plat::IDCANCEL:
                    close_dialog(dialog, RESULT_CANCEL);
                    return 1;
                case ID_SEARCH_EDIT:
                    if (plat::notify_code(wparam) == plat::EN_CHANGE &&
                        !state(dialog).normalizing) {
                        show_typed_letters(dialog);
                        keep_override_first(dialog);
                    }
                    return 1;
                default:
                    return 0;
            }
        case plat::WM_ACTIVATE:
            // No input panel and no task bar of our own to manage on a desktop.
            return 0;
        case plat::WM_DESTROY:
            plat::delete_font(state(dialog).edit_font);
            state(dialog).edit_font = nullptr;
            return 0;
        default:
            return 0;
    }
}

void type_key(plat::Window* dialog, int key) {
    if (!plat::dialog_data(dialog)) return;
    if (!plat::has_control(dialog, ID_SEARCH_EDIT) || key < SPACE_KEY || key > LAST_KEY) return;
    const int32_t base = g_settings.font_spec.font_ascii_base;
    const char16_t typed[2] = {
        key == SPACE_KEY ? u' ' : static_cast<char16_t>(base + (key_letter(key) - FIRST_LETTER)),
        0};
    // Never in front of the override mark.
    const plat::TextSelection sel = plat::text_selection(dialog, ID_SEARCH_EDIT);
    if (sel.start == 0) plat::select_text(dialog, ID_SEARCH_EDIT, 1, std::max(1, sel.end));
    plat::replace_selection(dialog, ID_SEARCH_EDIT, typed);
    keep_override_first(dialog);
}

void read_search_string(std::u16string_view shown) {
    const int32_t base = g_settings.font_spec.font_ascii_base;
    uint8_t* out = g_settings.search_string;
    size_t n = 0;
    for (size_t i = 0; i < shown.size() && n < static_cast<size_t>(SEARCH_EDIT_LIMIT); ++i) {
        const char16_t u = shown[i];
        if (u == u' ' && i + 1 < shown.size() && shown[i + 1] == u' ') continue;
        uint8_t code;
        if (u >= base && u < base + LETTER_COUNT)
            code = static_cast<uint8_t>(u - base + FIRST_LETTER);
        else if (u >= UNICODE_ALEF && u < UNICODE_ALEF + LETTER_COUNT)
            code = static_cast<uint8_t>(u - UNICODE_ALEF + FIRST_LETTER);  // a Hebrew keyboard
        else
            code = static_cast<uint8_t>(u & 0xFF);
        out[n++] = code;
    }
    std::fill(out + n, out + SEARCH_STRING_CAPACITY, uint8_t{0});
}

std::u16string box_text_from_shown(std::u16string_view shown) {
    std::u16string box(shown);
    reverse_and_mirror(box.data(), static_cast<int32_t>(box.size()));
    box.insert(box.begin(), RIGHT_TO_LEFT_OVERRIDE);
    return box;
}

std::u16string shown_from_box_text(std::u16string_view box) {
    std::u16string shown;
    std::copy_if(box.begin(), box.end(), std::back_inserter(shown),
                 [](char16_t c) { return !is_override(c); });
    reverse_and_mirror(shown.data(), static_cast<int32_t>(shown.size()));
    return shown;
}

}  // namespace lekta
