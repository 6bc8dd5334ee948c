#pragma once
// Axis ranges, pleasant tick values and engineering units of the moment-curvature chart.

#include <string>
#include <vector>

namespace tarnova::flexura {

// An axis from 0 (or below, when values are negative) to a multiple of a pleasant step: 1, 2,
// 2.5 or 5 times a power of ten, chosen so that at most `maxTicks` intervals cover the values.
struct AxisScale {
    double low = 0, high = 1, step = 1;
    std::vector<double> ticks() const;
};
AxisScale pleasantAxis(double smallest, double largest, int maxTicks);

// A tick value as text: as few decimals as the step needs ("0.25", "5", "1.5").
std::string tickLabel(double value, double step);

// An engineering unit: the file's values (N.mm or 1/mm) divided by `perUnit` read in `name`.
// Names are in code page 850 (\xFA the middle dot).
struct EngineeringUnit {
    double perUnit = 1;
    std::string name;
};
// kN.m, MN.m or GN.m: the largest whose value of `largest` (N.mm) is at least 1.
EngineeringUnit momentUnit(double largest);
// 1/km, or 1/m when curvatures reach 1000/km.
EngineeringUnit curvatureUnit(double largest);

} // namespace tarnova::flexura
