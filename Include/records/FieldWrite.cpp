// Output conversions. The real conversions must round halves away from zero on the exact value
// of the binary number. std::to_chars gives the exactly rounded decimal text but breaks exact
// ties to even, so a tie is detected from the binary value itself and rounded here: a binary
// number with k fraction bits has exactly k fraction digits in decimal, the last one a 5. Most
// E fields take a shortcut in extended precision that leaves anything near a half to that path.

#include "records/FieldWrite.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace tarnova::records {

namespace {

// Longest fixed text of a double: 309 integer digits, the point and up to 255 fraction digits.
constexpr int fixedBufferSize = 640;
// Exact decimal expansion of any double: 309 integer digits or up to 1074 fraction digits.
constexpr int exactBufferSize = 1500;
// Sign, point, up to 255 digits and the exponent.
constexpr int maxDigitsText = 270;
// Sign and up to 255 digits of Iw.m.
constexpr int maxNumericWidthText = 260;

void appendField(std::string& record, const char* text, std::size_t length, int width)
{
    std::size_t w = static_cast<std::size_t>(width);
    if (length > w) {
        record.append(w, '*');
    } else {
        record.append(w - length, ' ');
        record.append(text, length);
    }
}

// Number of binary digits after the point in a finite, non-negative value (0 for integers).
int fractionBits(double magnitude)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent;   // magnitude = mantissa x 2^exponent
    if (biased == 0) {
        exponent = -1074;
    } else {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    if (mantissa == 0) return 0;
    exponent += std::countr_zero(mantissa);
    return exponent < 0 ? -exponent : 0;
}

// Adds one unit in the last place of the decimal text [first, last) (digits and at most one
// point). Returns true when the carry runs out of the first digit.
bool incrementDecimal(char* first, char* last)
{
    for (char* p = last; p != first;) {
        --p;
        if (*p == '.') continue;
        if (*p == '9') {
            *p = '0';
        } else {
            ++*p;
            return false;
        }
    }
    return true;
}

void writeSpecial(std::string& record, double value, int width)
{
    bool negative = std::signbit(value);
    const char* text = std::isnan(value) ? "NaN" : negative ? "-Infinity" : "Infinity";
    std::size_t length = std::strlen(text);
    if (!std::isnan(value) && length > static_cast<std::size_t>(width)) {
        text = negative ? "-Inf" : "Inf";
        length = std::strlen(text);
    }
    appendField(record, text, length, width);
}

// Exact significant digits of a finite positive value and its exponent (0.ddd x 10^exponent),
// rounded to `significant` digits with halves away from zero.
void exactSignificantDigits(double magnitude, int fractionBitCount, int significant, char* digits, int& exponent)
{
    char text[exactBufferSize];
    char* end;
    if (fractionBitCount > 0) {
        end = std::to_chars(text, text + exactBufferSize, magnitude, std::chars_format::fixed, fractionBitCount).ptr;
    } else if (magnitude < 18446744073709551616.0) {
        end = std::to_chars(text, text + exactBufferSize, static_cast<std::uint64_t>(magnitude)).ptr;
    } else {
        end = std::to_chars(text, text + exactBufferSize, magnitude, std::chars_format::fixed, 0).ptr;
    }
    // Exponent: the digits between the first significant digit and the point, or minus the
    // zeros between the point and the first significant digit.
    char* point = std::find(text, end, '.');
    char* first = text;
    while (first < end && (*first == '0' || *first == '.')) ++first;
    exponent = first < point ? static_cast<int>(point - first) : -static_cast<int>(first - point - 1);
    int count = 0;
    char* out = text;   // compacted in place: out never passes the reading position
    for (char* p = first; p < end; ++p) {
        if (*p != '.') out[count++] = *p;
    }
    bool roundUp = count > significant && out[significant] >= '5';
    for (int i = 0; i < significant; ++i) digits[i] = i < count ? out[i] : '0';
    if (roundUp && incrementDecimal(digits, digits + significant)) {
        digits[0] = '1';
        ++exponent;
    }
}


// Powers of ten held exactly in an 80-bit long double (5^27 < 2^64).
constexpr int maxExactPower = 27;
constexpr auto exactPowersOfTen = [] {
    std::array<long double, maxExactPower + 1> powers{};
    long double p = 1.0L;
    for (long double& power : powers) {
        power = p;
        p *= 10.0L;
    }
    return powers;
}();

// floor(x) of 0 <= x < 2^62 as a whole number, and x less it (exact). llrint rounds in the
// current mode without touching the x87 control word, as floor and a cast to an integer would
// (each a serialising instruction pair, the larger part of writing a number); a whole number
// within 1 of x is enough, the step down below gives the floor in any rounding mode.
struct SplitValue {
    std::uint64_t whole;
    long double fraction;
};
SplitValue splitWhole(long double x)
{
    long long n = std::llrintl(x);
    if (static_cast<long double>(n) > x) --n;
    return {static_cast<std::uint64_t>(n), x - static_cast<long double>(n)};
}

// floor(log10(magnitude)) of a finite positive value, or one less: from the binary exponent
// (magnitude in [2^b, 2^(b+1)) puts log10 in [b log10(2), (b+1) log10(2)), a span under 1).
int decimalExponentEstimate(double magnitude)
{
    const int biased = static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff);
    if (biased == 0) return static_cast<int>(std::floor(std::log10(magnitude)));   // subnormal
    return static_cast<int>(std::floor(static_cast<double>(biased - 1023) * 0.30102999566398120));
}

