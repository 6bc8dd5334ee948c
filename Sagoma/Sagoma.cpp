// Sagoma, the section builder: reads a section description (CASE.sec) and writes CASE.geo,
// CASE.pro and CASE.ana beside it, each through a temporary renamed over its name, and nothing
// at all when the description has an error or a case file exists without --force.
//
//   Sagoma /ships/TANKER.sec          Sagoma --force /ships/TANKER.sec

#include "SagomaHelp.hpp"
#include "sectionDescription.hpp"
#include "sectionPicture.hpp"

#include "casePaths.hpp"
#include "replaceFile.hpp"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace tarnova::sagoma {

namespace {

constexpr int failureStatus = 1;

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int run(const std::string& descriptionPath, bool force, bool checkOnly)
{
    const BuildResult built = buildSectionFile(descriptionPath);
    for (const Note& n : built.errors) std::fprintf(stderr, "error: %s\n", n.text().c_str());
    for (const Note& n : built.warnings) std::fprintf(stderr, "warning: %s\n", n.text().c_str());
    if (!built.ok()) {
        std::fprintf(stderr, "%s: %zu error%s; no case file written\n", descriptionPath.c_str(), built.errors.size(),
                     built.errors.size() == 1 ? "" : "s");
        return failureStatus;
    }
    const BuiltSection& s = built.section;
    if (checkOnly) {
        std::printf("%s: valid, %zu elements, %zu steel%s, %zu case stud%s, %zu warning%s\n", descriptionPath.c_str(),
                    s.elements.size(), s.steels.size(), s.steels.size() == 1 ? "" : "s", s.studies.size(),
                    s.studies.size() == 1 ? "y" : "ies", built.warnings.size(), built.warnings.size() == 1 ? "" : "s");
        return 0;
    }

    const CaseLocation location = locateCase(descriptionPath);
    if (location.caseName.empty()) {
        std::fprintf(stderr, "%s: no case name in the path (CASE.sec is expected)\n", descriptionPath.c_str());
        return failureStatus;
    }
    const std::string stem = location.directory.empty() || location.directory.back() == '/'
                                 ? location.directory + location.caseName
                                 : location.directory + "/" + location.caseName;
    struct Output {
        std::string path, text;
    };
    std::vector<Output> outputs{{stem + ".geo", geometryText(s)}, {stem + ".pro", propertiesText(s)}};
    if (!s.studies.empty()) outputs.push_back({stem + ".ana", optionsText(s)});
    if (!force) {
        bool blocked = false;
        for (const Output& o : outputs)
            if (exists(o.path)) {
                std::fprintf(stderr, "%s exists: Sagoma --force replaces it\n", o.path.c_str());
                blocked = true;
            }
        if (blocked) return failureStatus;
    }
    for (const Output& o : outputs) {
        std::string reason;
        if (!replaceFile(o.path, o.text, &reason)) {
            std::fprintf(stderr, "%s could not be written: %s\n", o.path.c_str(), reason.c_str());
            return failureStatus;
        }
    }
    // The picture is Sagoma's own: it is replaced whenever the case files are.
    const Picture picture = drawSection(s);
    const std::string picturePath = stem + "_section.png";
    std::string reason;
    if (!writePicture(picturePath, picture, reason)) {
        std::fprintf(stderr, "%s could not be written: %s\n", picturePath.c_str(), reason.c_str());
        return failureStatus;
    }
    if (picture.unlabelled > 0)
        std::fprintf(stderr, "warning: %s: %d element numbers found no free place in the picture\n", picturePath.c_str(),
                     picture.unlabelled);
    std::printf("%s.geo: %zu elements; %s.pro: %zu steel%s", stem.c_str(), s.elements.size(), stem.c_str(),
                s.steels.size(), s.steels.size() == 1 ? "" : "s");
    if (!s.studies.empty())
        std::printf("; %s.ana: %zu case stud%s", stem.c_str(), s.studies.size(), s.studies.size() == 1 ? "y" : "ies");
    std::printf("; %s\n", picturePath.c_str());
    return 0;
}

} // namespace

} // namespace tarnova::sagoma

int main(int argc, char** argv)
{
    if (const auto status = tarnova::answerCommandLine(argc, argv, tarnova::sagomaHelp))
        return *status;
    bool force = false, check = false;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--force") force = true;
        else if (a == "--check") check = true;
        else paths.push_back(a);
    }
    if (paths.size() != 1) {
        std::fputs("Usage: Sagoma [--force] /path/CASE.sec\n       Sagoma --check /path/CASE.sec\n", stderr);
        return 1;
    }
    return tarnova::sagoma::run(paths[0], force, check);
}
