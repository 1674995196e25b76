#include "about/about_box.h"

#include <algorithm>
#include <string>

#include "about/about_template.h"
#include "platform/dialog.h"
#include "platform/dialog_size.h"
#include "platform/open_url.h"

namespace lekta {
namespace {

constexpr plat::Colorref LINK_BLUE = 0xFF0000;  // 0x00BBGGRR
constexpr plat::Colorref WHITE = 0xFFFFFF;
constexpr size_t LINK_TEXT_LIMIT = 100;

// The link's font: made when the box opens and deleted when it closes; one box at a time.
plat::Font* g_link_font = nullptr;

std::u16string link_text(plat::Window* dialog) {
    std::u16string text = plat::control_text(dialog, ID_ABOUT_LINK);
    if (text.size() > LINK_TEXT_LIMIT) text.resize(LINK_TEXT_LIMIT);
    return text;
}

// The button's own font, underlined and heavy; a 10-point Tahoma where it names no face or size.
plat::FontDesc link_font_desc(plat::Window* dialog) {
    plat::FontDesc desc = plat::control_font(dialog, ID_ABOUT_LINK);
    if (!desc.face[0]) std::u16string_view(u"Tahoma").copy(desc.face, 6);
    if (desc.height == 0) desc.height = -(plat::logical_pixels_y() * 10) / 72;
    desc.weight = 800;
    desc.underline = true;
    return desc;
}

// Makes the link font and fits the button to its text; without the font the button keeps its
// own font and size.
void make_link(plat::Window* dialog) {
    plat::delete_font(g_link_font);
    g_link_font = plat::create_font(link_font_desc(dialog));
    if (!g_link_font) return;
    plat::Dc* dc = plat::get_dc(dialog);
    plat::Font* previous = plat::select_font(dc, g_link_font);
    const std::u16string text = link_text(dialog);
    plat::set_control_font(dialog, ID_ABOUT_LINK, g_link_font);
    const int32_t width = plat::text_extent(dc, text.data(), int32_t(text.size()), 0).width;
    const int32_t height = plat::text_metrics(dc).height;
    const plat::Rect place = plat::control_rect(dialog, ID_ABOUT_LINK);
    plat::move_control(
        dialog, ID_ABOUT_LINK,
        {place.left, place.top, place.left + width + 2 * plat::system_metric(plat::SM_CXEDGE),
         place.top + height + 2 * plat::system_metric(plat::SM_CYEDGE)});
    plat::select_font(dc, previous);
    plat::release_dc(dialog, dc);
}

// The width of a control's text in the control's font, and the height of a line of it.
struct TextSize {
    int32_t width = 0, height = 0;
};
TextSize measure_control_text(plat::Window* dialog, uint16_t id) {
    plat::Font* font = plat::create_font(plat::control_font(dialog, id));
    plat::Dc* dc = plat::get_dc(dialog);
    plat::Font* previous = plat::select_font(dc, font);
    const std::u16string text = plat::control_text(dialog, id);
    const TextSize size{plat::text_extent(dc, text.data(), int32_t(text.size()), 0).width,
                        plat::text_metrics(dc).height};
    plat::select_font(dc, previous);
    plat::release_dc(dialog, dc);
    plat::delete_font(font);
    return size;
}

// The template's places suit a narrow dialog font; most desktop fonts run wider. A text
// that would be cut off gets the width it needs, the picture moves clear of the texts, and the
// box grows to hold the picture and the link with the margin the texts keep on the left.
void fit_to_texts(plat::Window* dialog) {
    const int32_t edge = 2 * plat::system_metric(plat::SM_CXEDGE);
    int32_t texts_right = 0;
    for (uint16_t id : {ID_ABOUT_NAME, ID_ABOUT_VERSION, ID_ABOUT_NOTICE}) {
        plat::Rect place = plat::control_rect(dialog, id);
        const int32_t needed = measure_control_text(dialog, id).width + edge;
        if (place.right - place.left < needed) {
            place.right = place.left + needed;
            plat::move_control(dialog, id, place);
        }
        texts_right = std::max(texts_right, place.right);
    }
    plat::Rect picture = plat::control_rect(dialog, ID_ABOUT_PICTURE);
    const int32_t margin = plat::control_rect(dialog, ID_ABOUT_NAME).left;
    if (picture.left < texts_right + margin / 2) {
        const int32_t shift = texts_right + margin / 2 - picture.left;
        picture.left += shift;
        picture.right += shift;
        plat::move_control(dialog, ID_ABOUT_PICTURE, picture);
    }
    const plat::Rect client = plat::client_rect(dialog);
    const int32_t width = std::max({client.right, picture.right + margin,
                                    plat::control_rect(dialog, ID_ABOUT_LINK).right + margin});
    if (width != client.right) plat::set_dialog_client_size(dialog, width, client.bottom);
}

void draw_link(plat::Window* dialog, const plat::DrawItem& item) {
    const std::u16string text = link_text(dialog);
    plat::Dc* dc = item.dc;
    plat::Font* previous = g_link_font ? plat::select_font(dc, g_link_font) : nullptr;
    plat::set_text_color(dc, LINK_BLUE);
    plat::set_bk_transparent(dc, true);
    plat::set_bk_color(dc, WHITE);
    const plat::Rect rect = item.rect;
    plat::draw_text(
        dc, text.data(), int32_t(text.size()),
        {rect.left + plat::system_metric(plat::SM_CXEDGE) / 2, rect.top, rect.right, rect.bottom},
        plat::DT_LEFT | plat::DT_SINGLELINE | plat::DT_NOPREFIX);
    if (g_link_font) plat::select_font(dc, previous);
}

}  // namespace

intptr_t about_box_proc(plat::Window* dialog, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    switch (message) {
        case plat::WM_INITDIALOG:
            make_link(dialog);
            fit_to_texts(dialog);
            return 1;
        case plat::WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const plat::DrawItem*>(lparam);
            if (!item || item->id != ID_ABOUT_LINK || !item->dc) return 0;
            draw_link(dialog, *item);
            return 1;
        }
        case plat::WM_COMMAND: {
            const uint16_t id = plat::command_id(wparam);
            if (id == plat::IDOK || id == plat::IDCANCEL) {
                plat::end_dialog(dialog, id);
                return 1;
            }
            // The box stays open behind the browser.
            if (id == ID_ABOUT_LINK) plat::open_url(dialog, HOME_PAGE_URL);
            return 0;
        }
        case plat::WM_DESTROY:
            // The button draws with the font until it is gone with the box.
            plat::delete_font(g_link_font);
            g_link_font = nullptr;
            return 0;
        default:
            return 0;
    }
}

intptr_t show_about_box(plat::Window* owner) {
    return plat::run_dialog(owner, ABOUT_TEMPLATE, about_box_proc, 0);
}

}  // namespace lekta
