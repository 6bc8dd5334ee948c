#pragma once
// Utilitar: the exit request flag and its menu handler, small text and number routines, and the
// scaling of the nominal 640 x 480 screen layout to the real pane.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnova {

// 0 = no request, 1 = the user chose "E&xit". Written on the window's thread, read by the
// program's loops.
extern std::atomic<std::int32_t> exitRequested;

// Sets exitRequested to 0.
void resetRequests();
// Menu handler of "E&xit": sets exitRequested to 1 and wakes waitForExitRequest.
void exitHandler(bool checked);
// Blocks (without spinning) until exitRequested is set or `stopWaiting` wakes it; returns
// exitRequested != 0.
bool waitForExitRequest();
// Wakes waitForExitRequest without setting the flag (the headless backend's input has ended).
void stopWaitingForExit();

struct ParsedInteger {
    std::int32_t value = 0;
    bool ok = false;
};
// Signed decimal integer over the trimmed text; leading blanks, inner blanks and stray signs are
// refused.
ParsedInteger textToInteger(std::string_view text);

// A case file's path split at its last separator; "/" and "\" both separate directories.
struct PathParts {
    // Empty when the path names no directory; "/" for a separator in first place. Backslashes
    // are turned into "/", so a path written with either separator reaches the same directory.
    // Never cut: a cut path would send a program to another directory.
    std::string directory;
    std::string fileName;   // what follows the separator, up to the trimmed end
};
PathParts splitPath(std::string_view path);

// True when the path (trailing blanks ignored) names a directory.
bool isDirectory(std::string_view path);

// Upper case of "a".."z" and of four accented letters of the single-byte code page.
char upperCaseChar(char c);

// Position (from 1) of the first non-blank character.
int firstNonBlank(std::string_view text);

// k x H / 479 and k x W / 639, in double precision.
double scaleToHeight(std::int16_t k, std::int16_t paneHeight);
double scaleToWidth(std::int16_t k, std::int16_t paneWidth);

// (value - lower) x span / (upper - lower) + offset.
double mapLinear(double value, double upper, double lower, std::int16_t span, std::int16_t offset);

// Number of scale divisions for a range a and a step b.
std::int16_t divisionCount(double a, double b);

// Smallest and largest of the first n values.
template <typename Real>
void rangeOfValues(const Real* values, int n, Real& smallest, Real& largest)
{
    smallest = values[0];
    largest = values[0];
    for (int i = 1; i < n; ++i) {
        if (values[i] < smallest) smallest = values[i];
        if (values[i] > largest) largest = values[i];
    }
}

// Second moment of a rectangle about its own centroid: depth^3 x width / 12. The cube is a real
// power (one rounding), not two products: the products differ in the last bit for one depth in
// five (1.7 mm, 2.3 mm, ...).
inline float rectangleInertia(float depth, float width)
{
    return std::pow(depth, 3.0f) * width / 12.0f;
}

} // namespace tarnova
