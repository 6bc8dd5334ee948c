// Output conversions: one table per descriptor, each entry a value and the exact field.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarnova {
namespace {

using testing::format;

struct IntegerCase {
    const char* fmt;
    std::int32_t value;
    const char* field;
};

TEST(WriteInteger, RightJustifiedWithAsterisksOnOverflow)
{
    const IntegerCase cases[] = {
        {"(I4)", 12, "  12"},        {"(I4)", -12, " -12"},     {"(I1)", 0, "0"},
        {"(I2)", 100, "**"},         {"(I2)", -10, "**"},       {"(I3)", -99, "-99"},
        {"(I2.2)", 7, "07"},         {"(I2.2)", 0, "00"},       {"(I4.3)", -7, "-007"},
        {"(I3.3)", -7, "***"},       {"(I11)", std::numeric_limits<std::int32_t>::min(), "-2147483648"},
        {"(I10)", std::numeric_limits<std::int32_t>::max(), "2147483647"},
    };
    for (const auto& c : cases) EXPECT_EQ(format(c.fmt, {c.value}, 20), std::string(c.field).substr(0, 20)) << c.fmt << " " << c.value;
}

TEST(WriteInteger, FieldWiderThanValueKeepsLeadingBlanksInsideText)
{
    FixedText seven(7);
    formatToText(seven, "(I4)", {3});
    EXPECT_EQ(seven.str(), "   3   ");
    FixedText two(2);
    formatToText(two, "(I2.2)", {5});
    EXPECT_EQ(two.str(), "05");
}

struct RealCase {
    const char* fmt;
    double value;
    const char* field;
};

TEST(WriteFixed, NoLeadingZeroAndHalvesAwayFromZero)
{
    const RealCase cases[] = {
        {"(F5.2)", 0.5, "  .50"},       {"(F6.1)", 0.0, "    .0"},      {"(F7.0)", 0.0, "     0."},
        {"(F7.0)", 1234.0, "  1234."},  {"(F9.2)", 0.25, "      .25"},  {"(F9.2)", -0.25, "     -.25"},
        {"(F5.2)", 0.125, "  .13"},     {"(F5.2)", -0.125, " -.13"},    {"(F5.2)", 0.375, "  .38"},
        {"(F4.0)", 2.5, "  3."},        {"(F4.0)", -2.5, " -3."},       {"(F4.0)", 0.5, "  1."},
        {"(F3.0)", 9.5, "10."},         {"(F3.1)", 9.96, "***"},        {"(F5.1)", 99.95, "100.0"},
        {"(F5.2)", -0.004, "  .00"},    {"(F5.2)", -0.0, "  .00"},      {"(F4.0)", -0.4, "  0."},
        {"(F10.4)", 1.00005, "    1.0001"},  // stored just above the half
        {"(F6.3)", 0.0045, "  .004"},        // stored just below the half
        {"(F10.1)", -1234567.75, "-1234567.8"}, {"(F9.1)", -1234567.75, "*********"},
        {"(F10.3)", 1e30, "**********"},      {"(F6.3)", 1e-30, "  .000"},
    };
    for (const auto& c : cases) EXPECT_EQ(format(c.fmt, {c.value}, 20), std::string(c.field)) << c.fmt << " " << c.value;
}

TEST(WriteFixed, FloatItemsUseTheirOwnValue)
{
    // 0.1f is 0.100000001490116..., 2.675f is 2.6749999523...: no tie after widening.
    EXPECT_EQ(format("(F12.9)", {0.1f}), "  .100000001");
    EXPECT_EQ(format("(F5.2)", {2.675f}), " 2.67");
    EXPECT_EQ(format("(F5.2)", {2.625f}), " 2.63");   // exact tie in float
}

TEST(WriteExponent, PointFirstAndThreeDigitExponentsDropTheLetter)
{
    const RealCase cases[] = {
        {"(E9.3)", 123.4, " .123E+03"},     {"(E9.3)", -123.4, "-.123E+03"},  {"(E9.3)", 0.0, " .000E+00"},
        {"(E9.3)", -0.0, " .000E+00"},      {"(E11.5)", 1.5e-7, " .15000E-06"}, {"(E9.2)", 0.125, "  .13E+00"},
        {"(E9.4)", 12345.0, ".1235E+05"},   {"(E9.3)", 999.5, " .100E+04"},   {"(E9.3)", 0.9995, " .100E+01"},
        {"(E10.3)", 1.5e200, "  .150+201"}, {"(E10.3)", -1.5e-200, " -.150-199"}, {"(E9.3)", 1.0, " .100E+01"},
        {"(E8.3)", -1.0, "********"},       {"(E15.6)", 6.02214076e23, "    .602214E+24"},
        {"(E12.4)", 4.9e-324, "   .4941-323"},
    };
    for (const auto& c : cases) EXPECT_EQ(format(c.fmt, {c.value}, 20), std::string(c.field)) << c.fmt << " " << c.value;
}

TEST(WriteReal, InfinityAndNanAreNamedNotInvented)
{
    double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(format("(F10.2)", {inf}), "  Infinity");
    EXPECT_EQ(format("(F5.2)", {-inf}), " -Inf");
    EXPECT_EQ(format("(E9.3)", {std::nan("")}), "      NaN");
}

TEST(WriteText, WidthPadsOnTheLeftOrCutsOnTheRight)
{
    EXPECT_EQ(format("(A6)", {"abc"}), "   abc");
    EXPECT_EQ(format("(A2)", {"abc"}), "ab");
    EXPECT_EQ(format("(A)", {FixedText(5, "ab")}) + "|", "ab|");   // trailing blanks trimmed by the helper
    FixedText t(8);
    formatToText(t, "(A,'|')", {FixedText(5, "ab")});
    EXPECT_EQ(t.str(), "ab   |  ");
}

TEST(WriteListForm, LeadingBlankElevenColumnIntegersAndTextUnchanged)
{
    testing::ScratchDirectory dir("list");
    openUnit(3, "list.txt");
    writeListRecord(3, {"AREA OF ELEMENT N.", 5, " IS NUL"});
    writeListRecord(3, {1, -2, "x", 3});
    writeListRecord(3);
    closeUnit(3);
    EXPECT_EQ(testing::fileBytes("list.txt"),
              " AREA OF ELEMENT N.          5 IS NUL\r\n"
              "           1          -2x          3\r\n"
              " \r\n");
}

} // namespace
} // namespace tarnova
