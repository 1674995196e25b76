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

constexpr std::array<plat::ControlTemplate, 5> CONTROLS = {{
    {IDC_FONT_FAMILIES, ControlKind::list_box, nullptr, 7, 7, 107, 94, LIST | plat::CS_SORT},
    {IDC_FONT_SIZES, ControlKind::list_box, nullptr, 120, 44, 25, 56, LIST},
    {IDC_FONT_PREVIEW, ControlKind::edit, nullptr, 7, 106, 138, 50,
     plat::CS_MULTILINE | plat::CS_RIGHT | plat::CS_BORDER},
    {IDC_BASE_224, ControlKind::auto_radio, u"224", 116, 19, 29, 10, plat::CS_TABSTOP},
    {IDC_BASE_5D0, ControlKind::auto_radio, u"5D0", 116, 31, 29, 10, plat::CS_TABSTOP},
}};

}  // namespace font_dialog

constexpr plat::DialogTemplate FONT_DIALOG = {u"Choose Font", 152, 167, font_dialog::CONTROLS};

}  // namespace lekta
