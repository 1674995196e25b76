// The index chosen from the keyboard alone, and what a screen reader finds in it.
#include <gtest/gtest.h>

#include "index/index_cursor.h"
#include "index/index_dialog.h"
#include "index/index_dialog_fixture.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "state/settings.h"
#include "store/test_book_support.h"

namespace lekta {
namespace {

namespace ts = testing_support;

using IndexKeysTest = ts::IndexDialogTest;

// One step of a user's keys: a key code, or a character typed (key 0).
struct Step {
    uint32_t key = 0;
    char16_t typed = 0;
};

TEST_F(IndexKeysTest, TabThenKeysOpenGroupsAndChooseASection) {
    using plat::VK_DOWN, plat::VK_LEFT, plat::VK_RETURN, plat::VK_RIGHT, plat::VK_UP;
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::string shown;  // the tree before the last step
        uint16_t chosen;    // what the dialog returns (0x0914: the lesson, by OK; it starts no
                            // section, so nothing is marked)
    };
    const Case cases[] = {
        {"Right opens, Down moves, Return chooses",
         {{VK_RIGHT}, {VK_DOWN}, {VK_RIGHT}, {VK_DOWN}, {VK_RETURN}},
         "1111110",
         0x0101},
        {"the first letters find a title; Return opens a group",
         {{0, u'g'}, {VK_RETURN}, {VK_DOWN}, {VK_RETURN}},
         "1000011",
         0x0104},
        {"'+' opens, '-' closes, Up comes back",
         {{0, u'+'}, {VK_DOWN}, {VK_UP}, {0, u'-'}, {VK_RETURN}},
         "1000010",
         0x0914},
        {"Left on a child goes to its group, then closes it",
         {{VK_RIGHT}, {VK_DOWN}, {VK_DOWN}, {VK_LEFT}, {VK_LEFT}, {VK_RETURN}},
         "1000010",
         0x0914},
    };
    for (const Case& c : cases) {
        std::string before_last;
        testplat::push_dialog_script([&](plat::Window* d) {
            testplat::focus_client(d, true);
            for (size_t i = 0; i < c.steps.size(); ++i) {
                if (i + 1 == c.steps.size()) before_last = shown();
                const Step& s = c.steps[i];
                if (s.key == VK_RETURN)
                    testplat::press_return(d);
                else if (s.key)
                    testplat::press_key(d, s.key);
                else
                    testplat::type_char(d, s.typed);
                if (!d->ended) {
                    EXPECT_GT(d->focus_rect.bottom, d->focus_rect.top) << c.what;
                }
            }
            // A Return that only opened or closed a group leaves the dialog open: OK ends it.
            testplat::send_command(d, plat::IDOK);
        });
        EXPECT_EQ(c.chosen, open_index_dialog(nullptr, 0x0914, FontSpec{})) << c.what;
        EXPECT_EQ(c.shown, before_last) << c.what;
    }
}

// Before Tab the keys scroll and Return is OK; the tree's entries read with their level
// and open or closed state, the cursor's entry focused.
TEST_F(IndexKeysTest, WithoutTabTheKeysScrollAndEntriesAreNamed) {
    testplat::push_dialog_script([](plat::Window* d) { testplat::press_return(d); });
    EXPECT_EQ(0x0914, open_index_dialog(nullptr, 0x0914, FontSpec{}));
    EXPECT_EQ(1, testplat::dialog_runs().back().result);
    testplat::push_dialog_script([](plat::Window* d) {
        testplat::press_key(d, plat::VK_DOWN);
        EXPECT_EQ(plat::Rect{}, d->focus_rect);
        testplat::press_key(d, plat::VK_RIGHT);  // the cursor's own key: it takes over
        std::vector<plat::AccessibleNode> nodes;
        ASSERT_TRUE(d->accessible_source);
        d->accessible_source(d, nodes);
        ASSERT_EQ(4u, nodes.size());  // a, bb, f, g
        EXPECT_EQ(u"\u05D0", nodes[0].name);
        EXPECT_EQ(1, nodes[0].level);
        EXPECT_EQ(plat::ACC_FOCUSABLE | plat::ACC_EXPANDABLE | plat::ACC_EXPANDED |
                      plat::ACC_SELECTED | plat::ACC_FOCUSED,
                  nodes[0].state);
        EXPECT_EQ(u"\u05D1\u05D1", nodes[1].name);
        EXPECT_EQ(2, nodes[1].level);
        EXPECT_EQ(plat::ACC_FOCUSABLE | plat::ACC_EXPANDABLE, nodes[1].state);
        EXPECT_EQ(plat::ACC_FOCUSABLE, nodes[2].state);  // f, a section
        testplat::press_return(d);                       // the cursor's: closes a
        EXPECT_FALSE(d->ended);
        testplat::send_command(d, plat::IDOK);
    });
    EXPECT_EQ(0x0914, open_index_dialog(nullptr, 0x0914, FontSpec{}));
}

}  // namespace
}  // namespace lekta
