// The index dialog over the small test index, for the dialog's tests: each starts from a
// fresh test platform, empty settings and the small index.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "index/index_dialog.h"
#include "index/index_test_support.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_system.h"
#include "platform/test/test_text.h"
#include "platform/test/test_window.h"
#include "state/reader.h"
#include "state/settings.h"
#include "store/test_book_support.h"

namespace lekta::testing_support {

// The small index in the dialog: 320 x 320 pixels, 307 wide without the scroll bar. Closed,
// it shows a (x 284, y 0..20) and g (y 20..40).
class IndexDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_system();
        testplat::reset_windows();
        testplat::reset_text();
        g_settings = Settings{};
        g_reader = Reader{};
        TestBook book = make_test_book(false);
        book.index = index_list(small_index());
        use_test_book(book);
    }
    void TearDown() override {
        g_settings = Settings{};
        g_reader = Reader{};
        testplat::reset_windows();
        testplat::reset_text();
        testplat::reset_system();
    }
    static uint16_t run(uint16_t current, testplat::DialogScript script) {
        testplat::push_dialog_script(std::move(script));
        return open_index_dialog(nullptr, current, FontSpec{});
    }
    static std::string shown() {
        const IndexTree* tree = index_dialog_tree();
        std::string s;
        for (int i = 0; i < tree->line_count; ++i)
            s += line_visible(tree->lines[i]) ? '1' : '0';
        return s;
    }
};

}  // namespace lekta::testing_support
