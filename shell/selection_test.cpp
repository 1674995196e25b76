// A passage chosen with the pointer or Shift and the arrows, and what Copy then puts on the
// clipboard; a click still pages and a copy without a selection is the whole lesson.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "export/clipboard_text.h"
#include "export/flat_text.h"
#include "export/rtf.h"
#include "platform/clipboard.h"
#include "platform/test/test_clipboard.h"
#include "platform/test/test_text.h"
#include "shell/reader_test_support.h"
#include "view/palette.h"
#include "view/selection.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

// A paragraph given in reading order, stored as the packer stores right-to-left text: turned
// round, with Latin words (capitals in the letter code) and numbers kept in their own order.
std::string stored(std::u16string_view reading) {
    std::string out;
    for (auto c = reading.rbegin(); c != reading.rend(); ++c)
        out += char(*c >= 0x05D0 ? *c - 0x05D0 + 0x61 : *c);
    for (size_t i = 0; i < out.size();) {
        auto ltr = [&](size_t k) {
            return k < out.size() &&
                   ((out[k] >= 'A' && out[k] <= 'Z') || (out[k] >= '0' && out[k] <= '9'));
        };
        if (!ltr(i)) {
            ++i;
            continue;
        }
        size_t j = i;
        while (ltr(j))
            ++j;
        std::reverse(out.begin() + long(i), out.begin() + long(j));
        i = j;
    }
    return out;
}

constexpr uint8_t BODY = STYLE_VISUAL | STYLE_ALIGN_RIGHT | 0x01;
constexpr uint8_t LABELLED = 0xC0;  // a hanging label two letters wide

// A place over the text: on a line (its index), this many pixels left of the line's right edge
// (negative: right of it, over the hanging label). Letters are 10 pixels wide here: 3 is the
// right part of the first letter from the right, 7 its left part.
struct Spot {
    int line;
    int from_right;
};

class SelectionTest : public testing_support::ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        start(testing_support::make_test_book(true, [](uint16_t) { return 2; }),
              civil_day(2026, 12, 7));
        testing_support::Lesson lesson;
        lesson.add(BODY, LABELLED, stored(u"יב אבג דהו זחט"))
            .add(BODY, 0, stored(u"בגד 12 הוז ABC חטי"))
            .add(BODY | STYLE_BLANK_AFTER, 0,
                 stored(u"כל מנ סע פצ קר שת אב גד הו זח טי כל מנ סע פצ"));
        for (int i = 0; i < 30; ++i)
            lesson.add(BODY, 0, stored(u"אבג דהו"));
        LessonText text = lesson.build();
        ASSERT_EQ(set_text(view(), &text, TAKE_TEXT), LAYOUT_OK);
        send(plat::WM_PAINT);
    }

  public:
    intptr_t point(const Spot& s) const {
        const LineRecord& line = view()->lines[s.line];
        const int32_t x = line.x + line.width - s.from_right;
        const int32_t y = view()->top + (s.line < 4 ? s.line : s.line + 1) * 16 + 8;
        return intptr_t(uint16_t(x)) | intptr_t(uint16_t(y)) << 16;
    }
    void drag(const Spot& from, const Spot& to) {
        send(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, point(from));
        send(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, point(from) + 6);  // past the tap's slack
        send(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, point(to));
        send(plat::WM_LBUTTONUP, 0, point(to));
    }
    void shift(uint32_t vk, int times = 1) {
        for (int i = 0; i < times; ++i)
            send(plat::WM_KEYDOWN, vk, plat::KEY_SHIFT);
    }
    // Copies and checks that the RTF document holds what the plain text holds.
    std::string copy() {
        command(CMD_COPY);
        return testplat::clipboard()[plat::MIME_TEXT];
    }
    static std::string rtf_of(std::u16string_view flat) {
        return std::string(RTF_HEADER) + rtf_body(flat) + "}\r\n";
    }
    bool selection_drawn() const {
        const std::vector<plat::DrawCall>& calls = window->dc->calls;
        return std::any_of(calls.begin(), calls.end(), [](const plat::DrawCall& c) {
            return c.kind == plat::DrawCall::FILL && c.color == palette().selection_ground;
        });
    }
};

