#include "resultsFileNames.hpp"

namespace tarnova {

namespace {

// "3 (C)": the number and the letter of its element curve file.
std::string caseStudyName(int caseStudy)
{
    return std::to_string(caseStudy) + " (" + static_cast<char>(64 + caseStudy) + ")";
}

} // namespace

std::string ResultsFileNames::note(int caseStudy, std::string_view fileName)
{
    auto [entry, fresh] = writer_.try_emplace(std::string(fileName), caseStudy);
    if (fresh) return {};
    const int earlier = entry->second;
    entry->second = caseStudy;
    return "Warning: case studies " + caseStudyName(earlier) + " and " + caseStudyName(caseStudy) +
           " share the case results file " + std::string(fileName) + "; it now holds case study " +
           caseStudyName(caseStudy) + " only.";
}

} // namespace tarnova
