// The reading window described for screen readers.
#include "state/reader.h"
#include "state/settings.h"
#include "view/accessible_lesson.h"
#include "view/text_view.h"

namespace lekta {

void reader_accessible_nodes(plat::Window*, std::vector<plat::AccessibleNode>& nodes) {
    const Reader& s = g_reader;
    if (const TextView* view = s.view) {
        ReadingState state = reading_state(*view);
        plat::AccessibleNode document;
        document.role = plat::AccessibleRole::document;
        document.name = u"Lesson";
        document.rect = {view->left, view->top, view->left + view->width, view->top + view->height};
        document.state = plat::ACC_FOCUSABLE;
        document.caret = state.caret;
        document.selection_start = state.selection_start;
        document.selection_end = state.selection_end;
        document.text = state.lesson.text;
        nodes.push_back(std::move(document));
        for (const AccessibleParagraph& p : state.lesson.paragraphs) {
            plat::AccessibleNode node;
            node.parent = 0;
            node.role = p.kind == ParagraphKind::text ? plat::AccessibleRole::paragraph
                                                      : plat::AccessibleRole::heading;
            node.level = p.kind == ParagraphKind::title ? 1 : 2;
            node.text = state.lesson.text.substr(size_t(p.start), size_t(p.length));
            nodes.push_back(std::move(node));
        }
    }
    if (const int32_t day = g_settings.current_day; day != 0) {
        plat::AccessibleNode strip;
        strip.role = plat::AccessibleRole::label;
        strip.name = spoken_date(day, true);
        strip.rect = {s.strip_left, s.strip_top, s.strip_left + s.strip_width,
                      s.strip_top + s.strip_height};
        nodes.push_back(std::move(strip));
    }
}

std::u16string day_announcement() {
    std::u16string out = spoken_date(g_settings.current_day, true);
    if (const TextView* view = g_reader.view) {
        const TitleInfo title = read_title(view->text.span());
        if (title.title) {
            out += u": ";
            out += reading_text(title.title, title.title_length, true);
        }
    }
    return out;
}

}  // namespace lekta
