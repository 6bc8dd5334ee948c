#include "chartScale.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdio>

namespace tarnova::flexura {

std::vector<double> AxisScale::ticks() const
{
    std::vector<double> values;
    // An axis without a pleasant step (values beyond double range) shows its two ends only.
    if (!(step > 0) || !std::isfinite(low / step) || !std::isfinite(high / step) || (high - low) / step > 1000)
        return {low, high};
    const long first = std::lround(low / step), last = std::lround(high / step);
    for (long i = first; i <= last; ++i) values.push_back(static_cast<double>(i) * step);
    return values;
}

AxisScale pleasantAxis(double smallest, double largest, int maxTicks)
{
    // A value beyond double range (a curvature of 1E308 shown per km) is held at the largest
    // double, and NaN is left out: the step search below then always ends.
    constexpr double largestDouble = std::numeric_limits<double>::max();
    const double low = std::isnan(smallest) ? 0.0 : std::clamp(std::min(0.0, smallest), -largestDouble, 0.0);
    double high = std::isnan(largest) ? 0.0 : std::clamp(std::max(0.0, largest), 0.0, largestDouble);
    if (maxTicks < 1) maxTicks = 1;
    if (high - low <= 0) high = low + 1;
    const double span = std::min(high - low, largestDouble);
    // The smallest pleasant step that needs no more than maxTicks intervals.
    double magnitude = std::pow(10.0, std::floor(std::log10(span / maxTicks)));
    AxisScale axis;
    for (;;) {
        // Past the largest double no step is pleasant: the axis runs from end to end.
        if (!std::isfinite(5.0 * magnitude)) {
            axis.low = low;
            axis.high = high;
            axis.step = span;
            return axis;
        }
        for (const double m : {1.0, 2.0, 2.5, 5.0}) {
            const double step = m * magnitude;
            const double from = std::floor(low / step + 1e-9) * step;
            const double to = std::ceil(high / step - 1e-9) * step;
            if ((to - from) / step <= maxTicks + 1e-9) {
                axis.low = from;
                axis.high = to;
                axis.step = step;
                return axis;
            }
        }
        magnitude *= 10;
    }
}

std::string tickLabel(double value, double step)
{
    int decimals = 0;
    while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    if (std::fabs(value) < step * 1e-6) value = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

EngineeringUnit momentUnit(double largest)
{
    if (std::fabs(largest) >= 1e12) return {1e12, "GN\xFAm"};
    if (std::fabs(largest) >= 1e9) return {1e9, "MN\xFAm"};
    return {1e6, "kN\xFAm"};
}

EngineeringUnit curvatureUnit(double largest)
{
    if (std::fabs(largest) * 1e6 >= 1000) return {1e-3, "1/m"};
    return {1e-6, "1/km"};
}

} // namespace tarnova::flexura
