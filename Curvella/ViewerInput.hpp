#pragma once
// Reading of the chosen element's history from the element curve file (unit 1) and of the
// element dimensions from the geometry file (unit 2), both open and rewound.

#include "ElementData.hpp"

namespace tarnova {

inline constexpr int curveUnit = 1;
inline constexpr int geometryUnit = 2;
inline constexpr int handOverUnit = 222;

// "nElem.txt": the element number left by the chooser; a missing or empty file is given 1.
int readChosenElement();

// The first record of the curve file: the element count.
int readElementCount();
// The positions and the 50 step blocks of data.elementCount elements (1 to maxElements).
void readCurveTables(ElementData& data);
// An element number outside 1 to elementCount shows element 1; its curve is copied out.
void selectChosenCurve(ElementData& data);
// Every element record of the geometry file; the rows beyond the table are read and dropped.
void readDimensions(ElementData& data);

} // namespace tarnova
