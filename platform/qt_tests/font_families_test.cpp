// The system's font families as the font chooser gets them from Qt's font database.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>

#include "platform/font_families.h"
#include "platform/platform.h"

namespace {

std::map<QString, uint8_t> reported_families() {
    std::map<QString, uint8_t> families;
    lekta::plat::enum_font_families(
        [](void* context, const char16_t* face, uint8_t charset) {
            auto& out = *static_cast<std::map<QString, uint8_t>*>(context);
            out[QString::fromUtf16(face)] = charset;
            return true;
        },
        &families);
    return families;
}

TEST(FontFamilies, EveryReportedNameIsAFamilyThatFitsTheFaceName) {
    const std::map<QString, uint8_t> families = reported_families();
    ASSERT_FALSE(families.empty());
    const QStringList known = QFontDatabase::families();
    for (const auto& [name, charset] : families) {
        EXPECT_TRUE(known.contains(name)) << name.toStdString();
        EXPECT_LE(name.size(), 31) << name.toStdString();
        const bool hebrew = QFontDatabase::writingSystems(name).contains(QFontDatabase::Hebrew);
        EXPECT_EQ(hebrew ? lekta::plat::HEBREW_CHARSET : 0, charset) << name.toStdString();
    }
}

TEST(FontFamilies, HebrewFamiliesCarryTheHebrewCharacterSet) {
    const std::map<QString, uint8_t> families = reported_families();
    // Culmus and DejaVu, the packages the reader is set up with.
    for (const char* name : {"David CLM", "Frank Ruehl CLM", "DejaVu Sans"}) {
        const auto it = families.find(name);
        if (it == families.end()) GTEST_SKIP() << name << " is not installed";
        EXPECT_EQ(lekta::plat::HEBREW_CHARSET, it->second) << name;
    }
}

// The character map, not the name, says what a family draws: the Hebrew letters with maqaf
// and geresh, the places of single-byte Hebrew, and nothing for a picture font.
TEST(FontFamilies, GlyphsComeFromTheCharacterMap) {
    std::u32string hebrew = U"-'";
    for (char32_t c = 0x5D0; c <= 0x5EA; ++c)
        hebrew += c;
    std::u32string high;
    for (char32_t c = 0xE0; c <= 0xFA; ++c)
        high += c;
    struct Case {
        const char* family;
        bool hebrew;
        bool high;
    };
    for (const Case& c : {Case{"Frank Ruehl CLM", true, false}, Case{"Caladings CLM", false, false},
                          Case{"DejaVu Serif", false, true}, Case{"DejaVu Sans", true, true}}) {
        if (!QFontDatabase::families().contains(c.family)) continue;
        const std::u16string face = QString(c.family).toStdU16String();
        EXPECT_EQ(c.hebrew, lekta::plat::family_has_glyphs(face.c_str(), hebrew.data(),
                                                           int32_t(hebrew.size())))
            << c.family;
        EXPECT_EQ(c.high,
                  lekta::plat::family_has_glyphs(face.c_str(), high.data(), int32_t(high.size())))
            << c.family;
    }
    const char32_t a = U'a';
    EXPECT_FALSE(lekta::plat::family_has_glyphs(u"No Such Family At All", &a, 1));
}

TEST(FontFamilies, TheCallbackStopsTheEnumeration) {
    int calls = 0;
    lekta::plat::enum_font_families(
        [](void* context, const char16_t*, uint8_t) {
            ++*static_cast<int*>(context);
            return false;
        },
        &calls);
    EXPECT_EQ(1, calls);
}

}  // namespace
