#pragma once
// Conversion of one input field into one item. Blanks anywhere in a numeric field are ignored;
// an empty or all-blank numeric field is zero.

#include "records/FixedText.hpp"

#include <cstdint>
#include <string_view>

namespace tarnova::records {

enum class FieldStatus {
    ok,
    badCharacter,   // not a number of the descriptor's form
    outOfRange,     // a number beyond the range of the item
};

// Iw: an optional sign and decimal digits.
FieldStatus readInteger(std::string_view field, std::int32_t& value);
// Fw.d and Ew.d: sign, digits with at most one point, optional exponent ("E+3", "d-2", "+3");
// without a point the last `fraction` digits before the exponent are the fraction.
FieldStatus readReal(std::string_view field, int fraction, float& value);
FieldStatus readReal(std::string_view field, int fraction, double& value);
// Aw into a variable of length L: the rightmost L characters when w >= L, else the field and
// blanks. `field` is what the record holds of the field; it is read as padded with blanks to w.
void readText(std::string_view field, std::size_t width, FixedText& variable);

} // namespace tarnova::records
