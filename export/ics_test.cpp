#include "export/ics.h"

#include <gtest/gtest.h>

namespace lekta {
namespace {

// Values are escaped as TEXT, and long lines fold at 75 octets without splitting a letter.
TEST(IcsTest, TextIsEscapedAndLinesFold) {
    EXPECT_EQ(ics_text("a,b;c\\d\r\ne\nf"), "a\\,b\\;c\\\\d\\ne\\nf");
    EXPECT_EQ(ics_line("SUMMARY:short"), "SUMMARY:short\r\n");
    for (const std::string unit : {"x", "\xD7\x90"}) {  // one octet, and the two of alef
        std::string long_value = "SUMMARY:";
        for (int i = 0; i < 100; ++i)
            long_value += unit;
        const std::string folded = ics_line(long_value);
        std::string joined;
        size_t start = 0;
        while (start < folded.size()) {
            const size_t end = folded.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            const std::string line = folded.substr(start, end - start);
            EXPECT_LE(line.size(), 75u);
            // A line never starts inside a letter: its first octet (after the fold's space)
            // is not a continuation byte.
            const size_t first = start == 0 ? 0 : 1;
            ASSERT_GT(line.size(), first);
            EXPECT_NE(static_cast<unsigned char>(line[first]) & 0xC0, 0x80);
            joined += line.substr(first);
            start = end + 2;
        }
        EXPECT_EQ(joined, long_value);
    }
}

}  // namespace
}  // namespace lekta
