// The "Choose Font" dialog's template: the family list, the size list, the two base buttons and
// the preview box. The base-97 button has no control: only a stored base of 97 reaches it.
#pragma once

#include <array>
#include <cstdint>

#include "platform/dialog.h"

namespace lekta {

constexpr uint16_t IDC_FONT_FAMILIES = 1001;
constexpr uint16_t IDC_FONT_PREVIEW = 1002;
constexpr uint16_t IDC_BASE_97 = 1003;
constexpr uint16_t IDC_BASE_224 = 1004;
constexpr uint16_t IDC_BASE_5D0 = 1005;
constexpr uint16_t IDC_FONT_SIZES = 1006;

namespace font_dialog {

using plat::ControlKind;
constexpr uint32_t LIST = plat::CS_BORDER | plat::CS_VSCROLL | plat::CS_NOTIFY | plat::CS_TABSTOP;

// The preview (1002) is no control: the dialog draws it where its layout puts it, the way the
// lesson is drawn, so that it shows exactly what the text will look like.

constexpr std::array<plat::ControlTemplate, 4> CONTROLS = {{
    {IDC_FONT_FAMILIES, ControlKind::list_box, nullptr, 7, 7, 107, 94, LIST | plat::CS_SORT},
    {IDC_FONT_SIZES, ControlKind::list_box, nullptr, 120, 44, 25, 56, LIST},
    {IDC_BASE_224, ControlKind::auto_radio, u"224", 116, 19, 29, 10, plat::CS_TABSTOP, nullptr,
     u"Single-byte Hebrew fonts: the letters at 0xE0..0xFA"},
    {IDC_BASE_5D0, ControlKind::auto_radio, u"5D0", 116, 31, 29, 10, plat::CS_TABSTOP, nullptr,
     u"Unicode Hebrew: the letters at U+05D0..U+05EA"},
}};

}  // namespace font_dialog

constexpr plat::DialogTemplate FONT_DIALOG = {u"Choose Font", 152, 167, font_dialog::CONTROLS};

}  // namespace lekta
