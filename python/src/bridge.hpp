#pragma once
// Between the Python module and the engine: a case and the results of its case studies in plain
// C++ values, free of Python, so that the engine runs with the interpreter lock released.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarnova::python {

inline constexpr int stepCount = 50;

// Element columns in the order of the geometry file's records; orientation and kind are whole.
inline constexpr int realColumns = 12;
struct SectionColumns {
    std::array<std::vector<float>, realColumns> reals;  // frameSpacing .. y
    std::vector<std::int32_t> orientation, kind;
    std::size_t count() const { return orientation.size(); }
};

struct StudyOptions {
    std::int32_t behaviour = 3, shedding = 1, corrosion = 0;
    float tensionBlockWidth = 0, heel = 0, distortion = 0, spare = 0;  // heel in degrees
};

struct CaseData {
    std::string name = "CASE";
    std::string title, headings;
    std::array<float, 3> header{};
    SectionColumns section;
    std::vector<float> yieldStress, youngsModulus;
    std::vector<StudyOptions> studies;
};

struct StudyResult {
    int study = 0;
    StudyOptions options;
    std::array<float, stepCount> curvature{}, momentX{}, momentY{}, moment{}, axisX{}, axisY{};
    float ultimateMoment = 0, ultimateMomentX = 0, ultimateMomentY = 0, ultimateCurvature = 0,
          sectionModulus = 0;
    float area = 0, neutralAxisX = 0, neutralAxisY = 0, verticalInertia = 0, horizontalInertia = 0,
          deckModulus = 0, bottomModulus = 0, elasticMoment = 0, plasticMoment = 0,
          plasticNeutralAxis = 0;
    std::vector<float> strainRatio, stress;  // stepCount rows of the element count
    std::vector<std::string> warnings;         // notes of the run (a residual stress taken as 0)
};

// Unusable input (a value out of range, a record that cannot be read): ValueError in Python.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A file that does not exist: FileNotFoundError.
struct MissingFile : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A file that cannot be opened, written or closed: OSError.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A stop of the calculation: CollapseError, with the case study and the step.
struct CollapseStop : std::runtime_error {
    CollapseStop(const std::string& message, int study, int step)
        : std::runtime_error(message), study(study), step(step) {}
    int study, step;
};

// Reads the options, geometry and properties files of the case named by `path` (any of its
// files) without running anything.
CaseData readCase(const std::string& path);
// Runs every case study of the case on up to `threads` threads (0: one per processor).
std::vector<StudyResult> runCase(const CaseData& data, int threads);
// One column of a case given per sample: `values` holds `samples` rows of the column's length.
// `column` is a section column (0 to realColumns - 1) or yieldStressColumn / youngsModulusColumn.
inline constexpr int yieldStressColumn = -1, youngsModulusColumn = -2;
struct SampledColumn {
    int column = 0;
    std::vector<float> values;
};
// What one sample's run gave: the ultimate moment of each case study, or the stop's message.
struct SampleOutcome {
    std::vector<float> ultimateMoments;
    std::string stop;  // empty when every case study ran to its end
};
// Runs the case once per sample, each with the sampled columns put in, on up to `threads`
// threads; a stop is the sample's outcome, unusable input (InputError) ends the whole call.
std::vector<SampleOutcome> runSamples(const CaseData& data, const std::vector<SampledColumn>& sampled,
                                      std::size_t samples, int threads);
// Runs the case of `path` as the calculator does, writing all its files in the case directory.
std::vector<StudyResult> runCaseFiles(const std::string& path, int threads);
// The record a format makes of the values (reals in single precision), as the files hold it.
std::string formatRecord(const std::string& format, const std::vector<double>& values,
                         const std::vector<bool>& whole);

} // namespace tarnova::python
