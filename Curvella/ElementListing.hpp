#pragma once
// The element listing "Element.NNN": the banner, the ship name, the 50 points of the curve, the
// element number and its seven dimensions; the ultimate values are appended by the data panel.

#include "ElementData.hpp"

#include <string_view>

namespace tarnova {

inline constexpr int listingUnit = 333;

// Opens unit 333 on the listing of the chosen element (rewound, so an older one is replaced)
// and writes its records up to the dimensions.
void writeListingHead(const ElementData& data, std::string_view shipName);
// An empty record and "Ultimate stress : " with the value.
void writeUltimateStress(double stress);
// "Ultimate strain : " with the value.
void writeUltimateStrain(double strainRatio);

} // namespace tarnova
