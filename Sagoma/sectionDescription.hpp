#pragma once
// A midship section described as an engineer draws it (a ".sec" file in TOML: steels, profiles,
// strakes with their longitudinals, hard corners, case studies) and the element records that
// follow from it. Reading collects every problem of the description before anything is built,
// each naming the file, the line and the key.

#include "Calcrun.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tarnova::sagoma {

inline constexpr int maxElements = 600;   // the calculator's element table
inline constexpr int maxSteels = 5;       // property sets of the .pro file
inline constexpr int maxStudies = 99;     // the case count is written with (I2)

// One problem or warning of a description: "TANKER.sec:14: strake[2].thickness: ...".
struct Note {
    std::string file;
    int line = 0;         // from 1; 0 for the file as a whole
    std::string key;      // "strake[2].thickness"; empty for the file as a whole
    std::string what;
    std::string text() const;
};

// One element record as the description places it, in double precision so that the written
// fields are rounded once, from the exact positions.
struct PlacedElement {
    double frameSpacing = 0, plateWidth = 0, plateThickness = 0;
    double flangeWidth = 0, flangeThickness = 0, webHeight = 0, webThickness = 0;
    int propertySet = 1;
    double x = 0, y = 0;
    int orientation = 1;
    int elementKind = 3;        // 1 hard corner, 3 stiffened or bare plate
    int source = 0;             // the line of the strake or corner that placed it
};

struct Steel {
    std::string name;
    double yieldStress = 0, youngsModulus = 0;
};

// The option record of one case study.
struct Study {
    int behaviourCode = 3, sheddingCode = 1, corrosionCode = 0;
    double tensionBlockWidth = 4.5, heelAngle = 0, distortionCoefficient = 0;
};

// A run of plating as described, for the picture.
struct PlateRun {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, thickness = 0;
    int propertySet = 1;
};

struct BuiltSection {
    std::string title;
    double headerValue = 1.0, breadth = 0, depth = 0;
    std::vector<PlacedElement> elements;
    std::vector<Steel> steels;
    std::vector<Study> studies;
    std::vector<PlateRun> plating;
};

struct BuildResult {
    BuiltSection section;
    std::vector<Note> errors;      // nothing is to be written unless empty
    std::vector<Note> warnings;
    bool ok() const { return errors.empty(); }
};

// Reads the description `text`; `fileName` is what the notes name.
BuildResult buildSection(std::string_view text, std::string_view fileName);
// Reads the file at `path` (a file that cannot be read is an error of the result).
BuildResult buildSectionFile(const std::string& path);

// A stiffener given in the usual designations: "FB 250x12", "L 300x90x11/16" (web height x flange
// width x web/flange thickness), "T 400x12+150x16" (web height x thickness + flange width x
// thickness). Returns false with `problem` set when the text is none of these.
struct ProfileShape {
    double webHeight = 0, webThickness = 0, flangeWidth = 0, flangeThickness = 0;
};
bool parseProfile(std::string_view text, ProfileShape& shape, std::string& problem);

// The section as the calculator takes it in memory (the fields rounded as the files hold them).
SectionInput toSectionInput(const BuiltSection& section);

// The texts of CASE.geo, CASE.pro and CASE.ana, written by the record engine with the formats
// the calculator reads them with; records end with carriage return and line feed.
std::string geometryText(const BuiltSection& section);
std::string propertiesText(const BuiltSection& section);
std::string optionsText(const BuiltSection& section);

} // namespace tarnova::sagoma
