#include "search/match.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace lekta {
namespace {

std::span<const uint8_t> bytes(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// match_backward over one run of text, scanning from its last byte.
std::optional<Match> find(std::string_view text, std::string_view pattern) {
    return match_backward(bytes(text), 0, bytes(pattern), static_cast<uint32_t>(text.size() - 1));
}

// A lesson: paragraph records (style 0xB1, measure 0) with the given texts, then four zeros.
std::vector<uint8_t> lesson(std::initializer_list<std::string_view> paragraphs) {
    std::vector<uint8_t> text;
    for (std::string_view p : paragraphs) {
        text.push_back(0xB1);
        text.push_back(0);
        text.insert(text.end(), p.begin(), p.end());
        text.push_back(0);
    }
    text.insert(text.end(), 4, 0);
    return text;
}

Hit search(const std::vector<uint8_t>& text, uint32_t start, std::string_view pattern) {
    return search_text(text, start, bytes(pattern));
}

TEST(MatchBackward, FindsTheNearestOccurrenceBelowTheScanPosition) {
    // "abc" twice: the one ending at the highest offset comes first.
    const auto m = find("xabcyabcz", "abc");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->position, 7u);
    EXPECT_EQ(m->length, 3u);
    const auto lower = match_backward(bytes("xabcyabcz"), 0, bytes("abc"), 6);
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->position, 3u);
    // The pattern's first byte lies at the hit's lowest offset: no match read the other way.
    EXPECT_FALSE(find("xcbay", "abc"));
}

TEST(MatchBackward, LowBoundsTheHit) {
    EXPECT_FALSE(match_backward(bytes("abc"), 1, bytes("abc"), 2));
    EXPECT_TRUE(match_backward(bytes("abc"), 0, bytes("abc"), 2));
}

TEST(MatchBackward, LastPatternByteIsAlwaysLiteral) {
    EXPECT_FALSE(find("abx", "ab?"));
    EXPECT_FALSE(find("abx", "ab*"));
    const auto q = find("ab?", "ab?");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->length, 3u);
    EXPECT_TRUE(find("zab*", "ab*"));
}

TEST(MatchBackward, QuestionMarkMatchesAnyOneByteElsewhere) {
    const auto m = find("--axc--", "a?c");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->position, 4u);
    EXPECT_EQ(m->length, 3u);
    EXPECT_TRUE(find("a c", "a?c"));
    EXPECT_FALSE(find("ac", "a?c"));
    // A question mark at the start still needs a byte there.
    EXPECT_FALSE(find("bc", "?bc"));
    EXPECT_TRUE(find("xbc", "?bc"));
}

TEST(MatchBackward, StarTakesTheShortestRunIncludingNone) {
    const auto none = find("abcd", "ab*cd");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->position, 3u);
    EXPECT_EQ(none->length, 4u);
    // Two candidates for the part before the star: the nearer one is taken.
    const auto nearest = find("ab-ab---cd", "ab*cd");
    ASSERT_TRUE(nearest);
    EXPECT_EQ(nearest->position, 9u);
    EXPECT_EQ(nearest->length, 7u);  // "ab---cd"
    // Two stars.
    const auto two = find("a1b22c", "a*b*c");
    ASSERT_TRUE(two);
    EXPECT_EQ(two->length, 6u);
}

TEST(MatchBackward, StarWithoutItsFirstPartEndsTheSearch) {
    // "cd" occurs twice, but nothing before either is "ab": no hit at all, and the earlier "cd"
    // is not tried after the first inner search failed.
    EXPECT_FALSE(find("cd--cd", "ab*cd"));
    // The inner search may not reach below low.
    EXPECT_FALSE(match_backward(bytes("ab--cd"), 1, bytes("ab*cd"), 5));
}

TEST(MatchBackward, LeadingStarNeverMatches) {
    EXPECT_FALSE(find("abc", "*c"));
    EXPECT_FALSE(find("abc", "*bc"));
    EXPECT_FALSE(find("abc", "**c"));
}

TEST(MatchBackward, PatternLongerThanTheText) {
    EXPECT_FALSE(find("bc", "abc"));
    EXPECT_FALSE(find("c", "bc"));
}

TEST(MatchBackward, ScanPositionPastTheTextIsCut) {
    const auto m = match_backward(bytes("abc"), 0, bytes("c"), 1000);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->position, 2u);
    EXPECT_FALSE(match_backward(bytes("abc"), 5, bytes("c"), 1000));
    EXPECT_FALSE(match_backward({}, 0, bytes("c"), 0));
}

TEST(SearchText, ParagraphsInStoredOrderEachFromItsEnd) {
    const auto text = lesson({"xab", "abyab"});
    // First paragraph text at 2..4; second at 8..12.
    const Hit first = search(text, 0, "ab");
    EXPECT_EQ(first.offset, 4);
    EXPECT_EQ(first.length, 2);
    // Resuming just below the first hit: the rest of that paragraph has none, the next
    // paragraph is searched from its last byte.
    const Hit next = search(text, 2, "ab");
    EXPECT_EQ(next.offset, 12);
    const Hit inside = search(text, 11, "ab");
    EXPECT_EQ(inside.offset, 9);
    // At the zero byte of the first paragraph: it is still searched.
    EXPECT_EQ(search(text, 5, "ab").offset, 4);
    // Past it: passed over.
    EXPECT_EQ(search(text, 6, "ab").offset, 12);
}

TEST(SearchText, NoHitAcrossParagraphsOrPastTheEnd) {
    const auto text = lesson({"xa", "by"});
    EXPECT_FALSE(search(text, 0, "ab"));
    EXPECT_FALSE(search(text, 0, "a*b"));
    EXPECT_FALSE(search(text, static_cast<uint32_t>(text.size()), "y"));
    EXPECT_FALSE(search(text, 0, ""));
}

TEST(SearchText, MalformedTextsStayInside) {
    // A record without its zero byte, a record cut after its style byte, an empty text.
    const std::vector<uint8_t> open = {0xB1, 0, 'a', 'b'};
    EXPECT_EQ(search(open, 0, "ab").offset, 3);
    const std::vector<uint8_t> cut = {0xB1};
    EXPECT_FALSE(search(cut, 0, "a"));
    EXPECT_FALSE(search_text({}, 0, bytes("a")));
    const std::vector<uint8_t> empty_paragraphs = {0xB1, 0, 0, 0xB1, 0, 0, 0};
    EXPECT_FALSE(search(empty_paragraphs, 0, "?a"));
}

TEST(SearchText, OnlyTheFirst64KiBCount) {
    std::vector<uint8_t> text = {0xB1, 0};
    text.resize(0x10010, 'x');
    text[0x10005] = 'q';
    text.push_back(0);
    EXPECT_FALSE(search(text, 0, "q"));
    text[0xFFF0] = 'q';
    const Hit hit = search(text, 0, "q");
    EXPECT_EQ(hit.offset, 0xFFF0);
}

}  // namespace
}  // namespace lekta
