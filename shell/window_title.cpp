#include "shell/window_title.h"

#include "shell/main_window.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta {
namespace {

constexpr const char16_t* MONTH_NAMES[12] = {u"January",   u"February", u"March",    u"April",
                                             u"May",       u"June",     u"July",     u"August",
                                             u"September", u"October",  u"November", u"December"};

std::u16string number_text(int32_t n) {
    std::u16string out;
    for (char c : std::to_string(n))
        out += static_cast<char16_t>(c);
    return out;
}

}  // namespace

std::u16string window_title(const LessonHeading& heading, const std::u16string& hebrew_date,
                            const DateRecord& civil) {
    std::u16string title;
    auto add = [&title](const std::u16string& part) {
        if (part.empty()) return;
        // A left-to-right mark before each dash keeps the parts in this order, however the
        // Hebrew parts would otherwise draw the dashes and digits next to them into their run.
        if (!title.empty()) title += TITLE_SEPARATOR;
        title += part;
    };
    add(heading.title.empty() ? heading.subtitle : heading.title);
    add(hebrew_date);
    if (civil.month >= 1 && civil.month <= 12)
        add(number_text(civil.day) + u" " + MONTH_NAMES[civil.month - 1] + u" " +
            number_text(civil.year));
    add(MAIN_TITLE);
    // A left-to-right mark first, for the title's direction whatever its first part.
    if (title != MAIN_TITLE) title.insert(0, 1, u'\u200E');
    return title;
}

void update_window_title() {
    const Reader& r = g_reader;
    if (!r.main_window) return;
    LessonHeading heading;
    if (r.view && r.view->text) heading = lesson_heading(r.view->text.span());
    const std::u16string date = unicode_date_text(r.date_text, r.date_text_length);
    const int32_t day = g_settings.current_day;
    const DateRecord civil = day > 0 ? civil_from_day_number(day) : DateRecord{};
    plat::set_window_title(r.main_window, window_title(heading, date, civil).c_str());
}

}  // namespace lekta
