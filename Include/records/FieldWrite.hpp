#pragma once
// Conversion of one item into one output field, appended to a record buffer. Every field is
// right-justified in its width; a value that needs more room gives a field of asterisks.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnova::records {

// Iw (minDigits < 0) and Iw.m.
void writeInteger(std::string& record, std::int32_t value, int width, int minDigits);
// Fw.d: no digit before the point when the integer part is zero; halves away from zero.
void writeFixed(std::string& record, double value, int width, int fraction);
// Ew.d: ".ddddE+xx" (".dddd+xxx" for exponents beyond 99); halves away from zero.
void writeExponent(std::string& record, double value, int width, int significant);
// Aw (width > 0) and A (width 0) from a text of its own length.
void writeText(std::string& record, std::string_view text, int width);

// Digits of |value| rounded to `significant` digits with halves away from zero, as
// 0.d1d2...dn x 10^exponent (all zeros and exponent 0 for a zero value). `digits` receives
// exactly `significant` characters. Exposed for the tests of the rounding.
void significantDigits(double magnitude, int significant, char* digits, int& exponent);

} // namespace tarnova::records
