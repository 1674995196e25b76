// The calendar dialog's template: a caption and a client area; the procedure draws the rest.
#pragma once

#include "platform/dialog.h"

namespace lekta {

inline constexpr plat::DialogTemplate CALENDAR_DIALOG{u"Hebrew Calendar", 160, 160, {}};

}  // namespace lekta
