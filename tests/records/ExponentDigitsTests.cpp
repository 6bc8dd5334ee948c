// Significant digits of E fields against the exact decimal expansion printed by the C library
// (which prints exact digits, however many are asked for), rounded here with halves away from
// zero. Covers the double and extended-precision shortcuts and their fall-back near halves.

#include "records/FieldWrite.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace tarnova::records {
namespace {

// Digits and exponent (0.ddd x 10^exponent) of a positive value rounded to `significant` digits.
std::string referenceDigits(double magnitude, int significant)
{
    char text[200];
    std::snprintf(text, sizeof text, "%.120e", magnitude);   // d.ddd...e+xx, 121 digits
    std::string digits;
    const char* p = text;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits += *p;
    int exponent = std::atoi(p + 1) + 1;
    std::string kept = digits.substr(0, static_cast<std::size_t>(significant));
    if (digits[static_cast<std::size_t>(significant)] >= '5') {
        int i = significant - 1;
        for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i) kept[static_cast<std::size_t>(i)] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    return kept + " e" + std::to_string(exponent);
}

std::string engineDigits(double magnitude, int significant)
{
    char digits[32];
    int exponent = 0;
    significantDigits(magnitude, significant, digits, exponent);
    return std::string(digits, static_cast<std::size_t>(significant)) + " e" + std::to_string(exponent);
}

TEST(ExponentDigits, RandomValuesAndNearHalvesMatchTheExactExpansion)
{
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> decade(-14.0, 14.0);
    int compared = 0;
    auto compare = [&](double v, int significant) {
        ASSERT_EQ(engineDigits(v, significant), referenceDigits(v, significant))
            << "value " << std::hexfloat << v << " with " << significant << " digits";
        ++compared;
    };
    for (int i = 0; i < 40000; ++i) {
        const int significant = 1 + static_cast<int>(random() % 15);
        const double v = std::pow(10.0, decade(random));
        compare(v, significant);
        compare(static_cast<double>(static_cast<float>(v)), significant);
        // A half at four digits, and at as many as the value was given, and their binary
        // neighbours on either side (each precision of the writer decides some of them).
        const double half = (static_cast<double>(random() % 9000 + 1000) + 0.5) *
                            std::pow(10.0, static_cast<int>(random() % 20) - 12);
        const double unit = std::pow(10.0, std::floor(std::log10(v)) - significant + 1);
        const double halfOfV = (std::floor(v / unit) + 0.5) * unit;
        for (int digits : {4, significant}) {
            const double h = digits == 4 ? half : halfOfV;
            compare(h, digits);
            compare(std::nextafter(h, 0.0), digits);
            compare(std::nextafter(h, 1e300), digits);
            compare(static_cast<double>(static_cast<float>(h)), digits);
        }
    }
    // Exact binary halves (ties go away from zero) and a carry into a new decade.
    EXPECT_EQ(engineDigits(0.125, 2), "13 e0");
    EXPECT_EQ(engineDigits(2.5, 1), "3 e1");
    EXPECT_EQ(engineDigits(999.5, 3), "100 e4");
    EXPECT_EQ(compared, 400000);
}

} // namespace
} // namespace tarnova::records
