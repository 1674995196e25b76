// Copy and Append on known lessons, byte for byte, through the test backend's clipboard.
#include <gtest/gtest.h>

#include "export/clipboard_export.h"
#include "export/rtf.h"
#include "platform/clipboard.h"
#include "platform/test/test_clipboard.h"
#include "platform/test/test_system.h"
#include "state/reader.h"
#include "view/view_test_support.h"

namespace lekta {
namespace {

using testing_support::Lesson;
using testplat::clipboard;

// Title, a bracketed body paragraph with two spaces and indent 2, a 24 % rule, a reading-order
// paragraph, one without a blank row after it, and a last one with a blank row.
Lesson known_lesson() {
    return Lesson()
        .add(0xDC, 0, "cba")
        .add(0xB1, 0x02, "]d[  ba")
        .add(0xC7, 0xAC, "")
        .add(0x81, 0, "1:2")
        .add(0x51, 0, "ba")
        .add(0xB1, 0, "ba");
}

constexpr std::string_view KNOWN_BODY =
    "\\u1488\\u1489\\u1490\\par\\par\r\n"
    "\\u1488\\u1489   ]\\u1491[   \\par\\par\r\n"
    "------------------------\\par\\par\r\n"
    "1:2\\par\\par\r\n"
    "\\u1488\\u1489\\par\\par\r\n"
    "\\u1488\\u1489\\par\\par\r\n"
    "\\par\\par\r\n";

constexpr std::string_view KNOWN_TEXT =
    "אבג\n\nאב  ]ד[  \n\n------------------------\n\n1:2\n\nאב\nאב\n\n";

std::string known_document() {
    return std::string(RTF_HEADER) + std::string(KNOWN_BODY) + "}\r\n";
}

class ClipboardExportTest : public testing_support::ViewTest {
  protected:
    void SetUp() override {
        ViewTest::SetUp();
        testplat::reset_clipboard();
        testplat::reset_system();
        g_settings.font_spec.font_ascii_base = 0x5D0;
        ASSERT_EQ(show(known_lesson()), 0);
    }
    void TearDown() override {
        testplat::reset_clipboard();
        testplat::reset_system();
        ViewTest::TearDown();
    }
    static std::string held(const char* mime_type) {
        auto it = clipboard().find(mime_type);
        return it == clipboard().end() ? std::string("<none>") : it->second;
    }
};

TEST_F(ClipboardExportTest, CopyPutsTheDocumentAndItsTextTwin) {
    clipboard()["image/png"] = "old";
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_DONE);
    EXPECT_EQ(clipboard().size(), 3u);
    EXPECT_EQ(held(plat::MIME_RTF), known_document());
    EXPECT_EQ(held(plat::MIME_RTF_ALT), known_document());
    EXPECT_EQ(held(plat::MIME_TEXT), KNOWN_TEXT);
    EXPECT_EQ(testplat::clipboard_writes(), 1);
}

TEST_F(ClipboardExportTest, AppendCollectsLessonsIntoOneDocument) {
    ASSERT_EQ(copy_to_clipboard(view, false), EXPORT_DONE);
    ASSERT_EQ(show(Lesson().add(0xB1, 0, "dc")), 0);
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    const std::string second_body = "\\u1490\\u1491\\par\\par\r\n\\par\\par\r\n";
    EXPECT_EQ(held(plat::MIME_RTF), std::string(RTF_HEADER) + std::string(KNOWN_BODY) +
                                        std::string(RTF_SEPARATOR) + second_body + "}\r\n");
    EXPECT_EQ(held(plat::MIME_RTF_ALT), held(plat::MIME_RTF));
    EXPECT_EQ(held(plat::MIME_TEXT), std::string(KNOWN_TEXT) + "*  *  *  *  *\n\nגד\n\n");
}

TEST_F(ClipboardExportTest, AppendOntoAnEmptyClipboardIsACopy) {
    // Text from elsewhere with no document: the lessons start a document of their own.
    clipboard()[plat::MIME_TEXT] = "unrelated";
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_RTF), known_document());
    EXPECT_EQ(held(plat::MIME_TEXT), KNOWN_TEXT);
}

TEST_F(ClipboardExportTest, AppendOntoAnotherProgramsDocument) {
    // Offered only as application/rtf, with a terminator and bytes after it, and no text.
    clipboard()[plat::MIME_RTF_ALT] = std::string("{\\rtf1 earlier}\r\n\0junk", 23);
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_RTF),
              "{\\rtf1 earlier" + std::string(RTF_SEPARATOR) + std::string(KNOWN_BODY) + "}\r\n");
    EXPECT_EQ(held(plat::MIME_TEXT), KNOWN_TEXT);
    // A document of nothing but white space has no header to build on: a fresh one.
    clipboard().clear();
    clipboard()[plat::MIME_RTF] = " \r\n";
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_RTF), known_document());
}