// Drags and Shift with the arrows, each from a fresh start, and the passage Copy then holds.
TEST_F(SelectionTest, TheSelectedPassageIsWhatCopyHolds) {
    using Act = std::function<void(SelectionTest&)>;
    struct Row {
        const char* what;
        Act act;
        std::u16string passage;
    };
    const Row rows[] = {
        {"from the verse number into the text",
         [](SelectionTest& t) {
             t.drag({0, -17}, {0, 33});
         },
         u"יב אבג"},
        {"from the end of the verse number: the text, no unseen space",
         [](SelectionTest& t) {
             t.drag({0, -1}, {0, 33});
         },
         u"אבג"},
        {"a number and a Latin word inside the line",
         [](SelectionTest& t) {
             t.drag({1, 57}, {1, 123});
         },
         u"12 הוז AB"},
        {"the same dragged the other way",
         [](SelectionTest& t) {
             t.drag({1, 123}, {1, 57});
         },
         u"12 הוז AB"},
        {"across lines and paragraphs",
         [](SelectionTest& t) {
             t.drag({0, 43}, {2, 33});
         },
         u"דהו זחט\r\nבגד 12 הוז ABC חטי\r\nכל "},
        {"past the end of a paragraph with a blank row",
         [](SelectionTest& t) {
             t.drag({3, 123}, {4, 3});
         },
         u"מנ סע פצ\r\n\r\n"},
        {"Shift+Left reads on, Shift+Right back",
         [](SelectionTest& t) {
             t.shift(plat::VK_LEFT, 4);
             t.shift(plat::VK_RIGHT);
         },
         u"יב "},
        {"Shift+Down a line, then letters on the next",
         [](SelectionTest& t) {
             t.shift(plat::VK_DOWN);
             t.shift(plat::VK_LEFT, 3);
         },
         u"יב אבג דהו זחט\r\nבגד"},
        {"Shift+Up takes the line back",
         [](SelectionTest& t) {
             t.shift(plat::VK_DOWN, 2);
             t.shift(plat::VK_UP);
         },
         u"יב אבג דהו זחט\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        send(plat::WM_KEYDOWN, plat::VK_ESCAPE);
        window->dc->calls.clear();
        row.act(*this);
        EXPECT_TRUE(selection_drawn());
        EXPECT_EQ(copy(), clipboard_text(row.passage));
        EXPECT_EQ(testplat::clipboard()[plat::MIME_RTF], rtf_of(row.passage));
        // Reverse turns the drawing only; a new size lays out the same passage again.
        command(CMD_REVERSE);
        testplat::resize_client(window, 300, 320);
        EXPECT_EQ(copy(), clipboard_text(row.passage));
        command(CMD_REVERSE);
        testplat::resize_client(window, 240, 320);
    }
}

// Without a selection Copy is the lesson; a click pages and lets the selection go, as do
// Escape and a new day; Ctrl+A's selection copies as the lesson does.
TEST_F(SelectionTest, WithoutASelectionCopyIsTheLesson) {
    const std::u16string lesson = flatten_lesson(view()->text.span(), FlatOrder::Reading);
    EXPECT_EQ(copy(), clipboard_text(lesson));
    EXPECT_EQ(testplat::clipboard()[plat::MIME_RTF], rtf_of(lesson));
    command(CMD_SELECT_ALL);
    EXPECT_EQ(copy(), clipboard_text(lesson));

    drag({0, 3}, {0, 33});
    const intptr_t low = point({14, 3});
    send(plat::WM_LBUTTONDOWN, plat::MK_LBUTTON, low);
    send(plat::WM_MOUSEMOVE, plat::MK_LBUTTON, low + 2);  // a hand is never quite still
    send(plat::WM_LBUTTONUP, 0, low + 2);
    EXPECT_GT(view()->top_row, 0);
    EXPECT_EQ(copy(), clipboard_text(lesson));

    drag({14, 3}, {15, 3});
    EXPECT_EQ(send(plat::WM_KEYDOWN, plat::VK_ESCAPE), 0);
    EXPECT_EQ(send(plat::WM_KEYDOWN, plat::VK_ESCAPE), 1) << "nothing left to clear";
    EXPECT_EQ(copy(), clipboard_text(lesson));

    drag({14, 3}, {15, 3});
    key(plat::VK_RIGHT);
    EXPECT_FALSE(has_selection(*view()));
}

}  // namespace
}  // namespace lekta
