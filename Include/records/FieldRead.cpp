// Input conversions. A real field is reduced to its significant digits and a decimal exponent
// and converted once by std::from_chars, which rounds correctly for float and double alike.

#include "records/FieldRead.hpp"

#include <charconv>
#include <cstring>
#include <limits>

namespace tarnova::records {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Fields are at most 255 characters wide, so every digit of one fits.
constexpr int maxFieldDigits = 300;
// Exponent values beyond this give out-of-range or zero anyway; the cap keeps the sums exact.
constexpr std::int64_t exponentCap = 100000;

template <typename Real>
FieldStatus readRealOf(std::string_view field, int fraction, Real& value)
{
    // Sign, significant digits (leading zeros dropped) and the decimal exponent of their last.
    char digits[maxFieldDigits + 24];
    int digitCount = 0;
    bool negative = false;
    bool point = false;
    bool anyDigit = false;
    int fractionDigits = 0;   // digits seen after the point
    int droppedDigits = 0;    // integer digits beyond the buffer (only scale the value)
    std::int64_t exponent = 0;

    std::size_t i = 0;
    std::size_t n = field.size();
    auto skipBlanks = [&] { while (i < n && field[i] == ' ') ++i; };
    skipBlanks();
    if (i == n) {
        value = 0;
        return FieldStatus::ok;
    }
    if (field[i] == '+' || field[i] == '-') {
        negative = field[i] == '-';
        ++i;
    }
    for (; i < n; ++i) {
        char c = field[i];
        if (c == ' ') continue;
        if (isDigit(c)) {
            anyDigit = true;
            if (point) ++fractionDigits;
            if (digitCount == 0 && c == '0') continue;
            if (digitCount < maxFieldDigits) {
                digits[digitCount++] = c;
            } else if (!point) {
                ++droppedDigits;
            }
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i < n) {
        // An exponent needs digits before it ("E5" and "--1" are not numbers).
        if (!anyDigit) return FieldStatus::badCharacter;
        // Exponent: a letter E, D, e or d and an optionally signed integer, or a sign and an integer.
        char c = field[i];
        if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
            ++i;
            skipBlanks();
            if (i == n) return FieldStatus::badCharacter;
            c = field[i];
        }
        bool exponentNegative = false;
        if (c == '+' || c == '-') {
            exponentNegative = c == '-';
            ++i;
        } else if (!isDigit(c)) {
            return FieldStatus::badCharacter;
        }
        bool anyExponentDigit = false;
        for (; i < n; ++i) {
            c = field[i];
            if (c == ' ') continue;
            if (!isDigit(c)) return FieldStatus::badCharacter;
            anyExponentDigit = true;
            exponent = exponent * 10 + (c - '0');
            if (exponent > exponentCap) exponent = exponentCap;
        }
        if (!anyExponentDigit) return FieldStatus::badCharacter;
        if (exponentNegative) exponent = -exponent;
    }
    // Decimal exponent of the last stored digit.
    exponent += droppedDigits - (point ? fractionDigits : fraction);
    // No significant digit (a sign or a point alone included) reads as zero.
    if (digitCount == 0) {
        value = negative ? -Real(0) : Real(0);
        return FieldStatus::ok;
    }
    char* p = digits + digitCount;
    *p++ = 'e';
    p = std::to_chars(p, digits + sizeof digits, exponent).ptr;
    Real result{};
    auto [end, ec] = std::from_chars(digits, p, result);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Either beyond the largest value or below the smallest: only the first is an error.
        if (digitCount + exponent > 0) return FieldStatus::outOfRange;
        result = Real(0);
    } else if (ec != std::errc()) {
        return FieldStatus::badCharacter;
    }
    value = negative ? -result : result;
    return FieldStatus::ok;
}

} // namespace

FieldStatus readInteger(std::string_view field, std::int32_t& value)
{
    std::size_t i = 0;
    std::size_t n = field.size();
    while (i < n && field[i] == ' ') ++i;
    if (i == n) {
        value = 0;
        return FieldStatus::ok;
    }
    bool negative = false;
    if (field[i] == '+' || field[i] == '-') {
        negative = field[i] == '-';
        ++i;
    }
    std::int64_t magnitude = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    for (; i < n; ++i) {
        char c = field[i];
        if (c == ' ') continue;
        if (!isDigit(c)) return FieldStatus::badCharacter;
        anyDigit = true;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{1} << 32) tooLarge = true, magnitude = std::int64_t{1} << 32;
    }
    if (!anyDigit) return FieldStatus::badCharacter;
    std::int64_t v = negative ? -magnitude : magnitude;
    if (tooLarge || v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return FieldStatus::outOfRange;
    value = static_cast<std::int32_t>(v);
    return FieldStatus::ok;
}

FieldStatus readReal(std::string_view field, int fraction, float& value) { return readRealOf(field, fraction, value); }
FieldStatus readReal(std::string_view field, int fraction, double& value) { return readRealOf(field, fraction, value); }

void readText(std::string_view field, std::size_t width, FixedText& variable)
{
    std::size_t length = variable.length();
    char* out = variable.data();
    // Character k of the field padded with blanks to its width.
    auto at = [&](std::size_t k) { return k < field.size() ? field[k] : ' '; };
    if (width >= length) {
        std::size_t first = width - length;
        for (std::size_t k = 0; k < length; ++k) out[k] = at(first + k);
    } else {
        for (std::size_t k = 0; k < width; ++k) out[k] = at(k);
        std::memset(out + width, ' ', length - width);
    }
}

} // namespace tarnova::records
