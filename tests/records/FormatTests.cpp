// The parsed description of a format: extent, repeat counts and literals.

#include "records/Format.hpp"

#include <gtest/gtest.h>

namespace tarnova::records {
namespace {

ParsedFormat parsed(std::string_view text)
{
    ParsedFormat f;
    const char* problem = nullptr;
    std::size_t at = 0;
    EXPECT_TRUE(parseFormat(text, f, problem, at)) << text << ": " << (problem ? problem : "");
    return f;
}

TEST(ParseFormat, ExtentStopsAtTheMatchingParenthesis)
{
    EXPECT_EQ(parsed("(I3)(I3)(I3)(I2)").text, "(I3)");
    EXPECT_EQ(parsed("('(N.mm)',I3)(I2)").text, "('(N.mm)',I3)");
    EXPECT_EQ(parsed("  (1X, A)").count, 2);
}

TEST(ParseFormat, RepeatCountsStayCompact)
{
    ParsedFormat f = parsed("(10E9.3)");
    ASSERT_EQ(f.count, 1);
    EXPECT_EQ(f.items[0].edit, Edit::exponent);
    EXPECT_EQ(f.items[0].repeat, 10);
    EXPECT_EQ(f.items[0].width, 9);
    EXPECT_EQ(f.items[0].digits, 3);
    f = parsed("(3I2,F5.2,2X,/,A,I2.2,'x''y')");
    ASSERT_EQ(f.count, 7);
    EXPECT_EQ(f.items[0].repeat, 3);
    EXPECT_EQ(f.items[2].edit, Edit::skip);
    EXPECT_EQ(f.items[2].width, 2);
    EXPECT_EQ(f.items[3].edit, Edit::recordEnd);
    EXPECT_EQ(f.items[4].width, 0);
    EXPECT_EQ(f.items[5].digits, 2);
    EXPECT_EQ(literalText(f, f.items[6]), "x''y");
    EXPECT_TRUE(f.items[6].doubledQuotes);
}

TEST(ParseFormat, SlashNeedsNoCommasAndCaseDoesNotMatter)
{
    ParsedFormat f = parsed("(i3/f5.1//a)");
    ASSERT_EQ(f.count, 6);
    EXPECT_EQ(f.items[1].edit, Edit::recordEnd);
    EXPECT_EQ(f.items[3].edit, Edit::recordEnd);
    EXPECT_EQ(f.items[4].edit, Edit::recordEnd);
    EXPECT_EQ(f.items[5].edit, Edit::text);
}

} // namespace
} // namespace tarnova::records