TEST_F(ClipboardExportTest, BracesInTheBookAreEscaped) {
    // 0x7E is the letter code's opening brace; 0x7D passes through as a closing one.
    ASSERT_EQ(show(Lesson().add(0x81, 0, "~a}\\")), 0);
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_RTF),
              std::string(RTF_HEADER) + "\\{\\u1488\\}\\\\\\par\\par\r\n\\par\\par\r\n}\r\n");
    EXPECT_EQ(held(plat::MIME_TEXT), "{א}\\\n\n");
}

TEST_F(ClipboardExportTest, ReverseSettingDoesNotTurnTheExport) {
    g_settings.flags |= FLAG_REVERSE;
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_RTF), known_document());
    EXPECT_EQ(held(plat::MIME_TEXT), KNOWN_TEXT);
}

TEST_F(ClipboardExportTest, LegacyBasesGoAsPlainTextOnly) {
    // Base 224: Windows-1255 letter positions, in the order the screen draws them.
    g_settings.font_spec.font_ascii_base = 224;
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_DONE);
    EXPECT_EQ(clipboard().size(), 1u);
    const std::string text224 = "âáà\n\n]ã[  áà  \n\n------------------------\n\n1:2\n\náà\náà\n\n";
    EXPECT_EQ(held(plat::MIME_TEXT), text224);

    // Base 97: every byte as itself. Append goes straight after the earlier text.
    g_settings.font_spec.font_ascii_base = 97;
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    const std::string text97 = "cba\n\n]d[  ba  \n\n------------------------\n\n1:2\n\nba\nba\n\n";
    EXPECT_EQ(held(plat::MIME_TEXT), text224 + text97);
    EXPECT_EQ(clipboard().size(), 1u);

    // An earlier text is taken up to a terminator it may carry.
    clipboard()[plat::MIME_TEXT] = std::string("ab\0cd", 5);
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_DONE);
    EXPECT_EQ(held(plat::MIME_TEXT), "ab" + text97);
}

TEST_F(ClipboardExportTest, NothingToCopyOrNowhereToPut) {
    EXPECT_EQ(copy_to_clipboard(nullptr, false), EXPORT_NO_VIEW);
    testplat::set_clipboard_available(false);
    EXPECT_EQ(copy_to_clipboard(view, true), EXPORT_NOT_DONE);
    g_settings.font_spec.font_ascii_base = 97;
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_NOT_DONE);
    testplat::set_clipboard_available(true);
    EXPECT_TRUE(clipboard().empty());
    ASSERT_EQ(set_text(view, nullptr, TAKE_TEXT), 2);
    EXPECT_EQ(copy_to_clipboard(view, false), EXPORT_NO_TEXT);
    EXPECT_EQ(testplat::clipboard_writes(), 0);
    EXPECT_TRUE(testplat::message_boxes().empty());
}

TEST_F(ClipboardExportTest, FlatTextRoomAndOverflow) {
    // 39 bytes * 3 / 2 + 1, six records (one without a blank row), the rule's 24, indent 2.
    EXPECT_EQ(flat_text_capacity(view->text.span(), view->text.length), 58u + 1 + 22 + 24 + 2);
    // A rule of 160 pixels or less counts its width; a measure of 0 only its line ends.
    LessonText rules = Lesson().add(0x87, 160, "").add(0x07, 0, "").add(0x07, 0xFF, "").build();
    EXPECT_EQ(flat_text_capacity(rules.span(), rules.length), 13u * 3 / 2 + 1 + 8 + 160 + 190);

    clipboard()[plat::MIME_TEXT] = "kept";
    g_reader.main_window = reinterpret_cast<plat::Window*>(0x1234);
    EXPECT_EQ(hand_over_flat_text(u"\u05D0\r\n", 3, false), EXPORT_NOT_DONE);
    ASSERT_EQ(testplat::message_boxes().size(), 1u);
    const testplat::RecordedMessageBox& box = testplat::message_boxes()[0];
    EXPECT_EQ(box.text, u"(obuf > (start + size))");
    EXPECT_FALSE(box.has_caption);
    EXPECT_EQ(box.owner, g_reader.main_window);
    EXPECT_EQ(held(plat::MIME_TEXT), "kept");
    EXPECT_EQ(hand_over_flat_text(u"\u05D0\r\n", 4, false), EXPORT_DONE);
}

}  // namespace
}  // namespace lekta
