// The update page's address and its escape rule.
#include <gtest/gtest.h>

#include "about/update_check.h"
#include "lekta_version.h"
#include "platform/test/test_open_url.h"

namespace lekta {
namespace {

TEST(UpdateCheckTest, EscapeRule) {
    EXPECT_EQ(escape_query_value(u"Halvern/Lekta-Hebrew"), u"Halvern/Lekta%2DHebrew");
    EXPECT_EQ(escape_query_value(u"a b_c.d/e"), u"a+b%5Fc.d/e");
    EXPECT_EQ(escape_query_value(u"AZaz09"), u"AZaz09");
    EXPECT_EQ(escape_query_value(u"&=%+\u0001"), u"%26%3D%25%2B%01");
    // Units above 0xFF keep all their digits.
    EXPECT_EQ(escape_query_value(u"\u05D0\uFFFF"), u"%5D0%FFFF");
    EXPECT_EQ(escape_query_value(u""), u"");
}

TEST(UpdateCheckTest, UrlAndEveryCheckOpensIt) {
    const std::u16string url = update_url();
    EXPECT_EQ(url, u"" LEKTA_UPDATE_SERVER "/cgi-bin/upgrade?p=arm/Halvern/Lekta%2DHebrew&v=1.84a");
    EXPECT_LT(url.size(), UPDATE_URL_CAPACITY);
    EXPECT_EQ(std::u16string(u"" LEKTA_VERSION_TEXT), u"1.84a");

    testplat::opened_urls().clear();
    auto* owner = reinterpret_cast<plat::Window*>(0x10);
    build_update_url(owner);
    build_update_url(owner);
    ASSERT_EQ(testplat::opened_urls().size(), 2u);
    for (const testplat::OpenedUrl& opened : testplat::opened_urls()) {
        EXPECT_EQ(opened.url, url);
        EXPECT_EQ(opened.owner, owner);
    }
    testplat::opened_urls().clear();
}

}  // namespace
}  // namespace lekta
