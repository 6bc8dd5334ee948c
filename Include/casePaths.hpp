#pragma once
// Case directory and case name from the path of one of the case's files.

#include "Utilitar.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace tarnova {

inline constexpr std::size_t caseNameLength = 8;

struct CaseLocation {
    std::string directory;   // empty when the path names no directory
    std::string caseName;    // at most caseNameLength characters, letter case kept
};

// "/" and "\" both separate directories; the last of either ends the directory. The case name
// is what follows it up to the trimmed end less the 4-character extension (".ana", ".teA"; a
// name without one is kept whole),
// cut to 8 characters and trimmed. The directory is never cut: a long path must not send the run
// elsewhere. A separator in the first position names the root directory. Backslashes in the
// directory are turned into "/" so that a path written with either separator reaches the same
// directory.
inline CaseLocation locateCase(std::string_view casePath)
{
    PathParts parts = splitPath(casePath);
    CaseLocation location;
    location.directory = std::move(parts.directory);
    const std::string_view name = parts.fileName;
    // A name without the 4-character extension ("TANKER") is the case name whole, not cut to "TA".
    const bool extension = name.size() >= 4 && name[name.size() - 4] == '.';
    if (!name.empty()) {
        const std::size_t stem = extension ? name.size() - 4 : name.size();
        location.caseName = std::string(name.substr(0, std::min(stem, caseNameLength)));
        // Only the trimmed name builds file names: a blank left at the cut is no part of it.
        while (!location.caseName.empty() && location.caseName.back() == ' ')
            location.caseName.pop_back();
    }
    return location;
}

// The element curve file of case study k (from 1): the case name, ".te" and the letter with code
// 64 + k ("A" for the first, "B" for the second, ... "[" for the 27th).
inline std::string curveFileName(std::string_view caseName, int k)
{
    return std::string(caseName) + ".te" + static_cast<char>(64 + k);
}

} // namespace tarnova
