// Input conversions and the format control of read statements.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarnova {
namespace {

using testing::putFile;

class ReadFields : public ::testing::Test {
protected:
    testing::ScratchDirectory dir{"read"};
    testing::CatchRecordErrors errors;

    // Opens a file holding `bytes` on unit 21.
    void given(const std::string& bytes)
    {
        closeUnit(21);
        putFile("in.txt", bytes);
        openUnit(21, "in.txt");
    }
};

TEST_F(ReadFields, MixedRecordWithImpliedDecimals)
{
    // 1, 0, 1 in columns 2, 4, 6; 2.5 in 8-10; 10.0 in 12-15; 15 in 18-19; 30 in 22-23.
    given(" 1 0 1 2.5 10.0  15  30\r\n");
    std::int32_t a = -1, b = -1, c = -1;
    float x = -1, y = -1, z = -1, w = -1;
    readRecords(21, "(3I2,F5.2,F5.1,F5.4,F4.0)", {a, b, c, x, y, z, w});
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 1);
    EXPECT_EQ(x, 2.5f);
    EXPECT_EQ(y, 10.0f);
    EXPECT_EQ(z, 0.0015f);
    EXPECT_EQ(w, 30.0f);
}

TEST_F(ReadFields, ShortRecordReadsAsBlankPadded)
{
    given("   12.5   7.25123456\n");   // 20 characters
    float v[12];
    std::int32_t i1 = -1, i2 = -1;
    readRecords(21, "(7F7.1,F3.0,2F4.2,2F9.1,2I2)", {std::span<float>(v, 12), i1, i2});
    EXPECT_EQ(v[0], 12.5f);
    EXPECT_EQ(v[1], 7.25f);
    EXPECT_FLOAT_EQ(v[2], 12345.6f);   // the last 6 characters, no point: one decimal implied
    for (int k = 3; k < 12; ++k) EXPECT_EQ(v[k], 0.0f) << k;
    EXPECT_EQ(i1, 0);
    EXPECT_EQ(i2, 0);
}

struct RealField {
    const char* fmt;
    const char* field;
    double value;
};

TEST_F(ReadFields, RealFieldForms)
{
    const RealField cases[] = {
        {"(F5.4)", "   15", 0.0015},  {"(F4.0)", "  45", 45.0},     {"(F10.1)", "      1234", 123.4},
        {"(F5.4)", "  1.5", 1.5},     {"(F9.3)", "    1.5+3", 1500.0}, {"(F9.3)", "   1.5E-3", 0.0015},
        {"(F9.3)", "   1.5d02", 150.0}, {"(F9.3)", "  -1.5e+2", -150.0}, {"(F8.2)", "   -.5  ", -0.5},
        {"(F8.2)", "  1 2 3 ", 1.23}, {"(F8.2)", "        ", 0.0},  {"(E9.3)", ".123E+03", 123.0},
        {"(E9.3)", "  123-2  ", 0.00123}, {"(F6.1)", "  +5. ", 5.0}, {"(F6.2)", "1e-400", 0.0},
        {"(F5.1)", "  -  ", 0.0},     {"(F5.1)", "  .  ", 0.0},
    };
    for (const auto& c : cases) {
        given(std::string(c.field) + "\r\n");
        double d = -99;
        readRecords(21, c.fmt, {d});
        EXPECT_DOUBLE_EQ(d, c.value) << c.fmt << " [" << c.field << "]";
    }
}

TEST_F(ReadFields, IntegerFieldsIgnoreBlanks)
{
    given("    \r\n 1 2\r\n  -7\r\n+003\r\n");
    std::int32_t v[4] = {-1, -1, -1, -1};
    for (auto& x : v) readRecords(21, "(I4)", {x});
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 12);
    EXPECT_EQ(v[2], -7);
    EXPECT_EQ(v[3], 3);
}

TEST_F(ReadFields, TextWidthRules)
{
    given("abcdefghij\r\nxy\r\nHEADER LINE\r\n");
    FixedText four(4), twelve(12), line(80);
    readRecords(21, "(A10)", {four});     // rightmost 4 of the field
    EXPECT_EQ(four.str(), "ghij");
    readRecords(21, "(A3)", {twelve});    // field (padded) then blanks
    EXPECT_EQ(twelve.str(), "xy          ");
    readRecords(21, "(A80)", {line});
    EXPECT_EQ(line.trimmed(), "HEADER LINE");
    EXPECT_EQ(line.length(), 80u);
}

TEST_F(ReadFields, ReversionReadsFurtherRecordsAndSkipsRemainders)
{
    std::string bytes;
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < (r < 2 ? 10 : 5); ++k) bytes += " .100E+01";
        bytes += "\r\n";
    }
    bytes += "   42 and the rest\r\n    7\r\n";
    given(bytes);
    std::vector<float> v(25, 0.0f);
    readRecords(21, "(10E9.3)", {std::span<float>(v)});
    for (float x : v) EXPECT_EQ(x, 1.0f);
    std::int32_t n = 0;
    readRecords(21, "(I5)", {n});
    EXPECT_EQ(n, 42);
    readRecords(21, "(I5)", {n});   // the rest of the previous record was passed over
    EXPECT_EQ(n, 7);
    EXPECT_TRUE(atEndOfUnit(21));
}

TEST_F(ReadFields, SkipAndRecordEndOnInput)
{
    given("ab 12\r\nskipped\r\n 34\r\n");
    std::int32_t a = 0, b = 0;
    readRecords(21, "(3X,I2,/,/,I3)", {a, b});
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 34);
}

TEST_F(ReadFields, DoublesKeepFullPrecision)
{
    given("0.1000000000000000055511151231257827\r\n");
    double d = 0;
    readRecords(21, "(F40.0)", {d});
    EXPECT_EQ(d, 0.1);
}

} // namespace
} // namespace tarnova