// Powers of ten held exactly in a double (5^22 < 2^53).
constexpr int maxExactDoublePower = 22;
constexpr auto exactDoublePowersOfTen = [] {
    std::array<double, maxExactDoublePower + 1> powers{};
    double p = 1.0;
    for (double& power : powers) {
        power = p;
        p *= 10.0;
    }
    return powers;
}();

// The commonest case of significantDigits (up to 15 digits, exponents within 10^22 of them) in
// double precision, several times faster than extended precision: one rounding, relative error at
// most 2^-53, so a value further than 2^-50 (relative) from a half rounds as the exact one would.
// Returns false, deciding nothing, otherwise.
bool doubleSignificantDigits(double magnitude, int significant, char* digits, int& exponent)
{
    if (significant > 15) return false;
    const double lower = exactDoublePowersOfTen[static_cast<std::size_t>(significant - 1)];
    const double upper = lower * 10.0;
    int e10 = decimalExponentEstimate(magnitude);   // may be one off
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = significant - 1 - e10;
        if (k > maxExactDoublePower || k < -maxExactDoublePower) return false;
        const double power = exactDoublePowersOfTen[static_cast<std::size_t>(k < 0 ? -k : k)];
        const double scaled = k >= 0 ? magnitude * power : magnitude / power;
        if (scaled < lower) {
            --e10;
            continue;
        }
        if (scaled >= upper) {
            ++e10;
            continue;
        }
        const auto whole = static_cast<std::uint64_t>(scaled);   // below 10^15: exact floor
        const double fraction = scaled - static_cast<double>(whole);   // exact
        if (std::fabs(fraction - 0.5) <= scaled * 0x1p-50) return false;
        std::uint64_t n = whole + (fraction > 0.5 ? 1u : 0u);
        if (static_cast<double>(n) == upper) {   // 999.6 rounds to 1000: one more digit
            n /= 10;
            ++e10;
        }
        for (int i = significant - 1; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + n % 10);
            n /= 10;
        }
        exponent = e10 + 1;
        return true;
    }
    return false;
}

// The usual case of significantDigits, without text conversion: the value is scaled by a power
// of ten in extended precision (one rounding, relative error at most 2^-64) and rounded to
// `significant` digits. Returns false, deciding nothing, when the scaled value lies too near a
// half to be sure of the rounding (exact ties among them), or when the scale is out of reach.
bool fastSignificantDigits(double magnitude, int significant, char* digits, int& exponent)
{
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        if (significant > 17) return false;
        const long double lower = exactPowersOfTen[static_cast<std::size_t>(significant - 1)];
        const long double upper = lower * 10.0L;
        int e10 = decimalExponentEstimate(magnitude);   // may be one off
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int k = significant - 1 - e10;
            if (k > maxExactPower || k < -maxExactPower) return false;
            const long double power = exactPowersOfTen[static_cast<std::size_t>(k < 0 ? -k : k)];
            const long double scaled = k >= 0 ? static_cast<long double>(magnitude) * power
                                              : static_cast<long double>(magnitude) / power;
            if (scaled < lower) {
                --e10;
                continue;
            }
            if (scaled >= upper) {
                ++e10;
                continue;
            }
            const auto [whole, fraction] = splitWhole(scaled);
            if (std::fabs(fraction - 0.5L) <= scaled * 0x1p-60L) return false;
            std::uint64_t n = whole + (fraction > 0.5L ? 1u : 0u);
            if (static_cast<long double>(n) == upper) {   // 999.6 rounds to 1000: one more digit
                n /= 10;
                ++e10;
            }
            for (int i = significant - 1; i >= 0; --i) {
                digits[i] = static_cast<char>('0' + n % 10);
                n /= 10;
            }
            exponent = e10 + 1;
            return true;
        }
        return false;
    }
}

