// Lessons built in memory and a view over a test dc, for the view's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/test/test_text.h"
#include "state/reader.h"
#include "state/settings.h"
#include "view/text_view.h"

namespace lekta::testing_support {

// Paragraph records end to end, then the four zero bytes of a stored lesson.
class Lesson {
  public:
    Lesson& add(uint8_t style, uint8_t measure, std::string_view text) {
        bytes_.push_back(style);
        bytes_.push_back(measure);
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.push_back(0);
        return *this;
    }
    LessonText build() const { return make(bytes_, {0, 0, 0, 0}); }
    // Exactly the given bytes (and the two zero bytes every unpacked text ends with).
    static LessonText make(std::vector<uint8_t> bytes, std::vector<uint8_t> tail = {}) {
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        LessonText text;
        text.length = static_cast<uint32_t>(bytes.size());
        text.bytes = std::make_unique<uint8_t[]>(bytes.size() + 2);
        if (!bytes.empty()) std::memcpy(text.bytes.get(), bytes.data(), bytes.size());
        text.bytes[bytes.size()] = text.bytes[bytes.size() + 1] = 0;
        return text;
    }

  private:
    std::vector<uint8_t> bytes_;
};

// A view 100 x 160 at (0, 0) over a fresh dc, drawing letters as the bytes themselves (base 97)
// so that drawn runs read as the stored text.
class ViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testplat::reset_text();
        g_settings = Settings{};
        g_reader = Reader{};
        g_settings.font_spec.font_ascii_base = 97;
        dc = testplat::create_dc();
        plat::Rect rect{0, 0, 100, 160};
        view = create_view(dc, &rect, g_settings.font_spec, 100);
        g_reader.view = view;
    }
    void TearDown() override {
        destroy_view(view, true);
        g_settings = Settings{};
        g_reader = Reader{};
        testplat::destroy_dc(dc);
        testplat::reset_text();
    }
    int show(const Lesson& lesson) {
        LessonText text = lesson.build();
        return set_text(view, &text, TAKE_TEXT);
    }
    std::vector<LineRecord> lines() const { return {view->lines, view->lines + view->line_count}; }

    plat::Dc* dc = nullptr;
    TextView* view = nullptr;
};

}  // namespace lekta::testing_support
