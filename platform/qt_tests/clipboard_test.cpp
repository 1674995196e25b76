// The Qt clipboard: several formats in one offer, read back by type; text as UTF-8.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <array>

#include "platform/clipboard.h"

using namespace lekta;

TEST(QtClipboardTest, FormatsGoTogetherAndComeBackByType) {
    const std::string rtf = "{\\rtf1 \\u1488\\par}\r\n";
    const std::string text = "\xD7\x90 line\nnext";
    const std::array<plat::ClipboardEntry, 3> entries = {{
        {plat::MIME_RTF, rtf},
        {plat::MIME_RTF_ALT, rtf},
        {plat::MIME_TEXT, text},
    }};
    ASSERT_TRUE(plat::set_clipboard_data(entries));
    EXPECT_EQ(plat::clipboard_data(plat::MIME_RTF), rtf);
    EXPECT_EQ(plat::clipboard_data(plat::MIME_RTF_ALT), rtf);
    EXPECT_EQ(plat::clipboard_data(plat::MIME_TEXT), text);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QString::fromUtf8(text.c_str()));

    // A later copy replaces every format.
    const std::array<plat::ClipboardEntry, 1> plain = {{{plat::MIME_TEXT, "only"}}};
    ASSERT_TRUE(plat::set_clipboard_data(plain));
    EXPECT_EQ(plat::clipboard_data(plat::MIME_TEXT), "only");
    EXPECT_FALSE(plat::clipboard_data(plat::MIME_RTF).has_value());
}

TEST(QtClipboardTest, OtherProgramsTextIsRead) {
    QGuiApplication::clipboard()->setText(QStringLiteral("from elsewhere \u05D0"));
    EXPECT_EQ(plat::clipboard_data(plat::MIME_TEXT), "from elsewhere \xD7\x90");
    EXPECT_FALSE(plat::clipboard_data(plat::MIME_RTF).has_value());
}
