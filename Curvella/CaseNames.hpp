#pragma once
// Names the viewer derives from its command-line path and from the chosen element number.

#include <string>
#include <string_view>

namespace tarnova {

inline constexpr std::size_t fileNameLength = 12;

struct CasePathParts {
    std::string directory;      // everything before the last separator ("" when there is none)
    std::string curveFileName;  // the rest, trimmed and cut to 12 characters
};
// Either "\" or "/" separates directories.
CasePathParts splitCasePath(std::string_view casePath);

// The curve file name with its last three characters replaced by "geo".
std::string geometryFileName(std::string_view curveFileName);
// The curve file name without its dot and three-letter extension.
std::string shipName(std::string_view curveFileName);

struct ExtensionCheck {
    bool passes = false;
    std::string expectedName;   // the name with "te" as the first two letters of its extension
};
// A name passes when the first letter of its extension is "T" or "t", or else when the second
// is "E" or "e".
ExtensionCheck checkExtension(std::string_view curveFileName);

// Three digits with leading zeros: 7 gives "007", 42 gives "042".
std::string elementDigits(int element);
std::string elementListingName(int element);   // "Element.007"
std::string elementImageName(int element);     // "Elem007.bmp"

} // namespace tarnova
