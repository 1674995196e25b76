#include "shell/export_year.h"

#include <fstream>
#include <string>

#include "export/ics.h"
#include "platform/file_dialog.h"
#include "state/settings.h"

namespace lekta {
void export_year(plat::Window* window) {
    const int32_t year = hebrew_year_of(g_settings.current_day);
    std::u16string name = u"lekta-";
    for (char c : std::to_string(year))
        name += static_cast<char16_t>(c);
    name += u".ics";
    const auto path = plat::choose_save_path(window, u"Export Year to Calendar", name.c_str(),
                                             u"iCalendar files (*.ics)");
    if (!path) return;
    const std::string text = year_calendar(year, ics_stamp_now());
    std::ofstream out(*path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        plat::message_box(window, u"Could not write the calendar file", u"Error",
                          plat::MB_ICONEXCLAMATION);
}

}  // namespace lekta