// The usual case of writeFixed: the value times 10^fraction rounded to a whole number with halves
// away from zero, first in double precision (power exact up to 10^22, one rounding, relative error
// at most 2^-53), then in extended precision (2^-64). False, deciding nothing, when the scaled
// value lies too near a half to be sure of the rounding (exact ties among them) or too far out.
bool fixedUnits(double magnitude, int fraction, std::uint64_t& n)
{
    constexpr int maxFraction = 18;   // 10^18 < 2^63: the caller's powers fit in 64 bits
    if (fraction > maxFraction) return false;
    static_assert(maxFraction <= maxExactDoublePower);
    const double scaled = magnitude * exactDoublePowersOfTen[static_cast<std::size_t>(fraction)];
    if (scaled < 0x1p53) {
        const auto whole = static_cast<std::uint64_t>(scaled);   // exact floor
        const double rest = scaled - static_cast<double>(whole);   // exact
        if (std::fabs(rest - 0.5) > scaled * 0x1p-50) {
            n = whole + (rest > 0.5 ? 1u : 0u);
            return true;
        }
    }
    if constexpr (std::numeric_limits<long double>::digits < 64) {
        return false;
    } else {
        const long double extended = static_cast<long double>(magnitude) * exactPowersOfTen[static_cast<std::size_t>(fraction)];
        if (!(extended < 0x1p62L)) return false;
        const auto [whole, rest] = splitWhole(extended);
        if (std::fabs(rest - 0.5L) <= extended * 0x1p-60L) return false;
        n = whole + (rest > 0.5L ? 1u : 0u);
        return true;
    }
}

// writeFixed's usual case: the text of the rounded value as to_chars writes the fixed text ("0.50",
// "12" without fraction digits). Returns its end at `first`, or nullptr as fixedUnits.
char* fastFixedText(double magnitude, int fraction, char* first)
{
    std::uint64_t n = 0;
    if (!fixedUnits(magnitude, fraction, n)) return nullptr;
    std::uint64_t power = 1;
    for (int i = 0; i < fraction; ++i) power *= 10;
    char* p = std::to_chars(first, first + 20, n / power).ptr;
    if (fraction > 0) {
        *p++ = '.';
        std::uint64_t digits = n % power;
        for (int i = fraction - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + digits % 10);
            digits /= 10;
        }
        p += fraction;
    }
    return p;
}

} // namespace

void significantDigits(double magnitude, int significant, char* digits, int& exponent)
{
    if (magnitude == 0.0) {
        std::memset(digits, '0', static_cast<std::size_t>(significant));
        exponent = 0;
        return;
    }
    if (doubleSignificantDigits(magnitude, significant, digits, exponent)) return;
    if (fastSignificantDigits(magnitude, significant, digits, exponent)) return;
    // Correctly rounded, ties to even: "d.ddde+xx".
    char text[fixedBufferSize];
    char* end = std::to_chars(text, text + fixedBufferSize, magnitude, std::chars_format::scientific, significant - 1).ptr;
    char* e = std::find(text, end, 'e');
    int scientificExponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, scientificExponent);
    int fastExponent = scientificExponent + 1;
    // A tie has exactly significant+1 significant digits. With k fraction bits the exact value
    // has k + exponent of them; the exponent above may be one too high after a carry.
    int k = fractionBits(magnitude);
    bool maybeTie = k > 0 ? (k + fastExponent == significant + 1 || k + fastExponent - 1 == significant + 1) : true;
    if (maybeTie) {
        exactSignificantDigits(magnitude, k, significant, digits, exponent);
        return;
    }
    int count = 0;
    for (char* p = text; p < e; ++p) {
        if (*p != '.') digits[count++] = *p;
    }
    exponent = fastExponent;
}

