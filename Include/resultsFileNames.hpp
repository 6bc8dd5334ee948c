#pragma once
// The case results files of one run. Their names keep only some digits of the options, so two
// case studies can share one name and the later one rewrites the earlier one's file: the run
// says so rather than lose a study's results silently.

#include <map>
#include <string>
#include <string_view>

namespace tarnova {

class ResultsFileNames {
public:
    // Notes that case study `caseStudy` (from 1) wrote `fileName`. Returns the warning for
    // standard error when an earlier case study of the run wrote the same name, else "".
    std::string note(int caseStudy, std::string_view fileName);

private:
    std::map<std::string, int, std::less<>> writer_;   // name -> the case study that wrote it last
};

} // namespace tarnova
