#include "export/ics.h"

#include <cstdio>
#include <ctime>

#include "calendar/date_text.h"
#include "calendar/hebrew_calendar.h"
#include "calendar/schedule.h"
#include "export/flat_text.h"
#include "lekta_version.h"
#include "store/book.h"
#include "store/lesson_store.h"

namespace lekta {
namespace {

constexpr size_t MAX_OCTETS = 75;

std::string digits(int32_t value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

std::string ics_date(int32_t day_number) {
    const DateRecord d = civil_from_day_number(day_number);
    return digits(d.year, 4) + digits(d.month, 2) + digits(d.day, 2);
}

std::string summary_of(const LessonText& text) {
    const LessonHeading heading = lesson_heading(text.span());
    std::u16string summary = heading.title;
    if (!heading.title.empty() && !heading.subtitle.empty()) summary += u" \u2014 ";
    summary += heading.subtitle;
    return to_utf8(summary);
}

std::string event(int32_t day_number, const DateRecord& hebrew, const LessonText& text,
                  std::string_view stamp) {
    uint8_t date_text[DATE_TEXT_MAX] = {};
    const int length = hebrew_date_text(&hebrew, date_text);
    std::string out;
    out += ics_line("BEGIN:VEVENT");
    out += ics_line("UID:" + digits(hebrew.year, 4) + "-" + digits(hebrew.month, 2) + "-" +
                    digits(hebrew.day, 2) + "@" LEKTA_APP_ID);
    out += ics_line("DTSTAMP:" + std::string(stamp));
    out += ics_line("DTSTART;VALUE=DATE:" + ics_date(day_number));
    out += ics_line("DTEND;VALUE=DATE:" + ics_date(day_number + 1));
    out += ics_line("SUMMARY:" + ics_text(summary_of(text)));
    out += ics_line("DESCRIPTION:" + ics_text(to_utf8(unicode_date_text(date_text, length))));
    out += ics_line("TRANSP:TRANSPARENT");
    out += ics_line("END:VEVENT");
    return out;
}

}  // namespace

std::string ics_stamp_now() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%dT%H%M%SZ", &utc);
    return buffer;
}

int32_t hebrew_year_of(int32_t day_number) {
    return hebrew_from_day_number(day_number).year;
}

std::string ics_text(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\\n";
        } else if (c == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
            out += c;
        }
    }
    return out;
}

std::string ics_line(std::string_view line) {
    std::string out;
    size_t room = MAX_OCTETS;
    size_t start = 0;
    while (line.size() - start > room) {
        size_t cut = start + room;
        // Back to the first byte of a UTF-8 sequence.
        while (cut > start && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        out.append(line.substr(start, cut - start));
        out += "\r\n ";
        start = cut;
        room = MAX_OCTETS - 1;  // the leading space counts
    }
    out.append(line.substr(start));
    out += "\r\n";
    return out;
}

std::string year_calendar(int32_t hebrew_year, std::string_view stamp) {
    std::string out;
    out += ics_line("BEGIN:VCALENDAR");
    out += ics_line("VERSION:2.0");
    out += ics_line("PRODID:-//Halvern//Lekta " LEKTA_VERSION_TEXT "//EN");
    out += ics_line("CALSCALE:GREGORIAN");
    out += ics_line("X-WR-CALNAME:Lekta " + digits(hebrew_year, 4));
    const int32_t first = day_number_from_hebrew(7, 1, hebrew_year);
    const int32_t end = day_number_from_hebrew(7, 1, hebrew_year + 1);
    for (int32_t day = first; day < end; ++day) {
        const DateRecord hebrew = hebrew_from_day_number(day);
        const uint16_t key = lesson_key_of_date(hebrew);
        if ((key & LESSON_KEY_LEAP_CYCLE) && !book_has_leap_cycle()) continue;
        const LessonText text = fetch_lesson_text(key);
        if (!text) continue;
        out += event(day, hebrew, text, stamp);
    }
    out += ics_line("END:VCALENDAR");
    return out;
}

}  // namespace lekta
