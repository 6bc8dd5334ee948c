#pragma once
// Case directory and case name from the path of one of the case's files.

#include <string>
#include <string_view>

namespace tarnova {

inline constexpr std::size_t caseNameLength = 8;

struct CaseLocation {
    std::string directory;   // empty when the path names no directory
    std::string caseName;    // at most caseNameLength characters, letter case kept
};

// "/" and "\" both separate directories; the last of either ends the directory. The case name
// is what follows it up to the trimmed end less the 4-character extension (".ana", ".teA"),
// cut to 8 characters and trimmed. The directory is never cut: a long path must not send the run
// elsewhere. A separator in the first position names the root directory. Backslashes in the
// directory are turned into "/" so that a path written with either separator reaches the same
// directory.
inline CaseLocation locateCase(std::string_view casePath)
{
    while (!casePath.empty() && casePath.back() == ' ')
        casePath.remove_suffix(1);
    const std::size_t separator = casePath.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;

    CaseLocation location;
    if (separator != std::string_view::npos) {
        location.directory = std::string(casePath.substr(0, separator == 0 ? 1 : separator));
        for (char& c : location.directory)
            if (c == '\\')
                c = '/';
    }
    if (casePath.size() >= nameStart + 4) {
        const std::string_view stem = casePath.substr(nameStart, casePath.size() - 4 - nameStart);
        location.caseName = std::string(stem.substr(0, caseNameLength));
        // Only the trimmed name builds file names: a blank left at the cut is no part of it.
        while (!location.caseName.empty() && location.caseName.back() == ' ')
            location.caseName.pop_back();
    }
    return location;
}

} // namespace tarnova
