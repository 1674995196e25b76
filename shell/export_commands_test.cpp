// Copy, Append to ClipBoard, About, the help key and Check For Updates from the main window.
#include <gtest/gtest.h>

#include "about/update_check.h"
#include "export/flat_text.h"
#include "export/rtf.h"
#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/test/test_clipboard.h"
#include "platform/test/test_dialog.h"
#include "platform/test/test_open_url.h"
#include "shell/reader_test_support.h"
#include "state/reader.h"

namespace lekta {
namespace {

using testing_support::ReaderTest;

class ExportCommandsTest : public ReaderTest {
  protected:
    void start_on(int32_t day) {
        start(testing_support::make_test_book(true, [](uint16_t) { return 2; }), day);
    }
    // The RTF body of the lesson the view shows.
    std::string shown_body() const {
        return rtf_body(flatten_lesson(view()->text.span(), FlatOrder::Reading));
    }
    static std::string held(const char* mime_type) { return testplat::clipboard()[mime_type]; }
};

TEST_F(ExportCommandsTest, CopyThenAppendAfterADayStep) {
    start_on(civil_day(2026, 12, 7));
    const std::string first = shown_body();
    command(CMD_COPY);
    EXPECT_EQ(held(plat::MIME_RTF), std::string(RTF_HEADER) + first + "}\r\n");

    key(plat::VK_RIGHT);
    const std::string second = shown_body();
    ASSERT_NE(first, second);
    command(CMD_APPEND);
    EXPECT_EQ(held(plat::MIME_RTF),
              std::string(RTF_HEADER) + first + std::string(RTF_SEPARATOR) + second + "}\r\n");
    EXPECT_EQ(held(plat::MIME_RTF_ALT), held(plat::MIME_RTF));
    EXPECT_NE(held(plat::MIME_TEXT).find("*  *  *  *  *\n\n"), std::string::npos);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ExportCommandsTest, NothingShownNothingCopied) {
    start_on(civil_day(2026, 12, 7));
    destroy_view(g_reader.view, true);
    g_reader.view = nullptr;
    command(CMD_COPY);
    command(CMD_APPEND);
    EXPECT_EQ(testplat::clipboard_writes(), 0);
}

TEST_F(ExportCommandsTest, AboutFromTheMenuAndTheHelpKey) {
    start_on(civil_day(2026, 12, 7));
    command(CMD_ABOUT);
    send(plat::WM_HELP);
    ASSERT_EQ(testplat::dialog_runs().size(), 2u);
    for (const testplat::DialogRun& run : testplat::dialog_runs()) {
        EXPECT_EQ(run.caption, u"Lekta");
        EXPECT_EQ(run.owner, window);
    }
}

TEST_F(ExportCommandsTest, CheckForUpdatesOpensTheUpdatePage) {
    start_on(civil_day(2026, 12, 7));
    command(CMD_CHECK_UPDATES);
    ASSERT_EQ(testplat::opened_urls().size(), 1u);
    EXPECT_EQ(testplat::opened_urls()[0].url, update_url());
    EXPECT_TRUE(testplat::opened_urls()[0].url.ends_with(
        u"/cgi-bin/upgrade?p=arm/Halvern/Lekta%2DHebrew&v=1.84a"));
    EXPECT_EQ(testplat::opened_urls()[0].owner, window);
}

}  // namespace
}  // namespace lekta
