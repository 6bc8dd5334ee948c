// Properties over many random values: what is written reads back to the value within the
// field's precision, and no input of any bytes upsets the format parser or the field readers.

#include "records/FieldRead.hpp"
#include "records/FieldWrite.hpp"
#include "records/Format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>

namespace tarnova::records {
namespace {

TEST(RoundTrip, ExponentFieldsWithEnoughDigitsGiveBackTheSameBits)
{
    std::mt19937_64 random(7);
    std::string field;
    for (int k = 0; k < 20000; ++k) {
        double d = std::bit_cast<double>(random());
        if (!std::isfinite(d) || d == 0.0) continue;
        field.clear();
        writeExponent(field, d, 25, 17);
        double back = 0;
        ASSERT_EQ(readReal(field, 17, back), FieldStatus::ok) << field;
        ASSERT_EQ(back, d) << field;

        float f = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(f) || f == 0.0f) continue;
        field.clear();
        writeExponent(field, f, 16, 9);
        float fb = 0;
        ASSERT_EQ(readReal(field, 9, fb), FieldStatus::ok) << field;
        ASSERT_EQ(fb, f) << field;
    }
}

TEST(RoundTrip, FixedFieldsAreWithinHalfAUnitOfTheLastDigit)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> exponent(-6.0, 8.0);
    std::string field;
    for (int k = 0; k < 20000; ++k) {
        int d = static_cast<int>(random() % 6);
        int w = 12;
        double v = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1.0 : 1.0);
        field.clear();
        writeFixed(field, v, w, d);
        ASSERT_EQ(field.size(), static_cast<std::size_t>(w));
        if (field[0] == '*') {
            ASSERT_GE(std::fabs(v), std::pow(10.0, w - d - 2) * 0.99) << v;
            continue;
        }
        double back = 0;
        ASSERT_EQ(readReal(field, d, back), FieldStatus::ok) << field;
        ASSERT_LE(std::fabs(back - v), 0.5 * std::pow(10.0, -d) * (1 + 1e-9)) << v << " [" << field << "]";
    }
}

TEST(AnyBytes, NeitherTheParserNorTheReadersFail)
{
    std::mt19937_64 random(3);
    const char alphabet[] = "()IFEAX/.,'0123456789 +-eEdD*x\t\r";
    ParsedFormat parsed;
    for (int k = 0; k < 50000; ++k) {
        std::string text;
        int n = static_cast<int>(random() % 24);
        if (random() % 2) text.push_back('(');
        for (int i = 0; i < n; ++i) text.push_back(alphabet[random() % (sizeof alphabet - 1)]);
        const char* problem = nullptr;
        std::size_t at = 0;
        if (parseFormat(text, parsed, problem, at)) {
            EXPECT_LE(parsed.text.size(), text.size());
            EXPECT_EQ(parsed.text.front(), '(');
            EXPECT_EQ(parsed.text.back(), ')');
        } else {
            EXPECT_NE(problem, nullptr);
            EXPECT_LE(at, text.size());
        }
        double d = 0;
        float f = 0;
        std::int32_t i = 0;
        (void)readReal(text, static_cast<int>(random() % 6), d);
        (void)readReal(text, static_cast<int>(random() % 6), f);
        (void)readInteger(text, i);
    }
}

} // namespace
} // namespace tarnova::records
