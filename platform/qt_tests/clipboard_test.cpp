// The Qt clipboard: several formats in one offer, read back by type; text as UTF-8; the
// underline of a link font drawn by draw_text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <array>

#include "platform/clipboard.h"
#include "platform/qt/qt_internal.h"
#include "platform/underlined_font.h"

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

TEST(QtUnderlinedFontTest, TheLineIsDrawnBelowTheText) {
    QImage image(200, 40, QImage::Format_RGB32);
    plat::FontDesc desc;
    desc.height = 20;
    auto draw = [&](plat::Font* font) {
        image.fill(Qt::white);
        plat::Dc* dc = qtplat::create_image_dc(&image);
        plat::select_font(dc, font);
        plat::set_bk_transparent(dc, true);
        plat::draw_text(dc, u"ab", 2, {0, 0, 200, 40}, plat::DT_LEFT);
        qtplat::delete_image_dc(dc);
        int dark = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    plat::Font* plain = plat::create_font(desc);
    plat::Font* underlined = plat::create_underlined_font(desc);
    ASSERT_NE(underlined, nullptr);
    EXPECT_GT(draw(underlined), draw(plain));
    plat::delete_font(plain);
    plat::delete_font(underlined);
}