void writeInteger(std::string& record, std::int32_t value, int width, int minDigits)
{
    char text[maxNumericWidthText];
    char* p = text;
    std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    if (value < 0) *p++ = '-';
    char digits[12];
    char* digitsEnd = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    int digitCount = static_cast<int>(digitsEnd - digits);
    if (minDigits == 0 && value == 0) {
        record.append(static_cast<std::size_t>(width), ' ');   // Iw.0 writes nothing for zero
        return;
    }
    if (minDigits > width) minDigits = width;   // the parser keeps m <= w; never overrun text
    for (int i = digitCount; i < minDigits; ++i) *p++ = '0';
    std::memcpy(p, digits, static_cast<std::size_t>(digitCount));
    p += digitCount;
    appendField(record, text, static_cast<std::size_t>(p - text), width);
}

void writeFixed(std::string& record, double value, int width, int fraction)
{
    if (!std::isfinite(value)) {
        writeSpecial(record, value, width);
        return;
    }
    bool negative = std::signbit(value);
    double magnitude = std::fabs(value);
    // Integer digits alone wider than the field: asterisks without converting.
    if (magnitude >= 1e17 && width <= 17) {
        record.append(static_cast<std::size_t>(width), '*');
        return;
    }
    char buffer[fixedBufferSize];
    char* first = buffer + 1;   // room for a carry digit
    char* last = fastFixedText(magnitude, fraction, first);
    if (last == nullptr) {
        if (fractionBits(magnitude) == fraction + 1) {
            // Exact tie: one more digit is exact and ends in 5; drop it and round away from zero.
            last = std::to_chars(first, buffer + fixedBufferSize, magnitude, std::chars_format::fixed, fraction + 1).ptr;
            --last;
            if (fraction == 0) --last;   // the point
            if (incrementDecimal(first, last)) *--first = '1';
        } else {
            last = std::to_chars(first, buffer + fixedBufferSize, magnitude, std::chars_format::fixed, fraction).ptr;
        }
    }
    char* point = fraction > 0 ? last - fraction - 1 : last;
    bool integerZero = (point - first == 1 && *first == '0');
    bool allZero = integerZero;
    for (char* p = point + 1; allZero && p < last; ++p) allZero = *p == '0';

    char text[fixedBufferSize + 2];
    char* t = text;
    if (negative && !allZero) *t++ = '-';
    if (!integerZero || fraction == 0) {
        std::size_t n = static_cast<std::size_t>(point - first);
        std::memcpy(t, first, n);
        t += n;
    }
    *t++ = '.';
    if (fraction > 0) {
        std::size_t n = static_cast<std::size_t>(fraction);
        std::memcpy(t, point + 1, n);
        t += n;
    }
    appendField(record, text, static_cast<std::size_t>(t - text), width);
}

void writeExponent(std::string& record, double value, int width, int significant)
{
    if (!std::isfinite(value)) {
        writeSpecial(record, value, width);
        return;
    }
    bool negative = std::signbit(value) && value != 0.0;
    // Cannot fit: skip the conversion.
    if (significant + 5 + (negative ? 1 : 0) > width) {
        record.append(static_cast<std::size_t>(width), '*');
        return;
    }
    char text[maxDigitsText];
    char* t = text;
    if (negative) *t++ = '-';
    *t++ = '.';
    int exponent = 0;
    significantDigits(std::fabs(value), significant, t, exponent);
    t += significant;
    int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude <= 99) {
        *t++ = 'E';
        *t++ = exponent < 0 ? '-' : '+';
    } else {
        *t++ = exponent < 0 ? '-' : '+';
        *t++ = static_cast<char>('0' + magnitude / 100);
    }
    *t++ = static_cast<char>('0' + magnitude / 10 % 10);
    *t++ = static_cast<char>('0' + magnitude % 10);
    appendField(record, text, static_cast<std::size_t>(t - text), width);
}

void writeText(std::string& record, std::string_view text, int width)
{
    if (width <= 0) {
        record.append(text);
        return;
    }
    std::size_t w = static_cast<std::size_t>(width);
    if (w > text.size()) {
        record.append(w - text.size(), ' ');
        record.append(text);
    } else {
        record.append(text.substr(0, w));
    }
}

} // namespace tarnova::records
