#include "tools/lekta-pack/book_source.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <sstream>

#include "store/book_file.h"
#include "tools/lekta-pack/bidi.h"
#include "view/reading_order.h"

namespace lekta::pack {
namespace {

constexpr uint8_t STYLE_TITLE = 0xDC;
constexpr uint8_t STYLE_SUBTITLE = 0xD1;
constexpr uint8_t STYLE_BODY = 0xB1;
constexpr uint8_t STYLE_LABELLED = 0x31;
constexpr uint8_t STYLE_RULE = 0xC7;
constexpr uint8_t RULE_WIDTH = 0xAC;  // a quarter of the view, near enough
constexpr uint8_t STYLE_VISUAL = 0x10;
constexpr size_t MAX_LESSON = 0xFFFF;
constexpr size_t MAX_TITLE = 60;

struct Failure {
    std::string message;
};

std::string trim(const std::string& s) {
    const auto begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    const auto end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

// UTF-8 in reading order to the letter code.
std::vector<uint8_t> to_letter_code(const std::string& text) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<uint8_t>(text[i]);
        if (c == 0xD7 && i + 1 < text.size()) {
            const auto d = static_cast<uint8_t>(text[i + 1]);
            const uint32_t cp = 0x5C0u + (d & 0x3F);
            if ((d & 0xC0) == 0x80 && cp >= 0x5D0 && cp <= 0x5EA) {
                out.push_back(static_cast<uint8_t>(0x61 + (cp - 0x5D0)));
                i += 2;
                continue;
            }
        }
        if (c == ' ' || (c >= 0x21 && c <= 0x60)) {
            out.push_back(c);
            ++i;
            continue;
        }
        std::ostringstream msg;
        msg << "character not allowed in book text at byte " << i + 1
            << " (only Hebrew letters, space, digits, capitals and ASCII marks)";
        throw Failure{msg.str()};
    }
    return out;
}

// Letter code back to UTF-8, for messages.
std::string to_utf8_text(const std::vector<uint8_t>& text) {
    std::string out;
    for (uint8_t b : text) {
        if (b >= 0x61 && b <= 0x7B) {
            const uint32_t cp = 0x5D0u + (b - 0x61u);
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

// Visual order: the paragraph as the bidirectional algorithm draws it on one right-to-left
// line, brackets of the right-to-left runs seen from the other side. The reader turns it back
// with its own inverse, which must give this very text: anything else is refused here rather
// than shown or printed differently from the source.
std::vector<uint8_t> to_visual(const std::vector<uint8_t>& text) {
    std::vector<uint8_t> visual;
    try {
        visual = visual_order(text);
    } catch (const std::exception& e) {
        throw Failure{std::string("bidirectional layout failed: ") + e.what()};
    }
    std::vector<uint8_t> back(text.size());
    visual_to_reading(visual.data(), static_cast<int32_t>(visual.size()), back.data());
    if (back != text) {
        throw Failure{"the mixed-direction text '" + to_utf8_text(text) + "' would read back as '" +
                      to_utf8_text(back) +
                      "'; keep a number and a Latin word beside it in reading order (word first)"};
    }
    return visual;
}

long parse_number(const std::string& s, long low, long high, const char* what) {
    size_t used = 0;
    long v = 0;
    try {
        v = std::stol(s, &used, 0);
    } catch (...) {
        used = 0;
    }
    if (used == 0 || used != s.size() || v < low || v > high) {
        throw Failure{std::string("bad ") + what + " '" + s + "'"};
    }
    return v;
}

// "m/d" or "leap m/d" -> lesson key.
uint16_t parse_lesson_ref(const std::string& ref) {
    std::string rest = trim(ref);
    bool leap = false;
    if (rest.rfind("leap ", 0) == 0) {
        leap = true;
        rest = trim(rest.substr(5));
    }
    const auto slash = rest.find('/');
    if (slash == std::string::npos) throw Failure{"expected MONTH/DAY, got '" + ref + "'"};
    const long month = parse_number(rest.substr(0, slash), 1, leap ? 13 : 12, "month");
    const long day = parse_number(rest.substr(slash + 1), 1, 31, "day");
    if (day == 31 && month != 8 && month != 9) {
        throw Failure{"day 31 exists only in months 8 and 9"};
    }
    if (day > month_record_count(static_cast<int>(month), leap)) {
        throw Failure{"month " + std::to_string(month) + " has no day " + std::to_string(day)};
    }
    return static_cast<uint16_t>((leap ? 0x1000 : 0) | month << 8 | day);
}

struct Options {
    std::optional<long> style, indent, blank, level, width, attr;
    std::string label;
};

// "kind[opts]" -> kind; options into *opts. The label of "label[...]" is its first option.
std::string parse_head(const std::string& head, Options* opts) {
    const auto open = head.find('[');
    if (open == std::string::npos) return trim(head);
    const auto close = head.rfind(']');
    if (close == std::string::npos || close < open) throw Failure{"unclosed '['"};
    if (!trim(head.substr(close + 1)).empty()) throw Failure{"text after ']'"};
    const std::string kind = trim(head.substr(0, open));
    std::stringstream list(head.substr(open + 1, close - open - 1));
    std::string item;
    bool first = true;
    while (std::getline(list, item, ',')) {
        item = trim(item);
        const auto eq = item.find('=');
        if (eq == std::string::npos) {
            if (first && kind == "label") {
                opts->label = item;
                first = false;
                continue;
            }
            throw Failure{"option '" + item + "' needs a value"};
        }
        first = false;
        const std::string name = trim(item.substr(0, eq));
        const std::string value = trim(item.substr(eq + 1));
        if (name == "style")
            opts->style = parse_number(value, 1, 255, "style");
        else if (name == "indent")
            opts->indent = parse_number(value, 0, 63, "indent");
        else if (name == "blank")
            opts->blank = parse_number(value, 0, 1, "blank");
        else if (name == "level")
            opts->level = parse_number(value, 1, 3, "level");
        else if (name == "width")
            opts->width = parse_number(value, 0, 255, "width");
        else if (name == "attr")
            opts->attr = parse_number(value, 1, 255, "attribute");
        else
            throw Failure{"unknown option '" + name + "'"};
    }
    return kind;
}

void append_record(std::vector<uint8_t>& out, uint8_t style, uint8_t measure,
                   const std::vector<uint8_t>& text) {
    out.push_back(style);
    out.push_back(measure);
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

// One paragraph line of a lesson.
void add_paragraph(const std::string& line, std::vector<uint8_t>& lesson) {
    const auto colon = line.find(':');
    Options opts;
    const std::string head = colon == std::string::npos ? line : line.substr(0, colon);
    const std::string kind = parse_head(head, &opts);
    const std::string body = colon == std::string::npos ? "" : trim(line.substr(colon + 1));

    uint8_t style = 0;
    uint8_t level = 0;
    std::vector<uint8_t> text;
    if (kind == "rule") {
        if (colon != std::string::npos && !body.empty()) throw Failure{"a rule has no text"};
        style = static_cast<uint8_t>(opts.style.value_or(STYLE_RULE));
        if ((style & 7) != 7) throw Failure{"a rule's style must have size class 7"};
        if (opts.blank) style = static_cast<uint8_t>(*opts.blank ? style | 0x80 : style & 0x7F);
        append_record(lesson, style, static_cast<uint8_t>(opts.width.value_or(RULE_WIDTH)), {});
        return;
    }
    if (colon == std::string::npos) throw Failure{"expected 'kind: text'"};
    if (body.empty()) throw Failure{"empty paragraph"};
    if (kind == "title") {
        style = STYLE_TITLE;
        if (!lesson.empty()) throw Failure{"the title must be the lesson's first paragraph"};
    } else if (kind == "subtitle") {
        style = STYLE_SUBTITLE;
    } else if (kind == "p") {
        style = STYLE_BODY;
    } else if (kind == "label") {
        if (opts.label.empty() || opts.label.find(' ') != std::string::npos) {
            throw Failure{"a label is one word: label[WORD]: text"};
        }
        style = STYLE_LABELLED;
        level = static_cast<uint8_t>(opts.level.value_or(1));
    } else {
        throw Failure{"unknown paragraph kind '" + kind + "'"};
    }
    if (opts.style) style = static_cast<uint8_t>(*opts.style);
    if ((style & 7) == 7) throw Failure{"size class 7 makes a rule; use 'rule'"};
    if (opts.blank) style = static_cast<uint8_t>(*opts.blank ? style | 0x80 : style & 0x7F);
    text = to_letter_code(kind == "label" ? opts.label + " " + body : body);
    if (style & STYLE_VISUAL) text = to_visual(std::move(text));
    const auto measure = static_cast<uint8_t>(opts.indent.value_or(0) | level << 6);
    append_record(lesson, style, measure, text);
}

void add_index_entry(const std::string& line, BookSource& book, uint16_t& next_group) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) throw Failure{"expected 'group LEVEL: title'"};
    Options opts;
    const std::string head = parse_head(line.substr(0, colon), &opts);
    const std::string title = trim(line.substr(colon + 1));
    std::istringstream words(head);
    std::string kind, level_text;
    words >> kind >> level_text;
    const auto level = static_cast<uint8_t>(parse_number(level_text, 1, 3, "level"));
    uint16_t key = 0;
    uint8_t attr = 0x01;
    if (kind == "group") {
        if (next_group < 0x8000 + 0x3F00) throw Failure{"too many groups"};
        key = next_group--;
        if (level == 1) attr = 0x8C;
    } else if (kind == "section") {
        std::string ref;
        std::getline(words, ref);
        key = static_cast<uint16_t>(0x4000 | parse_lesson_ref(ref));
        if (!book.lessons.count(key & 0x1FFF)) throw Failure{"the book has no lesson " + trim(ref)};
    } else {
        throw Failure{"expected 'group' or 'section'"};
    }
    if (opts.attr) attr = static_cast<uint8_t>(*opts.attr);
    const std::vector<uint8_t> text = to_visual(to_letter_code(title));
    if (text.empty() || text.size() > MAX_TITLE) throw Failure{"a title has 1 to 60 letters"};
    book.index.push_back(static_cast<uint8_t>(key));
    book.index.push_back(static_cast<uint8_t>(key >> 8));
    book.index.push_back(attr);
    book.index.push_back(level);
    book.index.insert(book.index.end(), text.begin(), text.end());
    book.index.push_back(0);
}

}  // namespace

bool parse_book_source(const std::string& source, const std::string& file_name, BookSource* book,
                       std::string* error) {
    *book = {};
    std::istringstream in(source);
    std::string raw;
    int line_no = 0;
    std::vector<uint8_t>* lesson = nullptr;
    int lesson_line = 0;
    bool in_index = false;
    uint16_t next_group = 0xBFFE;
    std::map<uint16_t, int> lesson_lines;
    auto close_lesson = [&] {
        if (!lesson) return;
        lesson->insert(lesson->end(), 4, 0);
        if (lesson->size() > MAX_LESSON) {
            line_no = lesson_line;
            throw Failure{"lesson longer than 65535 bytes"};
        }
        lesson = nullptr;
    };
    try {
        while (std::getline(in, raw)) {
            ++line_no;
            const std::string line = trim(raw);
            if (line.empty() || line[0] == '#') continue;
            if (line.rfind("@book", 0) == 0) {
                book->title = trim(line.substr(5));
            } else if (line.rfind("@lesson", 0) == 0) {
                if (in_index) throw Failure{"lessons must come before @index"};
                close_lesson();
                const uint16_t key = parse_lesson_ref(line.substr(7));
                if (lesson_lines.count(key)) {
                    throw Failure{"lesson given twice (first at line " +
                                  std::to_string(lesson_lines[key]) + ")"};
                }
                lesson_lines[key] = line_no;
                lesson = &book->lessons[key];
                lesson_line = line_no;
            } else if (line == "@index") {
                if (in_index) throw Failure{"@index given twice"};
                close_lesson();
                in_index = true;
            } else if (line[0] == '@') {
                throw Failure{"unknown directive '" + line.substr(0, line.find(' ')) + "'"};
            } else if (in_index) {
                add_index_entry(line, *book, next_group);
            } else if (lesson) {
                add_paragraph(line, *lesson);
            } else {
                throw Failure{"text before the first @lesson"};
            }
        }
        close_lesson();
        for (const auto& [key, text] : book->lessons) {
            if (text.size() == 4) {
                line_no = lesson_lines[key];
                throw Failure{"lesson without paragraphs"};
            }
        }
        // Every lesson of the regular arrangement; the leap arrangement whole or not at all.
        book->leap_cycle = std::any_of(book->lessons.begin(), book->lessons.end(),
                                       [](const auto& l) { return l.first & 0x1000; });
        for (int set = 0; set < (book->leap_cycle ? 2 : 1); ++set) {
            for (int month = 1; month <= (set ? 13 : 12); ++month) {
                for (int day = 1; day <= month_record_count(month, set != 0); ++day) {
                    const auto key = static_cast<uint16_t>((set ? 0x1000 : 0) | month << 8 | day);
                    if (!book->lessons.count(key)) {
                        line_no = line_no + 1;
                        throw Failure{std::string("missing lesson ") + (set ? "leap " : "") +
                                      std::to_string(month) + "/" + std::to_string(day)};
                    }
                }
            }
        }
        if (book->index.empty()) throw Failure{"the book has no @index entries"};
        book->index.insert(book->index.end(), 5, 0);
    } catch (const Failure& f) {
        *error = file_name + ":" + std::to_string(line_no) + ": " + f.message;
        return false;
    }
    return true;
}

}  // namespace lekta::pack
